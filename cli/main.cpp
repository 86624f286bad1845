// abrivo-cli: the command-line front end; everything but the process
// boundary lives in abrivo_cli_lib (see Cli.h).
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/Cli.h"
#include "cli/Output.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  abrivo::cli::installInterruptHandlers();
  // Each block the program hands over (a result line, a whole summary) goes
  // out in one write.
  abrivo::cli::FdOutput stdoutBuffer(1);
  std::ostream out(&stdoutBuffer);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return abrivo::cli::runCli(args, std::cin, out, std::cerr);
}
