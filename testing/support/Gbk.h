// Tests write their texts in UTF-8; the engine works on GBK bytes.
#pragma once

#include <string>
#include <string_view>

namespace abrivo::testing {

// The GBK (GB18030) bytes of a UTF-8 literal; aborts the test on bad input.
std::string gbk(std::string_view utf8);
// The UTF-8 form of engine bytes, for readable failure messages.
std::string utf8(std::string_view gbkBytes);

}  // namespace abrivo::testing
