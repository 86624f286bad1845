// The built abrivo-cli as a process: each result line reaches its output in
// one write, and SIGINT or SIGTERM while it writes leave whole lines only.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>
#include <thread>

namespace {

// Starts the program with --jsonl and extra arguments, standard input from
// a file holding input, and standard output into outFd.
pid_t start(const std::string& input, int outFd, const char* extra = nullptr) {
  char path[] = "/tmp/abrivo-process-XXXXXX";
  const int inFd = mkstemp(path);
  EXPECT_GE(inFd, 0);
  EXPECT_EQ(write(inFd, input.data(), input.size()), static_cast<ssize_t>(input.size()));
  lseek(inFd, 0, SEEK_SET);
  unlink(path);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(inFd, 0);
    dup2(outFd, 1);
    if (extra)
      execl(ABRIVO_CLI, ABRIVO_CLI, "--jsonl", extra, "2", static_cast<char*>(nullptr));
    else
      execl(ABRIVO_CLI, ABRIVO_CLI, "--jsonl", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(inFd);
  return pid;
}

// Records whose results are each longer than a few pages.
std::string records(int count) {
  std::string article;
  for (int i = 0; i < 150; ++i)
    article += "The ferry number " + std::to_string(i) + " left the harbour at dawn. ";
  std::string input;
  for (int i = 0; i < count; ++i)
    input += "{\"id\":" + std::to_string(i) + ",\"content\":\"" + article + "\"}\n";
  return input;
}

// A packet socket keeps the bounds of every write: each message read is one
// write of the program.
TEST(CliProcess, EachResultLineIsOneWrite) {
  for (const char* jobs : {"-j", static_cast<const char*>(nullptr)}) {
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
    const int size = 1 << 20;
    setsockopt(fds[1], SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
    const pid_t pid = start(records(20) + "\nnot json\n", fds[1], jobs);
    close(fds[1]);
    std::string message(1 << 20, '\0');
    int count = 0;
    for (ssize_t n; (n = read(fds[0], message.data(), message.size())) > 0; ++count) {
      const std::string_view line(message.data(), static_cast<std::size_t>(n));
      ASSERT_EQ(line.find('\n'), line.size() - 1) << "message " << count;
      EXPECT_TRUE(nlohmann::json::accept(line)) << "message " << count;
    }
    close(fds[0]);
    EXPECT_EQ(count, 21);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
}

TEST(CliProcess, InterruptLeavesWholeLines) {
  const struct {
    int signal;
    int status;
  } cases[] = {{SIGINT, 130}, {SIGTERM, 143}};
  for (const auto& c : cases) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    const pid_t pid = start(records(50), fds[1]);
    close(fds[1]);
    // Wait until the pipe is full: the program is then inside a result line,
    // each being longer than the pipe holds.
    const int capacity = fcntl(fds[0], F_GETPIPE_SZ);
    for (int queued = 0; queued < capacity;) {
      std::this_thread::yield();
      ioctl(fds[0], FIONREAD, &queued);
    }
    kill(pid, c.signal);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
      out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status) << status;
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out.back(), '\n') << "a partial line at the end";
    EXPECT_LT(out.size(), records(50).size()) << "stopped early";
  }
}

}  // namespace
