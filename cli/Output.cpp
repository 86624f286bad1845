#include "cli/Output.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>

namespace abrivo::cli {
namespace {

// Whether a block is being written, or the program is ending.
enum State : int { kIdle, kWriting, kEnding };
std::atomic<int> gState{kIdle};
std::atomic<int> gPendingSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Runs in whichever thread the signal reaches. The signal is noted first, so
// a writer that finishes its block afterwards sees it.
extern "C" void onInterrupt(int signal) {
  gPendingSignal.store(signal);
  int idle = kIdle;
  if (gState.compare_exchange_strong(idle, kEnding)) _exit(128 + signal);
}

// Writes all of data, or stops at the first error. Returns the bytes written.
std::size_t writeAll(int fd, const char* data, std::size_t size) {
  int idle = kIdle;
  if (!gState.compare_exchange_strong(idle, kWriting)) {
    for (;;) pause();  // a handler is ending the program
  }
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  gState.store(kIdle);
  if (const int signal = gPendingSignal.load(); signal != 0) _exit(128 + signal);
  return done;
}

}  // namespace

FdOutput::int_type FdOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  return writeAll(m_fd, &byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize FdOutput::xsputn(const char* s, std::streamsize n) {
  if (n <= 0) return 0;
  return static_cast<std::streamsize>(writeAll(m_fd, s, static_cast<std::size_t>(n)));
}

void installInterruptHandlers() {
  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM}) {
    // A signal ignored when the program started (a background job's SIGINT)
    // stays ignored.
    struct sigaction old = {};
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

}  // namespace abrivo::cli
