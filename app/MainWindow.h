// The window: the controls at their fixed places, the four click handlers,
// and the hand-over between the widgets and the engine's control state.
//
// The window also takes files: a file dropped on the article box, or opened
// with Ctrl+O or the box's context menu, becomes the article; a file dropped
// on the headline box gives its first line as the headline. Ctrl+S or the
// output box's context menu saves the summary. Ctrl+Enter starts a run from
// anywhere; during a run the start button is disabled and the cursor shows
// that the program is busy.
//
// The window owns one Engine. Before a run it copies the boxes and the length
// list into engine.controls; while the engine works it shows the progress in
// 标签2 and lets pending events run; afterwards it shows 编辑框1, 标签2 and
// 标签3 from engine.controls. Handlers that run in the middle of a run write
// both the widgets and engine.controls, so the engine sees their effect in
// the same run.
//
// Tested by tests/gui/main_window_test.cpp, tests/gui/files_test.cpp,
// tests/gui/small_screen_test.cpp and tests/gui/program_test.cpp.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <string>

#include "Dialogs.h"
#include "abrivo/internal/Engine.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace abrivo {

// Where the window opens on a screen whose free area is available: the
// outer frame (with the usual title bar and borders), centred. On a screen
// too small for the window the frame is cut to the area and the controls
// scroll inside it.
QRect initialFrame(const QRect& available);

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The engine behind the window, for tests that read the control state or
  // install their own term counter.
  Engine& engine() { return m_engine; }

  // The dialogs the window opens; the standard ones by default. A stand-in
  // must outlive the window.
  void setDialogs(Dialogs* dialogs);

  // The fixed-size area that holds the controls.
  QWidget* client() const { return m_client; }

 public slots:
  // The click handlers of 摘要, 按钮1, 按钮2 and 按钮3.
  void runSummary();
  void clearAll();
  void loadSample2();
  void loadSample3();

  // Ctrl+O and Ctrl+S.
  void openArticleFile();
  void saveSummary();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dropped on the boxes, and Enter on the start button.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Box { Title, Article };

  void createControls();
  void describeControls();
  void arrangeTabOrder();
  void connectHandlers();
  void createFileActions();
  void placeOnScreen();
  void loadDefaultTexts();
  // The engine's processEventsHook.
  void dispatchPendingEvents();

  void setTitleText(const QString& text);
  void setContentText(const QString& text);
  void setOutputText(const QString& text);
  void setLabelText(QLabel* label, std::string& control, const QString& text);

  bool dropFile(QEvent* event, Box box);
  void loadFile(const QString& path, Box box);
  void showContextMenu(QPlainTextEdit* box, QAction* extra, const QPoint& pos);

  Engine m_engine;
  QElapsedTimer m_sinceDispatch;
  QtDialogs m_qtDialogs;
  Dialogs* m_dialogs = &m_qtDialogs;
  QString m_lastDirectory;  // of the last file opened or saved

  QScrollArea* m_scrollArea = nullptr;
  QWidget* m_client = nullptr;
  QAction* m_openAction = nullptr;
  QAction* m_saveAction = nullptr;

  QLineEdit* m_标题框 = nullptr;
  QPushButton* m_按钮1 = nullptr;
  QComboBox* m_组合框1 = nullptr;
  QLabel* m_标签1 = nullptr;
  QPushButton* m_摘要 = nullptr;
  QPlainTextEdit* m_内容框 = nullptr;
  QPlainTextEdit* m_编辑框1 = nullptr;
  QLabel* m_标签3 = nullptr;
  QLabel* m_标签2 = nullptr;
  QPushButton* m_按钮2 = nullptr;
  QPushButton* m_按钮3 = nullptr;
  QLabel* m_标签4 = nullptr;
};

}  // namespace abrivo
