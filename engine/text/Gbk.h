// GBK byte strings that more than one stage uses, named after what they are.
#pragma once

#include <string_view>

namespace abrivo::gbk {

inline constexpr std::string_view kDe = "\xB5\xC4";          // 的
inline constexpr std::string_view kBreakMark = "\xA1\xFE";   // 〓, the sentence-break mark
inline constexpr std::string_view kFullStop = "\xA1\xA3";    // 。
inline constexpr std::string_view kComma = "\xA3\xAC";       // ，
inline constexpr std::string_view kColon = "\xA3\xBA";       // ：
inline constexpr std::string_view kOpenParen = "\xA3\xA8";   // （
inline constexpr std::string_view kCloseParen = "\xA3\xA9";  // ）
inline constexpr std::string_view kKeywordPrefix =
    "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA ";                                 // 关键词：+space
inline constexpr std::string_view kStatusOriginal = "\xD4\xAD\xCE\xC4";  // 原文
inline constexpr std::string_view kStatusSummary = "\xD7\xD6\xA3\xAC\xD5\xAA\xD2\xAA";  // 字，摘要
inline constexpr std::string_view kStatusChars = "\xD7\xD6";                            // 字

}  // namespace abrivo::gbk
