// Standard output of abrivo-cli as a stream buffer that writes every block
// it is given with write(2) at once, looping over partial writes: a result
// line handed over whole reaches a file opened for appending in one write, so
// two processes appending to one file never mix their lines.
//
// SIGINT and SIGTERM end the program at once, unless they come while a block
// is being written; then the block is finished first. Output therefore holds
// only whole blocks, and the exit status is 130 or 143.
#pragma once

#include <streambuf>

namespace abrivo::cli {

class FdOutput : public std::streambuf {
 public:
  explicit FdOutput(int fd) : m_fd(fd) {}

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;

 private:
  int m_fd;
};

// Installs the handlers of SIGINT and SIGTERM that FdOutput works with.
void installInterruptHandlers();

}  // namespace abrivo::cli
