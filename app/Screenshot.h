// `abrivo --run-and-screenshot FILE`: once the window is up, presses 摘要,
// saves a picture of the window as FILE (PNG) and quits with exit code 0, or
// 1 when the file cannot be written. Used by tools/screenshot.sh.
#pragma once

#include <QStringList>

namespace abrivo {

class MainWindow;

// Schedules the screenshot when arguments ask for one. Returns false, after
// printing the usage, when the option lacks its file.
bool scheduleScreenshot(MainWindow& window, const QStringList& arguments);

}  // namespace abrivo
