#include "cli/Cli.h"

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

// Engine bytes of one input, or an error message naming it.
struct Decoded {
  std::string bytes;
  std::string error;
};

Decoded decode(std::string_view text, Encoding encoding, std::string_view name) {
  ConversionError error{};
  auto bytes = toEngineBytes(text, encoding, &error);
  if (!bytes) {
    return {{},
            std::string(name) + ": not valid " + std::string(encodingName(encoding)) + " at byte " +
                std::to_string(error.offset)};
  }
  return {std::move(*bytes), {}};
}

// path "-" is standard input.
Decoded readAndDecode(const std::string& path, std::istream& in, const Options& o, bool oneLine) {
  const bool fromStdin = path == "-";
  const std::string name = fromStdin ? std::string(kStdinName) : path;
  const ReadResult read = fromStdin ? readStream(in, o.maxBytes) : readFile(path, o.maxBytes);
  if (!read.error.empty()) return {{}, "cannot read " + name + ": " + read.error};
  std::string_view text = read.bytes;
  if (oneLine) text = withoutFinalLineBreak(text);
  return decode(text, o.encoding, name);
}

int runSingle(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
  Record record;
  record.length = o.length;
  if (o.sample) {
    const samples::SamplePair pair = samples::sample(o.sample);
    record.title = utf8ToGb18030Lenient(pair.title);
    record.content = utf8ToGb18030Lenient(pair.article);
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
    record.title = std::move(title.bytes);
    record.content = std::move(content.bytes);
  }

  const std::string output = summarise(record, o.format, o.encoding);
  out << output << std::flush;
  if (!out) {
    err << "abrivo-cli: cannot write the output\n";
    return kExitInputError;
  }
  return kExitOk;
}

}  // namespace

std::string helpText() {
  return R"(Usage: abrivo-cli [OPTIONS] [FILE]
       abrivo-cli --jsonl [--length N] [-j N] < records.jsonl

Writes an extractive summary of a Chinese or English news article. FILE is the
article; without FILE, or with FILE "-", the article is read from standard input.

Options:
  -t, --title TEXT        the headline (default: none)
      --title-file FILE   read the headline from FILE (a final line break is dropped)
  -l, --length N          index of the length list: 0 to 3 for 200, 300, 400 or
                          500 characters, -1 for none selected (default 0)
  -e, --encoding ENC      encoding of input and output: utf-8, gbk or gb18030
                          (default utf-8)
  -f, --format FMT        text: the summary alone, followed by a newline (default)
                          json: one object with "language" ("zh", "en" or null),
                          "summary", "status", "keywords", "terms" (rows of
                          [term, weight]) and "sentences" (rows of [sentence, a, b])
      --jsonl             batch mode: read JSON Lines records from standard input,
                          each {"content": ..., "id": ..., "title": ...,
                          "length": ...} with "content" required; write one JSON
                          result per record, in input order, with "id" copied.
                          A bad record gives {"id": ..., "error": ...} and the
                          batch goes on; blank lines are skipped. Always UTF-8;
                          --length sets the length of records without one.
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

Output line breaks are "\n". Each record runs on a fresh engine. A record that
does not fit in memory gives an error line too; a single article exits 1.

Exit status: 0 on success, 1 when the input cannot be read or is not valid in
its encoding, or the output cannot be written, 2 on a usage error; 130 or 143
after SIGINT or SIGTERM, with only whole result lines written.
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
