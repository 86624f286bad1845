// Running out of memory: a record that does not fit gives an error line in
// its place and the batch goes on; a single article that does not fit exits
// 1 with a message. Any one allocation above a limit fails here, as a large
// one does on a machine without the memory.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "RunCli.h"
#include "cli/Cli.h"

namespace {

using abrivo::cli::testing::Outcome;

std::atomic<std::size_t> gLimit{0};  // 0: no limit

void* allocate(std::size_t size) {
  const std::size_t limit = gLimit.load();
  if (limit != 0 && size > limit) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return allocate(size);
}
void* operator new[](std::size_t size) {
  return allocate(size);
}
// The forms without exceptions too (temporary buffers of the sorts use them),
// so that every block freed here was allocated here.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace abrivo::cli {
namespace {

// Runs the command line with allocations above limit failing.
Outcome runLimited(std::vector<std::string_view> args, const std::string& input,
                   std::size_t limit) {
  std::istringstream in(input);
  std::ostringstream out, err;
  gLimit = limit;
  const int code = runCli(args, in, out, err);
  gLimit = 0;
  return {code, out.str(), err.str()};
}

TEST(CliMemory, RecordTooLargeForMemoryGivesAnErrorLine) {
  const std::string big(3 << 20, 'a');
  const std::string input = R"({"id":1,"content":"The tree is green."})"
                            "\n{\"id\":2,\"content\":\"" +
                            big + "\"}\n" + R"({"id":3,"content":"The leaves fall."})" + "\n";
  for (const char* jobs : {"1", "2"}) {
    const Outcome r = runLimited({"--jsonl", "-j", jobs}, input, 1 << 20);
    EXPECT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);) got.push_back(line.substr(0, 40));
    EXPECT_EQ(got, (std::vector<std::string>{R"({"id":1,"language":"en","summary":"The t)",
                                             R"({"id":null,"error":"out of memory"})",
                                             R"({"id":3,"language":"en","summary":"The l)"}))
        << "jobs " << jobs;
  }
}

TEST(CliMemory, ArticleTooLargeForMemoryExits1) {
  const Outcome r = runLimited({"-f", "json"}, std::string(3 << 20, 'a'), 1 << 20);
  EXPECT_EQ(r.code, kExitInputError);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "abrivo-cli: out of memory\n");
}

}  // namespace
}  // namespace abrivo::cli
