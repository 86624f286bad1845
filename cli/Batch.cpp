#include "cli/Batch.h"

#include <abrivo/abrivo.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <istream>
#include <mutex>
#include <new>
#include <ostream>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "cli/Input.h"
#include "cli/JsonLine.h"
#include "cli/Record.h"

namespace abrivo::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kNullId = "null";

bool isBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// id is JSON text.
std::string errorLine(std::string_view id, std::string_view message) {
  return "{\"id\":" + std::string(id) + ",\"error\":" + dumpJson(Json(message)) + "}";
}

// A number as the nearest double: inf beyond their range, a subnormal or 0
// below it. The text is a JSON number, which strtod reads whole (the program
// keeps the "C" locale).
std::optional<double> jsonNumber(const JsonMember& member) {
  if (member.kind != JsonKind::Number) return std::nullopt;
  return std::strtod(std::string(member.text).c_str(), nullptr);
}

// Reads the fields of a record, all in this one place: the id as written
// (kept even when the record is refused), and the request. A record with a
// length mode of its own replaces the default mode. Returns why the record
// is refused, or "".
std::string readRecord(const JsonLine& json, const Length& defaultLength, std::string& id,
                       abrivo::Request& request) {
  if (const JsonMember* member = findMember(json, "id")) id = compactJson(member->text);

  const JsonMember* content = findMember(json, "content");
  if (!content) return "\"content\" is missing";
  if (content->kind != JsonKind::String) return "\"content\" is not a string";
  request.article = decodeJsonString(content->text);

  if (const JsonMember* title = findMember(json, "title")) {
    if (title->kind != JsonKind::String) return "\"title\" is not a string";
    request.title = decodeJsonString(title->text);
  }

  const JsonMember* index = findMember(json, "length");
  const JsonMember* chars = findMember(json, "chars");
  const JsonMember* sentences = findMember(json, "sentences");
  const JsonMember* ratio = findMember(json, "ratio");
  const int modes = !!index + !!chars + !!sentences + !!ratio;
  if (modes > 1) return "\"length\", \"chars\", \"sentences\" and \"ratio\" exclude each other";
  Length length = modes == 1 ? Length{} : defaultLength;
  if (index) {
    const auto n = index->kind == JsonKind::Number ? jsonInteger(index->text) : std::nullopt;
    if (!n || *n < -1 || *n > 3) return "\"length\" is not an integer from -1 to 3";
    length.index = static_cast<int>(*n);
  }
  for (const auto& [count, name] : {std::pair{chars, "chars"}, std::pair{sentences, "sentences"}}) {
    if (!count) continue;
    const auto n = count->kind == JsonKind::Number ? jsonInteger(count->text) : std::nullopt;
    if (!n || *n < 1 || *n > INT_MAX) {
      return "\"" + std::string(name) + "\" is not an integer from 1 to " + std::to_string(INT_MAX);
    }
    (count == chars ? length.chars : length.sentences) = static_cast<int>(*n);
  }
  if (ratio) {
    const auto p = jsonNumber(*ratio);
    if (!p || !(*p > 0 && *p <= 100)) return "\"ratio\" is not a number above 0 and at most 100";
    length.ratio = *p;
  }
  setLength(request, length);
  return {};
}

// The lines of a stream, each at most maxBytes long without its newline. A
// longer line, or one that does not fit in memory, is dropped as it is read
// and reported in its place.
class LineReader {
 public:
  enum class Status { Line, TooLong, OutOfMemory, End, Error };

  LineReader(std::istream& in, std::size_t maxBytes)
      : m_source(in.rdbuf()), m_maxBytes(maxBytes), m_buffer(1 << 16) {}

  Status next(std::string& line) {
    line.clear();
    Status status = Status::Line;
    bool any = false;
    for (;;) {
      if (m_begin == m_end && !fill()) {
        if (!m_error.empty()) return Status::Error;
        return any ? status : Status::End;
      }
      any = true;
      const char* begin = m_buffer.data() + m_begin;
      const std::size_t size = m_end - m_begin;
      const void* newline = std::memchr(begin, '\n', size);
      const std::size_t take =
          newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - begin) : size;
      if (status == Status::Line) {
        if (take > m_maxBytes - line.size()) {
          status = Status::TooLong;
        } else {
          try {
            line.append(begin, take);
          } catch (const std::bad_alloc&) {
            status = Status::OutOfMemory;
          }
        }
        if (status != Status::Line) std::string().swap(line);
      }
      m_begin += newline ? take + 1 : take;
      if (newline) return status;
    }
  }

  const std::string& error() const { return m_error; }

 private:
  // Takes what one read brings, so that no record waits for the next.
  bool fill() {
    try {
      if (m_source->sgetc() == std::streambuf::traits_type::eof()) return false;
      const std::streamsize available = std::max<std::streamsize>(m_source->in_avail(), 1);
      const std::streamsize n = m_source->sgetn(
          m_buffer.data(), std::min(available, static_cast<std::streamsize>(m_buffer.size())));
      m_begin = 0;
      m_end = static_cast<std::size_t>(std::max<std::streamsize>(n, 0));
      return m_end > 0;
    } catch (const std::system_error& e) {  // std::ios_base::failure among them
      m_error = e.code().message();
      return false;
    }
  }

  std::streambuf* m_source;
  std::size_t m_maxBytes;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;
  std::size_t m_end = 0;
  std::string m_error;
};

using Status = LineReader::Status;

// The result for what the reader gave.
std::optional<std::string> resultFor(Status status, std::string_view line, const Options& o) {
  switch (status) {
    case Status::TooLong:
      return errorLine(kNullId, "the record is " + tooLargeMessage(o.maxBytes));
    case Status::OutOfMemory:
      return errorLine(kNullId, "out of memory");
    default:
      return processRecordLine(line, o.length);
  }
}

// Writes one result line with its newline in one piece.
bool writeLine(std::ostream& out, std::string line) {
  line += '\n';
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  out.flush();
  return static_cast<bool>(out);
}

int reportWriteError(std::ostream& err) {
  err << "abrivo-cli: cannot write the results\n";
  return 1;
}

int reportReadError(std::ostream& err, const std::string& error) {
  err << "abrivo-cli: cannot read <stdin>: " << error << '\n';
  return 1;
}

int runSequential(LineReader& reader, std::ostream& out, std::ostream& err, const Options& o) {
  std::string line;
  for (;;) {
    const Status status = reader.next(line);
    if (status == Status::End) return 0;
    if (status == Status::Error) return reportReadError(err, reader.error());
    std::optional<std::string> result = resultFor(status, line, o);
    if (result && !writeLine(out, std::move(*result))) return reportWriteError(err);
  }
}

// Records in flight between the reader, the workers and the writer. Slots
// are numbered in input order; the window holds slots first..first+size-1.
struct Window {
  struct Slot {
    Status status;
    std::string line;
    std::optional<std::string> result;
    bool done = false;
  };

  std::mutex mutex;
  std::condition_variable slotAdded;  // for the workers
  std::condition_variable slotDone;   // for the writer
  std::condition_variable slotFreed;  // for the reader
  std::deque<Slot> slots;
  std::size_t first = 0;    // number of the front slot
  std::size_t nextJob = 0;  // the next slot a worker looks at
  bool inputDone = false;
  bool stop = false;
  std::string readError;

  // Whether a slot waits for a worker; moves nextJob past slots that the
  // writer has already taken.
  bool hasJob() {
    nextJob = std::max(nextJob, first);
    return nextJob < first + slots.size();
  }
};

void readInto(Window& w, LineReader& reader, const Options& o, std::size_t capacity) {
  for (;;) {
    Window::Slot slot;
    try {
      slot.status = reader.next(slot.line);
      if (slot.status == Status::Line && isBlank(slot.line)) {
        slot.done = true;
      } else if (slot.status == Status::TooLong || slot.status == Status::OutOfMemory) {
        slot.result = resultFor(slot.status, slot.line, o);
        slot.done = true;
      }
    } catch (const std::bad_alloc&) {
      slot.status = Status::Error;
    }
    std::unique_lock lock(w.mutex);
    if (slot.status == Status::End || slot.status == Status::Error) {
      if (slot.status == Status::Error)
        w.readError = reader.error().empty() ? "out of memory" : reader.error();
      w.inputDone = true;
      w.slotAdded.notify_all();
      w.slotDone.notify_all();
      return;
    }
    w.slotFreed.wait(lock, [&] { return w.stop || w.slots.size() < capacity; });
    if (w.stop) return;
    const bool done = slot.done;
    w.slots.push_back(std::move(slot));
    if (done)
      w.slotDone.notify_all();
    else
      w.slotAdded.notify_one();
  }
}

void work(Window& w, const Options& o) {
  std::unique_lock lock(w.mutex);
  for (;;) {
    w.slotAdded.wait(lock, [&] { return w.stop || w.hasJob() || w.inputDone; });
    if (w.stop || !w.hasJob()) return;
    const std::size_t number = w.nextJob++;
    Window::Slot& slot = w.slots[number - w.first];
    if (slot.done) continue;
    const std::string line = std::move(slot.line);
    lock.unlock();
    std::optional<std::string> result;
    try {
      result = processRecordLine(line, o.length);
    } catch (const std::bad_alloc&) {
      result = errorLine(kNullId, "out of memory");
    }
    lock.lock();
    // The slot stays in place until it is done, so its number still finds it.
    Window::Slot& same = w.slots[number - w.first];
    same.result = std::move(result);
    same.done = true;
    w.slotDone.notify_all();
  }
}

int runParallel(LineReader& reader, std::ostream& out, std::ostream& err, const Options& o,
                int jobs) {
  Window w;
  const std::size_t capacity = 4 * static_cast<std::size_t>(jobs);
  std::vector<std::jthread> threads;
  // Stops and joins every thread however this function is left.
  struct Stopper {
    Window& w;
    std::vector<std::jthread>& threads;
    ~Stopper() {
      {
        const std::lock_guard lock(w.mutex);
        w.stop = true;
      }
      w.slotAdded.notify_all();
      w.slotFreed.notify_all();
      threads.clear();
    }
  } stopper{w, threads};
  threads.emplace_back([&] { readInto(w, reader, o, capacity); });
  for (int i = 0; i < jobs; ++i) threads.emplace_back([&] { work(w, o); });

  for (;;) {
    std::unique_lock lock(w.mutex);
    w.slotDone.wait(lock, [&] {
      return (!w.slots.empty() && w.slots.front().done) || (w.slots.empty() && w.inputDone);
    });
    if (w.slots.empty()) break;
    std::optional<std::string> result = std::move(w.slots.front().result);
    w.slots.pop_front();
    ++w.first;
    w.slotFreed.notify_one();
    lock.unlock();
    if (result && !writeLine(out, std::move(*result))) return reportWriteError(err);
  }
  if (!w.readError.empty()) return reportReadError(err, w.readError);
  return 0;
}

}  // namespace

std::optional<std::string> processRecordLine(std::string_view line, const Length& defaultLength) {
  if (isBlank(line)) return std::nullopt;
  std::string id(kNullId);
  try {
    JsonLineError error;
    const std::optional<JsonLine> json = parseJsonLine(line, &error);
    if (!json && error.tooDeep) {
      return errorLine(
          id, "the record is nested more than " + std::to_string(kMaxJsonNesting) + " levels deep");
    }
    if (!json)
      return errorLine(id, "not valid JSON (at byte " + std::to_string(error.offset) + ")");
    if (json->kind != JsonKind::Object) return errorLine(id, "the record is not a JSON object");

    abrivo::Request request;
    if (const std::string refused = readRecord(*json, defaultLength, id, request); !refused.empty())
      return errorLine(id, refused);
    try {
      std::string line = "{\"id\":" + id + ",";
      appendSummaryMembers(line, abrivo::summarise(request));
      line += '}';
      return line;
    } catch (const std::invalid_argument& e) {
      return errorLine(id, e.what());
    }
  } catch (const std::bad_alloc&) {
    return errorLine(id, "out of memory");
  }
}

int runBatch(std::istream& in, std::ostream& out, std::ostream& err, const Options& options) {
  LineReader reader(in, options.maxBytes);
  int jobs = options.jobs;
  if (jobs == 0) jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return jobs == 1 ? runSequential(reader, out, err, options)
                   : runParallel(reader, out, err, options, jobs);
}

}  // namespace abrivo::cli
