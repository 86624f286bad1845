#include "support/Gbk.h"

#include <cstdlib>
#include <iostream>

#include "abrivo/internal/api/Boundary.h"

namespace abrivo::testing {

std::string gbk(std::string_view utf8Text) {
  try {
    return boundary::toEngineText(utf8Text, "test text");
  } catch (const InvalidText& e) {
    std::cerr << e.what() << '\n';
    std::abort();
  }
}

std::string utf8(std::string_view gbkBytes) {
  return boundary::fromEngineText(gbkBytes);
}

}  // namespace abrivo::testing
