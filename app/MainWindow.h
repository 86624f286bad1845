// The window: the controls at their fixed places, the four click handlers,
// and the hand-over between the widgets and the engine's control state.
//
// The window owns one Engine. Before a run it copies the boxes and the length
// list into engine.controls; while the engine works it shows the progress in
// 标签2 and lets pending events run; afterwards it shows 编辑框1, 标签2 and
// 标签3 from engine.controls. Handlers that run in the middle of a run write
// both the widgets and engine.controls, so the engine sees their effect in
// the same run.
//
// Tested by tests/gui/main_window_test.cpp and tests/gui/program_test.cpp.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <string>

#include "abrivo/internal/Engine.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace abrivo {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // The engine behind the window, for tests that read the control state or
  // install their own term counter.
  Engine& engine() { return m_engine; }

 public slots:
  // The click handlers of 摘要, 按钮1, 按钮2 and 按钮3.
  void runSummary();
  void clearAll();
  void loadSample2();
  void loadSample3();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  void arrangeTabOrder();
  void connectHandlers();
  void loadDefaultTexts();
  // The engine's processEventsHook.
  void dispatchPendingEvents();

  void setTitleText(const QString& text);
  void setContentText(const QString& text);
  void setOutputText(const QString& text);
  void setLabelText(QLabel* label, std::string& control, const QString& text);

  Engine m_engine;
  QElapsedTimer m_sinceDispatch;

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
