// abrivo-cli: the command-line front end; everything but the process
// boundary lives in abrivo_cli_lib (see Cli.h).
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/Cli.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return abrivo::cli::runCli(args, std::cin, std::cout, std::cerr);
}
