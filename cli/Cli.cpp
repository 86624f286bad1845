#include "cli/Cli.h"

#include <abrivo/abrivo.h>

#include <istream>
#include <new>
#include <ostream>

#include "Samples.h"
#include "cli/Batch.h"
#include "cli/Input.h"
#include "cli/Options.h"
#include "cli/Record.h"

namespace abrivo::cli {
namespace {

constexpr std::string_view kStdinName = "<stdin>";

// One input as UTF-8, or an error message naming it.
struct Decoded {
  std::string bytes;
  std::string error;
};

Decoded decode(std::string text, Encoding encoding, std::string_view name) {
  std::string whyNot;
  auto utf8 = decodeInput(std::move(text), encoding, &whyNot);
  if (!utf8) return {{}, std::string(name) + ": " + whyNot};
  return {std::move(*utf8), {}};
}

// path "-" is standard input.
Decoded readAndDecode(const std::string& path, std::istream& in, const Options& o, bool oneLine) {
  const bool fromStdin = path == "-";
  const std::string name = fromStdin ? std::string(kStdinName) : path;
  ReadResult read = fromStdin ? readStream(in, o.maxBytes) : readFile(path, o.maxBytes);
  if (!read.error.empty()) return {{}, "cannot read " + name + ": " + read.error};
  Decoded decoded = decode(std::move(read.bytes), o.encoding, name);
  if (oneLine) decoded.bytes.resize(withoutFinalLineBreak(decoded.bytes).size());
  return decoded;
}

int runSingle(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
  abrivo::Request request;
  setLength(request, o.length);
  if (o.sample) {
    const samples::SamplePair pair = samples::sample(o.sample);
    request.title = pair.title;
    request.article = pair.article;
  } else {
    Decoded title;
    if (o.title) title = decode(*o.title, o.encoding, "--title");
    if (o.titleFile) title = readAndDecode(*o.titleFile, in, o, true);
    Decoded content;
    if (title.error.empty()) content = readAndDecode(o.file.value_or("-"), in, o, false);
    if (const std::string& e = title.error.empty() ? content.error : title.error; !e.empty()) {
      err << "abrivo-cli: " << e << '\n';
      return kExitInputError;
    }
    request.title = std::move(title.bytes);
    request.article = std::move(content.bytes);
  }

  std::string whyNot;
  std::optional<std::string> output;
  try {
    output = encodeOutput(formatSummary(abrivo::summarise(request), o.format), o.outputEncoding,
                          &whyNot, o.format == Format::Json);
  } catch (const std::invalid_argument& e) {
    whyNot = e.what();
  }
  if (!output) {
    err << "abrivo-cli: " << whyNot << '\n';
    return kExitInputError;
  }
  out << *output << std::flush;
  if (!out) {
    err << "abrivo-cli: cannot write the output\n";
    return kExitInputError;
  }
  return kExitOk;
}

}  // namespace

std::string helpText() {
  return R"(Usage: abrivo-cli [OPTIONS] [FILE]
       abrivo-cli --jsonl [LENGTH OPTION] [-j N] < records.jsonl

Writes an extractive summary of a Chinese or English news article. FILE is the
article; without FILE, or with FILE "-", the article is read from standard input.

Options:
  -t, --title TEXT        the headline (default: none)
      --title-file FILE   read the headline from FILE (a final line break is dropped)
  -e, --encoding ENC      encoding of the input (FILE, --title, --title-file):
                          auto (default): a byte order mark (UTF-8, UTF-16LE,
                            UTF-16BE), else UTF-8, else GB18030 (GBK included)
                          utf-8, gbk, gb18030, or big5 (Big5-HKSCS)
      --output-encoding ENC  encoding of the output: utf-8 (default), gbk,
                          gb18030 or big5; a character it lacks is an error
                          (JSON writes it as a \u escape instead)
  -f, --format FMT        text: the summary alone, followed by a newline (default)
                          json: the result as one JSON object on one line
      --jsonl             batch mode: read JSON Lines records from standard input,
                          each {"content": ..., "id": ..., "title": ...} with
                          "content" required and at most one of "length",
                          "chars", "sentences" and "ratio"; write one result per
                          record, in input order, with "id" first. A bad record
                          gives {"id": ..., "error": ...} and the batch goes on;
                          blank lines are skipped. Always UTF-8. A length option
                          sets the length of records without one.
  -j, --jobs N            with --jsonl: summarise N records at once on N threads,
                          0 for one per core (default 1); the output is the same
      --max-bytes N       refuse an article, headline or record larger than N
                          bytes (K, M or G multiply by 1024, 1024^2 or 1024^3;
                          default 64M): exit 1, or in --jsonl an error line for
                          the record and the batch goes on
      --sample N          summarise built-in headline and article N (1, 2 or 3)
                          instead of FILE and the title
  -h, --help              show this help and exit
      --version           show the version and exit

Length (one of these; default -l 0):
  -l, --length N          index of the length list: 0 to 3 for 200, 300, 400 or
                          500 characters, -1 for none selected
      --chars N           at most N Chinese characters, or 2N bytes of English;
                          --chars 200, 300, 400, 500 equal -l 0, 1, 2, 3
      --sentences N       the N best sentences (all when the text has fewer)
      --ratio P           at most P % of the article's size (0 < P <= 100)
The summary keeps at least one sentence, and keeps the article's order.

JSON result (-f json, and each --jsonl result after its "id"):
  {"language": "zh" | "en" | null, "summary": "...",
   "keywords": [up to three terms], "keyword_line": "关键词： ...",
   "status": "原文1133字，摘要177字",
   "sizes": {"article": 1133, "summary": 177},
   "terms": [{"term": "...", "weight": 16}, ...],
   "sentences": [{"text": "...", "rank": 1, "position": 23,
                  "selected": true}, ...]}
Sizes count Chinese characters, or bytes of English. Terms are in table
order; sentences in rank order, with "position" 0 for the article's first
sentence and "selected" when the summary holds them.

Output line breaks are "\n". Each record runs on a fresh engine. A record that
does not fit in memory gives an error line too; a single article exits 1.

Exit status: 0 on success; 1 when the input cannot be read or is not valid in
its encoding, the output encoding lacks a character of the output, memory runs
out or the output cannot be written; 2 on a usage error; 130 or 143 after
SIGINT or SIGTERM, with only whole result lines written.
)";
}

std::string versionText() {
  return "abrivo-cli " ABRIVO_VERSION "\n";
}

int runCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  const ParsedOptions parsed = parseOptions(args);
  if (!parsed.error.empty()) {
    err << "abrivo-cli: " << parsed.error << "\nTry 'abrivo-cli --help' for more information.\n";
    return kExitUsage;
  }
  const Options& o = parsed.options;
  if (o.help || o.version) {
    out << (o.help ? helpText() : versionText()) << std::flush;
    if (!out) {
      err << "abrivo-cli: cannot write the output\n";
      return kExitInputError;
    }
    return kExitOk;
  }
  try {
    // A record that does not fit in memory is reported in its place; this
    // catches only what is left, in single mode the whole run.
    return o.jsonl ? runBatch(in, out, err, o) : runSingle(o, in, out, err);
  } catch (const std::bad_alloc&) {
    err << "abrivo-cli: out of memory\n";
    return kExitInputError;
  }
}

}  // namespace abrivo::cli
