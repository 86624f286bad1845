// Runs the command line in process, as the tests of tests/cli do.
#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Cli.h"

namespace abrivo::cli::testing {

// What one run wrote and returned.
struct Outcome {
  int code;
  std::string out;
  std::string err;
};

// One run of abrivo-cli with args (without the program's name) and input
// as standard input.
inline Outcome run(const std::vector<std::string>& args, const std::string& input = {}) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::istringstream in(input);
  std::ostringstream out, err;
  const int code = runCli(views, in, out, err);
  return {code, out.str(), err.str()};
}

}  // namespace abrivo::cli::testing
