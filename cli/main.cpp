// abrivo-cli: summarises the default sample and prints the status line.
#include <iostream>

#include "Engine.h"
#include "Samples.h"
#include "text/Encoding.h"

int main() {
  const abrivo::samples::SamplePair pair = abrivo::samples::sample(1);
  abrivo::Engine engine;
  engine.controls.标题框 = abrivo::utf8ToGb18030Lenient(abrivo::toEngineLineBreaks(pair.title));
  engine.controls.内容框 = abrivo::utf8ToGb18030Lenient(abrivo::toEngineLineBreaks(pair.article));
  engine.runSummary();
  std::cout << abrivo::gb18030ToUtf8Lenient(engine.controls.编辑框1) << '\n'
            << abrivo::gb18030ToUtf8Lenient(engine.controls.标签2) << '\n';
}
