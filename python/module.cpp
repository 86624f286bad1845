// abrivo._abrivo: the Python binding of abrivo::summarise, kept thin. It
// checks and converts the arguments, releases the GIL while the engine runs
// and turns the results into Python objects. summarise_many runs records on
// C++ worker threads that never touch a Python object; the thread that
// iterates reads the records and builds the result dicts.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <abrivo/abrivo.h>

#include <atomic>
#include <climits>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace py = pybind11;

namespace {

// Exception types of the module; created once, never freed.
PyObject* invalidTextType = nullptr;
PyObject* cancelledType = nullptr;

std::string typeName(py::handle object) {
  return Py_TYPE(object.ptr())->tp_name;
}

[[noreturn]] void typeError(const std::string& name, const std::string& expected,
                            py::handle object) {
  throw py::type_error(name + " must be " + expected + ", not " + typeName(object));
}

// The UTF-8 bytes of a str. A lone surrogate, which UTF-8 cannot encode,
// stays in as the bytes "surrogatepass" gives, so that the engine reports
// it as InvalidText with its byte offset.
std::string utf8Of(py::handle text) {
  Py_ssize_t size = 0;
  if (const char* data = PyUnicode_AsUTF8AndSize(text.ptr(), &size)) return {data, size_t(size)};
  PyErr_Clear();
  const auto bytes = py::reinterpret_steal<py::object>(
      PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogatepass"));
  if (!bytes) throw py::error_already_set();
  return {PyBytes_AS_STRING(bytes.ptr()), size_t(PyBytes_GET_SIZE(bytes.ptr()))};
}

// A text argument: str, or bytes holding UTF-8.
std::string textArgument(py::handle object, const char* name) {
  if (PyUnicode_Check(object.ptr())) return utf8Of(object);
  if (PyBytes_Check(object.ptr()))
    return {PyBytes_AS_STRING(object.ptr()), size_t(PyBytes_GET_SIZE(object.ptr()))};
  typeError(name, "str or bytes", object);
}

bool isInt(py::handle object) {
  return PyLong_Check(object.ptr()) && !PyBool_Check(object.ptr());
}

bool isNumber(py::handle object) {
  return isInt(object) || PyFloat_Check(object.ptr());
}

// An int as a C int; nullopt when it is beyond the range of one.
std::optional<int> intValue(py::handle object) {
  int overflow = 0;
  const long long value = PyLong_AsLongLongAndOverflow(object.ptr(), &overflow);
  if (overflow != 0 || value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// A count of chars or sentences; abrivo::summarise checks that it is at
// least 1.
int countArgument(py::handle object, const char* name) {
  if (!isInt(object)) typeError(name, "an int or None", object);
  const std::optional<int> value = intValue(object);
  if (!value)
    throw py::value_error(std::string(name) + " must be from 1 to " + std::to_string(INT_MAX));
  return *value;
}

// The length arguments of summarise into a request. Ranges are checked by
// abrivo::summarise, which throws std::invalid_argument (ValueError).
void setLength(abrivo::Request& request, py::handle length, py::handle chars, py::handle sentences,
               py::handle ratio) {
  if (!isInt(length)) typeError("length", "an int", length);
  request.length = intValue(length).value_or(INT_MAX);  // out of range either way
  if (!chars.is_none()) request.chars = countArgument(chars, "chars");
  if (!sentences.is_none()) request.sentences = countArgument(sentences, "sentences");
  if (!ratio.is_none()) {
    if (!isNumber(ratio)) typeError("ratio", "a number or None", ratio);
    request.ratio = PyFloat_AsDouble(ratio.ptr());
    if (PyErr_Occurred()) throw py::error_already_set();  // an int too large for a float
  }
}

// ---------------------------------------------------------------- results

py::object languageOf(const abrivo::Summary& summary) {
  if (!summary.language) return py::none();
  return py::str(*summary.language == abrivo::Language::Chinese ? "zh" : "en");
}

// The keys of the result dicts, made once: a result holds a few hundred
// of them, and building results is what the thread that iterates
// summarise_many spends its time on.
struct Keys {
  py::str language{"language"}, summary{"summary"}, keywords{"keywords"},
      keywordLine{"keyword_line"}, status{"status"}, sizes{"sizes"}, article{"article"},
      terms{"terms"}, term{"term"}, weight{"weight"}, sentences{"sentences"}, text{"text"},
      rank{"rank"}, position{"position"}, selected{"selected"};
};
const Keys* keys = nullptr;  // set at import; never freed

// A new reference from the C API; null (out of memory) raises.
template <typename T>
T checked(PyObject* object) {
  if (!object) throw py::error_already_set();
  return py::reinterpret_steal<T>(object);
}

py::str text(const std::string& utf8) {
  return checked<py::str>(PyUnicode_DecodeUTF8(utf8.data(), py::ssize_t(utf8.size()), "replace"));
}

py::int_ integer(long long value) {
  return checked<py::int_>(PyLong_FromLongLong(value));
}

void set(py::dict& dict, const py::str& key, py::handle value) {
  if (!value || PyDict_SetItem(dict.ptr(), key.ptr(), value.ptr()) != 0)
    throw py::error_already_set();
}

// The fields of abrivo-cli's JSON object, in its order, added to result.
void addFields(py::dict& result, const abrivo::Summary& summary) {
  const Keys& k = *keys;
  set(result, k.language, languageOf(summary));
  set(result, k.summary, text(summary.summary));
  py::list keywords(summary.keywords.size());
  for (std::size_t i = 0; i < summary.keywords.size(); ++i)
    PyList_SET_ITEM(keywords.ptr(), py::ssize_t(i), text(summary.keywords[i]).release().ptr());
  set(result, k.keywords, keywords);
  set(result, k.keywordLine, text(summary.keywordLine));
  set(result, k.status, text(summary.status));
  py::dict sizes;
  set(sizes, k.article, integer(summary.articleSize));
  set(sizes, k.summary, integer(summary.summarySize));
  set(result, k.sizes, sizes);

  py::list terms(summary.terms.size());
  for (std::size_t i = 0; i < summary.terms.size(); ++i) {
    py::dict row;
    set(row, k.term, text(summary.terms[i].term));
    set(row, k.weight, integer(summary.terms[i].weight));
    PyList_SET_ITEM(terms.ptr(), py::ssize_t(i), row.release().ptr());
  }
  set(result, k.terms, terms);
  py::list sentences(summary.sentences.size());
  for (std::size_t i = 0; i < summary.sentences.size(); ++i) {
    const abrivo::Sentence& sentence = summary.sentences[i];
    py::dict row;
    set(row, k.text, text(sentence.text));
    set(row, k.rank, integer(sentence.rank));
    set(row, k.position, integer(sentence.position));
    set(row, k.selected, py::bool_(sentence.selected));
    PyList_SET_ITEM(sentences.ptr(), py::ssize_t(i), row.release().ptr());
  }
  set(result, k.sentences, sentences);
}

py::dict toDict(const abrivo::Summary& summary) {
  py::dict result;
  addFields(result, summary);
  return result;
}

std::string shortened(const std::string& text) {
  py::str full(text);
  if (py::len(full) <= 40) return py::repr(full);
  return py::repr(full[py::slice(0, 40, 1)]).cast<std::string>() + "...";
}

// A Summary back from its to_dict(), for pickling: Dask and
// multiprocessing send results between processes that way.
abrivo::Summary fromDict(const py::dict& d) {
  abrivo::Summary s;
  const py::object language = d["language"];
  if (!language.is_none())
    s.language = language.cast<std::string>() == "zh" ? abrivo::Language::Chinese
                                                      : abrivo::Language::English;
  s.summary = d["summary"].cast<std::string>();
  s.keywords = d["keywords"].cast<std::vector<std::string>>();
  s.keywordLine = d["keyword_line"].cast<std::string>();
  s.status = d["status"].cast<std::string>();
  const py::dict sizes = d["sizes"];
  s.articleSize = sizes["article"].cast<std::int64_t>();
  s.summarySize = sizes["summary"].cast<std::int64_t>();
  for (const py::handle row : d["terms"])
    s.terms.push_back({row["term"].cast<std::string>(), row["weight"].cast<std::int64_t>()});
  for (const py::handle row : d["sentences"])
    s.sentences.push_back({row["text"].cast<std::string>(), row["rank"].cast<int>(),
                           row["position"].cast<int>(), row["selected"].cast<bool>()});
  return s;
}

// ---------------------------------------------------------------- summarise

abrivo::Summary summarise(py::object article, py::object title, py::object length,
                          py::object progress, py::object chars, py::object sentences,
                          py::object ratio, py::object cancelled) {
  abrivo::Request request;
  request.article = textArgument(article, "article");
  request.title = textArgument(title, "title");
  setLength(request, length, chars, sentences, ratio);
  // The callbacks run on this thread while the engine runs without the
  // GIL; the caller's references keep the callables alive. A callback that
  // raises, or a pending KeyboardInterrupt, ends the run with that error.
  if (!progress.is_none()) {
    if (!PyCallable_Check(progress.ptr())) typeError("progress", "callable or None", progress);
    request.progress = [callback = progress.ptr()](std::string_view text) {
      py::gil_scoped_acquire gil;
      const py::handle function(callback);
      function(py::str(text.data(), text.size()));
      if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    };
  }
  if (!cancelled.is_none()) {
    if (!PyCallable_Check(cancelled.ptr())) typeError("cancelled", "callable or None", cancelled);
    request.cancelled = [callback = cancelled.ptr()] {
      py::gil_scoped_acquire gil;
      if (PyErr_CheckSignals() != 0) throw py::error_already_set();
      const py::object answer = py::handle(callback)();
      const int truth = PyObject_IsTrue(answer.ptr());
      if (truth < 0) throw py::error_already_set();
      return truth == 1;
    };
  }
  py::gil_scoped_release release;
  return abrivo::summarise(request);
}

// ---------------------------------------------------------------- summarise_many

// The iterator summarise_many returns. A window of records is in flight:
// read from the input, queued for the workers, and held until every record
// before it has been handed out, so results come in input order and memory
// stays bounded.
class Many {
 public:
  Many(py::handle records, py::handle jobs) {
    if (!isInt(jobs)) typeError("jobs", "an int", jobs);
    const int count = intValue(jobs).value_or(-1);
    if (count < 0)
      throw py::value_error("jobs must be from 0 (one per core) to " + std::to_string(INT_MAX));
    PyObject* iterator = PyObject_GetIter(records.ptr());
    if (!iterator) {
      PyErr_Clear();
      typeError("records", "an iterable of dicts", records);
    }
    m_input = py::reinterpret_steal<py::object>(iterator);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = count == 0 ? cores : static_cast<std::size_t>(count);
    m_window = 4 * threads;
    try {
      m_threads.reserve(threads);
      for (std::size_t i = 0; i < threads; ++i) m_threads.emplace_back([this] { work(); });
    } catch (const std::exception& e) {  // std::system_error: no more threads
      stop();
      throw py::value_error("jobs: cannot start " + std::to_string(threads) +
                            " threads: " + e.what());
    }
  }

  Many(const Many&) = delete;
  Many& operator=(const Many&) = delete;

  // Runs with the GIL held, as Python frees the iterator: runs in flight
  // are cancelled, the workers joined; they never wait for the GIL.
  ~Many() { stop(); }

  py::object next() {
    if (m_busy) throw py::value_error("summarise_many: the iterator is already running");
    m_busy = true;
    struct Idle {
      bool& busy;
      ~Idle() { busy = false; }
    } idle{m_busy};

    fill();
    if (m_slots.empty()) {
      if (m_inputError) {
        py::error_already_set error = std::move(*m_inputError);
        m_inputError.reset();
        throw error;
      }
      throw py::stop_iteration();
    }
    Slot& slot = *m_slots.front();
    if (slot.queued) {
      py::gil_scoped_release release;
      std::unique_lock lock(m_mutex);
      m_finished.wait(lock, [&] { return slot.done; });
    }
    py::dict result;
    result["id"] = slot.id;
    if (slot.error.empty())
      addFields(result, slot.summary);
    else
      result["error"] = slot.error;
    m_slots.pop_front();
    return result;
  }

 private:
  struct Slot {
    py::object id = py::none();  // touched with the GIL only
    std::string error;           // the record was refused or its run failed
    abrivo::Request request;
    abrivo::Summary summary;
    bool queued = false;  // handed to the workers
    bool done = false;    // guarded by m_mutex
  };

  void stop() {
    {
      std::lock_guard lock(m_mutex);
      m_stop = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

  // Reads records until the window is full or the input ends. An error of
  // the input itself is raised after the results of the records before it.
  void fill() {
    while (m_input && m_slots.size() < m_window) {
      PyObject* item = PyIter_Next(m_input.ptr());
      if (!item) {
        if (PyErr_Occurred()) m_inputError.emplace();
        m_input = py::object();
        break;
      }
      auto slot = readRecord(py::reinterpret_steal<py::object>(item));
      Slot* queued = slot->error.empty() ? slot.get() : nullptr;
      m_slots.push_back(std::move(slot));
      if (queued) {
        queued->queued = true;
        queued->request.cancelled = [this] { return m_stop.load(std::memory_order_relaxed); };
        {
          std::lock_guard lock(m_mutex);
          m_queue.push_back(queued);
        }
        m_wake.notify_one();
      }
    }
  }

  // A record as abrivo-cli --jsonl reads one: "content", and optional "id",
  // "title" and one length mode. The messages are the command line's.
  static std::unique_ptr<Slot> readRecord(py::handle record) {
    auto slot = std::make_unique<Slot>();
    const auto refuse = [&](const char* message) {
      slot->error = message;
      return std::move(slot);
    };
    if (!PyDict_Check(record.ptr())) return refuse("the record is not a JSON object");
    const auto field = [&](const char* name) -> py::handle {
      return PyDict_GetItemString(record.ptr(), name);  // borrowed; null when absent
    };
    if (py::handle id = field("id")) slot->id = py::reinterpret_borrow<py::object>(id);
    abrivo::Request& request = slot->request;

    const py::handle content = field("content");
    if (!content) return refuse("\"content\" is missing");
    if (!PyUnicode_Check(content.ptr())) return refuse("\"content\" is not a string");
    request.article = utf8Of(content);
    if (const py::handle title = field("title")) {
      if (!PyUnicode_Check(title.ptr())) return refuse("\"title\" is not a string");
      request.title = utf8Of(title);
    }

    const py::handle length = field("length"), chars = field("chars"),
                     sentences = field("sentences"), ratio = field("ratio");
    if (bool(length) + bool(chars) + bool(sentences) + bool(ratio) > 1)
      return refuse("\"length\", \"chars\", \"sentences\" and \"ratio\" exclude each other");
    if (length) {
      const std::optional<int> value = isInt(length) ? intValue(length) : std::nullopt;
      if (!value || *value < -1 || *value > 3)
        return refuse("\"length\" is not an integer from -1 to 3");
      request.length = *value;
    }
    const std::tuple<py::handle, const char*, std::optional<int>*> counts[] = {
        {chars, "chars", &request.chars}, {sentences, "sentences", &request.sentences}};
    for (const auto& [count, name, target] : counts) {
      if (!count) continue;
      const std::optional<int> value = isInt(count) ? intValue(count) : std::nullopt;
      if (!value || *value < 1) {
        slot->error =
            "\"" + std::string(name) + "\" is not an integer from 1 to " + std::to_string(INT_MAX);
        return slot;
      }
      *target = value;
    }
    if (ratio) {
      const double value = isNumber(ratio) ? PyFloat_AsDouble(ratio.ptr()) : 0;
      if (PyErr_Occurred()) PyErr_Clear();  // an int too large for a float
      if (!(value > 0 && value <= 100))
        return refuse("\"ratio\" is not a number above 0 and at most 100");
      request.ratio = value;
    }
    return slot;
  }

  void work() {
    for (;;) {
      Slot* slot = nullptr;
      {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [&] { return m_stop || !m_queue.empty(); });
        if (m_stop) return;
        slot = m_queue.front();
        m_queue.pop_front();
      }
      try {
        slot->summary = abrivo::summarise(slot->request);
      } catch (const std::exception& e) {
        slot->error = e.what();  // InvalidText: a lone surrogate; Cancelled: being freed
      }
      {
        std::lock_guard lock(m_mutex);
        slot->done = true;
      }
      m_finished.notify_all();
    }
  }

  py::object m_input;  // the records' iterator; None once exhausted
  std::optional<py::error_already_set> m_inputError;
  std::size_t m_window = 0;
  std::deque<std::unique_ptr<Slot>> m_slots;  // in input order; this thread only
  bool m_busy = false;

  std::mutex m_mutex;
  std::condition_variable m_wake;      // work queued, or stop
  std::condition_variable m_finished;  // a slot is done
  std::deque<Slot*> m_queue;           // waiting for a worker
  std::atomic<bool> m_stop{false};
  std::vector<std::thread> m_threads;
};

// ---------------------------------------------------------------- docs

const char* kSummariseDoc =
    R"(summarise(article: str | bytes, title: str | bytes = "", length: int = 0, progress: Callable[[str], object] | None = None, *, chars: int | None = None, sentences: int | None = None, ratio: float | None = None, cancelled: Callable[[], bool] | None = None) -> Summary

Summarises one article and returns a Summary.

article and title are str (or bytes holding UTF-8), with any line breaks.
The length is one of four modes: length, the index of the length list (-1
to 3: 200, 300, 400 or 500 characters, -1 for none selected; default 0),
or exactly one of the keyword arguments chars (at most N Chinese
characters or 2N bytes of English), sentences (the N best sentences) or
ratio (at most P % of the article's size).

progress, when given, is called with each progress text of the status
line during the run; cancelled, when given, is asked often and a true
answer ends the run with Cancelled. An exception that either callback
raises ends the run with that exception.

The GIL is released while the engine runs, so threads summarise in
parallel.

Raises InvalidText for text that is not valid UTF-8 (a lone surrogate in
a str), TypeError for an argument of the wrong type and ValueError for a
length out of range or two length modes at once.)";

const char* kSummariseManyDoc =
    R"(summarise_many(records: Iterable[dict], jobs: int = 0) -> Iterator[dict]

Summarises records on worker threads; yields the results in input order.

records is an iterable of dicts shaped like the lines of abrivo-cli
--jsonl: "content" (str) and optional "id" (any value, copied to the
result; None when absent), "title" (str) and one length mode, "length"
(-1 to 3), "chars", "sentences" or "ratio". Each result is the dict of
the matching --jsonl result line: "id" first, then the fields of
Summary.to_dict(), or {"id": ..., "error": "..."} for a record that is
refused. jobs is the number of worker threads, 0 for one per core. Only
a small window of records (four per thread) is read ahead.)";

}  // namespace

PYBIND11_MODULE(_abrivo, m) {
  m.doc() = "The compiled part of the abrivo package; import abrivo instead.";
  keys = new Keys;

  invalidTextType = PyErr_NewExceptionWithDoc(
      "abrivo.InvalidText",
      "Text that is not valid UTF-8. field is \"title\" or \"article\", offset the "
      "byte offset of the first bad byte in its UTF-8 encoding.",
      PyExc_ValueError, nullptr);
  cancelledType = PyErr_NewExceptionWithDoc(
      "abrivo.Cancelled", "The run was cancelled: the cancelled callback returned true.",
      PyExc_RuntimeError, nullptr);
  if (!invalidTextType || !cancelledType) throw py::error_already_set();
  m.attr("InvalidText") = py::handle(invalidTextType);
  m.attr("Cancelled") = py::handle(cancelledType);
  py::register_exception_translator([](std::exception_ptr pointer) {
    try {
      if (pointer) std::rethrow_exception(pointer);
    } catch (const abrivo::InvalidText& e) {
      py::object error = py::handle(invalidTextType)(e.what());
      error.attr("field") = e.field();
      error.attr("offset") = e.offset();
      PyErr_SetObject(invalidTextType, error.ptr());
    } catch (const abrivo::Cancelled& e) {
      PyErr_SetString(cancelledType, e.what());
    }
  });

  py::class_<abrivo::Term>(m, "Term", "A row of the term table.")
      .def_readonly("term", &abrivo::Term::term, "The term.")
      .def_readonly("weight", &abrivo::Term::weight,
                    "Occurrences; doubled when the headline holds the term.")
      .def("__eq__", [](const abrivo::Term& a,
                        const abrivo::Term& b) { return a.term == b.term && a.weight == b.weight; })
      .def("__repr__", [](const abrivo::Term& t) {
        return "Term(term=" + std::string(py::repr(py::str(t.term))) +
               ", weight=" + std::to_string(t.weight) + ")";
      });

  py::class_<abrivo::Sentence>(m, "Sentence", "A row of the sentence table.")
      .def_readonly("text", &abrivo::Sentence::text, "The sentence as the table holds it.")
      .def_readonly("rank", &abrivo::Sentence::rank, "1 for the best sentence.")
      .def_readonly("position", &abrivo::Sentence::position,
                    "0 for the first sentence of the article.")
      .def_readonly("selected", &abrivo::Sentence::selected, "Part of the summary.")
      .def("__eq__",
           [](const abrivo::Sentence& a, const abrivo::Sentence& b) {
             return a.text == b.text && a.rank == b.rank && a.position == b.position &&
                    a.selected == b.selected;
           })
      .def("__repr__", [](const abrivo::Sentence& s) {
        return "Sentence(text=" + shortened(s.text) + ", rank=" + std::to_string(s.rank) +
               ", position=" + std::to_string(s.position) +
               ", selected=" + (s.selected ? "True" : "False") + ")";
      });

  py::class_<abrivo::Summary>(m, "Summary", "The result of summarise.")
      .def_property_readonly("language", &languageOf,
                             "\"zh\", \"en\", or None when the text is neither.")
      .def_readonly("summary", &abrivo::Summary::summary, "The summary, \"\\n\" line breaks.")
      .def_readonly("keywords", &abrivo::Summary::keywords, "Up to three terms, heaviest first.")
      .def_readonly("keyword_line", &abrivo::Summary::keywordLine,
                    "\"关键词： \" and the keywords, as the window writes it.")
      .def_readonly("status", &abrivo::Summary::status,
                    "The status line, \"原文1133字，摘要177字\".")
      .def_readonly("article_size", &abrivo::Summary::articleSize,
                    "The article's size: characters of Chinese, bytes of English.")
      .def_readonly("summary_size", &abrivo::Summary::summarySize,
                    "The summary's size, counted the same way.")
      .def_readonly("terms", &abrivo::Summary::terms, "The term table, in table order.")
      .def_readonly("sentences", &abrivo::Summary::sentences, "The sentence table, best first.")
      .def("to_dict", &toDict, "The JSON object of abrivo-cli -f json, as a dict.")
      .def(py::pickle(&toDict, &fromDict))
      .def("__repr__", [](const abrivo::Summary& s) {
        return "Summary(language=" + std::string(py::repr(languageOf(s))) +
               ", status=" + std::string(py::repr(py::str(s.status))) +
               ", summary=" + shortened(s.summary) + ")";
      });

  py::class_<Many>(m, "SummariseMany", "The iterator of summarise_many.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &Many::next);

  // The two functions take any object and check it themselves; their
  // docstrings give the signatures with the types they accept.
  py::options options;
  options.disable_function_signatures();
  m.def("summarise", &summarise, kSummariseDoc, py::arg("article"), py::arg("title") = "",
        py::arg("length") = 0, py::arg("progress") = py::none(), py::kw_only(),
        py::arg("chars") = py::none(), py::arg("sentences") = py::none(),
        py::arg("ratio") = py::none(), py::arg("cancelled") = py::none());
  m.def(
      "summarise_many",
      [](py::object records, py::object jobs) { return std::make_unique<Many>(records, jobs); },
      kSummariseManyDoc, py::arg("records"), py::arg("jobs") = 0);
  options.enable_function_signatures();
  m.def(
      "version", [] { return std::string(abrivo::version()); }, "The library's version.");
}
