// Tests write their texts in UTF-8; the engine works on GBK bytes. Both
// directions go through the boundary every front end uses.
#pragma once

#include <string>
#include <string_view>

namespace abrivo::testing {

// The engine bytes of a UTF-8 literal: GB18030 with "\r\n" line breaks;
// aborts the test on bad input.
std::string gbk(std::string_view utf8);
// The UTF-8 form of engine bytes with "\n" line breaks, for readable failure
// messages.
std::string utf8(std::string_view gbkBytes);

}  // namespace abrivo::testing
