#include "support/Gbk.h"

#include <cstdlib>
#include <iostream>

#include "abrivo/internal/text/Encoding.h"

namespace abrivo::testing {

std::string gbk(std::string_view utf8Text) {
  auto r = utf8ToGb18030(utf8Text);
  if (!r) {
    std::cerr << "test text is not valid UTF-8\n";
    std::abort();
  }
  return *r;
}

std::string utf8(std::string_view gbkBytes) {
  return gb18030ToUtf8Lenient(gbkBytes);
}

}  // namespace abrivo::testing
