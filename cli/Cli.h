// The whole of abrivo-cli behind main(): parses the arguments, reads the
// input, runs the engine and writes the output. The output of a single
// summary is built completely before anything is written, so a failure
// leaves standard output empty.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace abrivo::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitInputError = 1;
inline constexpr int kExitUsage = 2;

std::string helpText();
std::string versionText();

// args are the arguments after the program name; returns the exit status.
int runCli(std::span<const std::string_view> args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace abrivo::cli
