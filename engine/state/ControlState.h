// The values of the window's controls that the stages read and write, held
// as plain values so that the engine runs without a window. Texts are GBK
// byte strings with "\r\n" line breaks.
#pragma once

#include <string>

namespace abrivo {

struct ControlState {
  std::string 内容框;   // content box: the article
  std::string 标题框;   // title box: the headline
  std::string 编辑框1;  // output box: the summary
  std::string 标签2;    // status label: progress, then the status line
  std::string 标签3;    // keyword label (never shown)
  int 组合框1 = 0;      // length list: current index, -1 when nothing is selected
};

}  // namespace abrivo
