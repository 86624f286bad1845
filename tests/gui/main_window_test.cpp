// The window: its controls at start, the click handlers and the order of
// their effects, runs on the sample texts, what happens while a run lets
// events through, the keys, the busy state, and where the window opens.
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <stdexcept>

#include "BoxText.h"
#include "MainWindow.h"
#include "PausingCounter.h"
#include "Samples.h"

using abrivo::boxText;
using abrivo::Engine;
using abrivo::fromEngineText;
using abrivo::MainWindow;
using abrivo::toEngineText;
using abrivo::testing::PausingCounter;
using abrivo::testing::runAsPendingEvent;
using abrivo::testing::spinUntil;
using namespace Qt::StringLiterals;

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QString sampleTitle(int n) {
  return fromUtf8(abrivo::samples::sample(n).title);
}
QString sampleArticle(int n) {
  return fromUtf8(abrivo::samples::sample(n).article);
}

template <typename Widget>
Widget* control(MainWindow& window, const QString& name) {
  auto* widget = window.findChild<Widget*>(name);
  if (!widget) qFatal("no control %s", qPrintable(name));
  return widget;
}
QLineEdit* titleBox(MainWindow& w) {
  return control<QLineEdit>(w, u"标题框"_s);
}
QPlainTextEdit* contentBox(MainWindow& w) {
  return control<QPlainTextEdit>(w, u"内容框"_s);
}
QPlainTextEdit* outputBox(MainWindow& w) {
  return control<QPlainTextEdit>(w, u"编辑框1"_s);
}
QComboBox* lengthList(MainWindow& w) {
  return control<QComboBox>(w, u"组合框1"_s);
}
QLabel* label(MainWindow& w, int n) {
  return control<QLabel>(w, u"标签%1"_s.arg(n));
}
QPushButton* button(MainWindow& w, const QString& name) {
  return control<QPushButton>(w, name);
}

// The status line of a Chinese run: sizes in characters of two bytes.
QString chineseStatusLine(const std::string& article, const std::string& summary) {
  return u"原文%1字，摘要%2字"_s.arg(article.size() / 2).arg(summary.size() / 2);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initialState();
  void layout_data();
  void layout();
  void tabOrder();
  void enterNeverStartsARun_data();
  void enterNeverStartsARun();
  void outputBoxFont();

  void handlers_data();
  void handlers();

  void runOnEachSample_data();
  void runOnEachSample();
  void nonGbkTextSurvivesARun_data();
  void nonGbkTextSurvivesARun();

  void progressShowsDuringARun();
  void secondPressDuringARunIsIgnored();
  void handlerDuringARunReachesTheEngine_data();
  void handlerDuringARunReachesTheEngine();

  void outputScrollsWhenTheSummaryIsLong_data();
  void outputScrollsWhenTheSummaryIsLong();
  void busyDuringARun_data();
  void busyDuringARun();
  void keysStartARun_data();
  void keysStartARun();
  void statusLineHoldsNineDigits();
  void accessibleNamesAndTips_data();
  void accessibleNamesAndTips();
  void initialFrame_data();
  void initialFrame();

 private:
  static void show(MainWindow& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
  }
};

void MainWindowTest::initialState() {
  MainWindow w;
  QCOMPARE(w.windowTitle(), u"Abrivov1.2"_s);
  QCOMPARE(w.minimumSize(), w.maximumSize());
  QVERIFY(w.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!w.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(w.windowIcon().availableSizes().contains(QSize(16, 16)));

  QComboBox* list = lengthList(w);
  QVERIFY(!list->isEditable());
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  QCOMPARE(items, (QStringList{u"<200字 英文x2"_s, u"<300字 英文x2"_s, u"<400字 英文x2"_s,
                               u"<500字 英文x2"_s}));
  QCOMPARE(list->currentIndex(), 0);
  QCOMPARE(list->currentText(), u"<200字 英文x2"_s);

  QLabel* keywords = label(w, 3);
  QVERIFY(!keywords->isVisibleTo(&w));
  QVERIFY(!keywords->isEnabled());

  QCOMPARE(titleBox(w)->text(), sampleTitle(1));
  QCOMPARE(boxText(*contentBox(w)), sampleArticle(1));
  QCOMPARE(boxText(*outputBox(w)), QString());

  // No list controls: the engine's tables serve. The length list's own popup
  // view is the only item view.
  for (const QString& name : {u"超级列表框1"_s, u"超级列表框2"_s, u"超级列表框3"_s})
    QVERIFY2(!w.findChild<QObject*>(name), qPrintable(name));
  for (QAbstractItemView* view : w.findChildren<QAbstractItemView*>()) {
    QObject* owner = view;
    while (owner && owner != list) owner = owner->parent();
    QVERIFY2(owner == list, view->metaObject()->className());
  }

  // The engine starts from what the window shows.
  const abrivo::ControlState& controls = w.engine().controls;
  QCOMPARE(controls.标题框, toEngineText(sampleTitle(1)));
  QCOMPARE(controls.内容框, toEngineText(sampleArticle(1)));
  QCOMPARE(controls.标签3, toEngineText(u"关键词：  "_s));
  QCOMPARE(controls.组合框1, 0);

  show(w);
  // 标签1 lies over the list's arrow; a click there reaches the list.
  QCOMPARE(w.client()->childAt(590, 20), list);
  const QPoint offset = w.frameGeometry().center() - w.screen()->availableGeometry().center();
  QVERIFY2(qAbs(offset.x()) <= 8 && qAbs(offset.y()) <= 16, "the window opens centred");
}

void MainWindowTest::layout_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("caption");  // of a button or label
  QTest::addColumn<bool>("shown");

  QTest::newRow("标题框") << "QLineEdit" << QRect(8, 8, 304, 24) << QString() << true;
  QTest::newRow("按钮1") << "QPushButton" << QRect(312, 8, 48, 24) << u"清空"_s << true;
  QTest::newRow("组合框1") << "QComboBox" << QRect(482, 10, 118, 20) << QString() << true;
  QTest::newRow("标签1") << "QLabel" << QRect(544, 8, 56, 24) << QString() << true;
  QTest::newRow("摘要") << "QPushButton" << QRect(613, 8, 96, 24) << u"开始摘要"_s << true;
  QTest::newRow("内容框") << "QPlainTextEdit" << QRect(8, 40, 704, 264) << QString() << true;
  QTest::newRow("编辑框1") << "QPlainTextEdit" << QRect(8, 312, 704, 152) << QString() << true;
  QTest::newRow("标签3") << "QLabel" << QRect(9, 465, 287, 24) << u"关键词：  "_s << false;
  QTest::newRow("标签2") << "QLabel" << QRect(344, 464, 360, 24) << QString() << true;
  QTest::newRow("按钮2") << "QPushButton" << QRect(8, 480, 104, 24) << u"例文二 4千字"_s << true;
  QTest::newRow("按钮3") << "QPushButton" << QRect(120, 480, 104, 24) << u"例文三 英文"_s << true;
  QTest::newRow("标签4") << "QLabel" << QRect(464, 488, 240, 24) << u"反馈：abrivo@example.org"_s
                         << true;
}

void MainWindowTest::layout() {
  QFETCH(QString, kind);
  QFETCH(QRect, place);
  QFETCH(QString, caption);
  QFETCH(bool, shown);
  MainWindow w;
  auto* widget = control<QWidget>(w, QString::fromUtf8(QTest::currentDataTag()));
  QVERIFY(widget->inherits(qPrintable(kind)));
  QCOMPARE(widget->parentWidget(), w.client());
  QCOMPARE(widget->geometry(), place);
  QCOMPARE(widget->isVisibleTo(&w), shown);
  if (auto* b = qobject_cast<QPushButton*>(widget)) QCOMPARE(b->text(), caption);
  if (auto* l = qobject_cast<QLabel*>(widget)) QCOMPARE(l->text(), caption);
}

void MainWindowTest::tabOrder() {
  MainWindow w;
  show(w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  titleBox(w)->setFocus();
  QStringList visited{QApplication::focusWidget()->objectName()};
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(visited, (QStringList{u"标题框"_s, u"按钮1"_s, u"组合框1"_s, u"摘要"_s, u"内容框"_s,
                                 u"编辑框1"_s, u"按钮2"_s, u"按钮3"_s, u"标题框"_s}));
}

void MainWindowTest::enterNeverStartsARun_data() {
  QTest::addColumn<bool>("breaksTheLine");
  QTest::newRow("标题框") << false;
  QTest::newRow("内容框") << true;
  QTest::newRow("组合框1") << false;
}

void MainWindowTest::enterNeverStartsARun() {
  QFETCH(bool, breaksTheLine);
  MainWindow w;
  show(w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* box = control<QWidget>(w, QString::fromUtf8(QTest::currentDataTag()));
  box->setFocus();
  const qsizetype lines = boxText(*contentBox(w)).count(u'\n');
  QTest::keyClick(box, Qt::Key_Return);
  QTest::keyClick(box, Qt::Key_Enter);
  QCOMPARE(label(w, 2)->text(), QString());
  QCOMPARE(w.engine().sentenceTable().rowCount(), 0);
  QCOMPARE(boxText(*contentBox(w)).count(u'\n'), lines + (breaksTheLine ? 2 : 0));
}

void MainWindowTest::outputBoxFont() {
  MainWindow w;
  QPlainTextEdit* output = outputBox(w);
  QCOMPARE(output->font().families().value(0), u"SimSun"_s);
  QCOMPARE(output->font().pixelSize(), 14);
  QCOMPARE(output->palette().color(QPalette::Active, QPalette::Text), QColor(128, 0, 0));
  QCOMPARE(output->palette().color(QPalette::Inactive, QPalette::Text), QColor(128, 0, 0));
  // Where SimSun is missing, a font that covers Chinese stands in.
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  const QString used = QFontInfo(output->font()).family();
  if (!chinese.isEmpty()) QVERIFY2(chinese.contains(used), qPrintable(used));
}

void MainWindowTest::handlers_data() {
  QTest::addColumn<QString>("pressed");
  QTest::addColumn<QStringList>("order");  // of the boxes' changes
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("content");
  QTest::addColumn<bool>("clearsLabels");

  QTest::newRow("clearAll") << u"按钮1"_s << QStringList{u"内容框"_s, u"编辑框1"_s, u"标题框"_s}
                            << QString() << QString() << true;
  QTest::newRow("loadSample2") << u"按钮2"_s << QStringList{u"标题框"_s, u"编辑框1"_s, u"内容框"_s}
                               << sampleTitle(2) << sampleArticle(2) << false;
  QTest::newRow("loadSample3") << u"按钮3"_s << QStringList{u"标题框"_s, u"内容框"_s, u"编辑框1"_s}
                               << sampleTitle(3) << sampleArticle(3) << false;
}

void MainWindowTest::handlers() {
  QFETCH(QString, pressed);
  QFETCH(QStringList, order);
  QFETCH(QString, title);
  QFETCH(QString, content);
  QFETCH(bool, clearsLabels);

  MainWindow w;
  show(w);
  lengthList(w)->setCurrentIndex(2);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);
  QVERIFY(!boxText(*outputBox(w)).isEmpty());
  const Engine& engine = w.engine();
  const int rows[] = {engine.sentenceTable().rowCount(), engine.termTable().rowCount(),
                      engine.candidateTable().rowCount()};
  QVERIFY(rows[0] > 0 && rows[1] > 0 && rows[2] > 0);
  const QString status = label(w, 2)->text();
  const QString keywords = label(w, 3)->text();

  QStringList changed;
  auto record = [&changed](QObject* box) {
    if (changed.isEmpty() || changed.last() != box->objectName()) changed << box->objectName();
  };
  connect(titleBox(w), &QLineEdit::textChanged, this, [&] { record(titleBox(w)); });
  connect(contentBox(w), &QPlainTextEdit::textChanged, this, [&] { record(contentBox(w)); });
  connect(outputBox(w), &QPlainTextEdit::textChanged, this, [&] { record(outputBox(w)); });
  QTest::mouseClick(button(w, pressed), Qt::LeftButton);
  disconnect(titleBox(w), nullptr, this, nullptr);
  disconnect(contentBox(w), nullptr, this, nullptr);
  disconnect(outputBox(w), nullptr, this, nullptr);

  QCOMPARE(changed, order);
  QCOMPARE(titleBox(w)->text(), title);
  QCOMPARE(boxText(*contentBox(w)), content);
  QCOMPARE(boxText(*outputBox(w)), QString());
  QCOMPARE(engine.controls.标题框, toEngineText(title));
  QCOMPARE(engine.controls.内容框, toEngineText(content));
  QCOMPARE(engine.controls.编辑框1, std::string());

  if (clearsLabels) {
    for (int n : {1, 2, 3}) QCOMPARE(label(w, n)->text(), QString());
    QCOMPARE(engine.controls.标签2, std::string());
    QCOMPARE(engine.controls.标签3, std::string());
  } else {
    QCOMPARE(label(w, 2)->text(), status);
    QCOMPARE(label(w, 3)->text(), keywords);
  }
  // Neither the length list nor the tables change.
  QCOMPARE(lengthList(w)->currentIndex(), 2);
  QCOMPARE(engine.sentenceTable().rowCount(), rows[0]);
  QCOMPARE(engine.termTable().rowCount(), rows[1]);
  QCOMPARE(engine.candidateTable().rowCount(), rows[2]);
}

void MainWindowTest::runOnEachSample_data() {
  QTest::addColumn<int>("sample");
  QTest::addColumn<int>("length");  // index in the length list

  QTest::newRow("default article, <200字") << 1 << 0;
  QTest::newRow("sample two, <500字") << 2 << 3;
  QTest::newRow("sample three (English), <300字") << 3 << 1;
}

void MainWindowTest::runOnEachSample() {
  QFETCH(int, sample);
  QFETCH(int, length);
  MainWindow w;
  show(w);
  if (sample != 1) QTest::mouseClick(button(w, u"按钮%1"_s.arg(sample)), Qt::LeftButton);
  lengthList(w)->setCurrentIndex(length);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);

  // The window shows what the engine makes of the same texts and length.
  Engine direct;
  direct.controls.标题框 = toEngineText(sampleTitle(sample));
  direct.controls.内容框 = toEngineText(sampleArticle(sample));
  direct.controls.组合框1 = length;
  direct.runSummary();
  QVERIFY(!direct.controls.编辑框1.empty());
  QCOMPARE(boxText(*outputBox(w)), fromEngineText(direct.controls.编辑框1));
  QCOMPARE(label(w, 2)->text(), fromEngineText(direct.controls.标签2));
  QCOMPARE(label(w, 3)->text(), fromEngineText(direct.controls.标签3));

  QVERIFY(label(w, 2)->text().startsWith(u"原文"_s));
  QVERIFY(label(w, 3)->text().startsWith(u"关键词："_s));
  QVERIFY(!label(w, 3)->isVisible());
}

void MainWindowTest::nonGbkTextSurvivesARun_data() {
  QTest::addColumn<QString>("article");
  QTest::addColumn<QString>("outsideGbk");  // characters every sentence holds

  QTest::newRow("English with emoji")
      << u"The tidal station 🌊 at Calder Bay will open in May. The tidal station 🌊 "
         u"gives power to nine hundred homes. Council members said the tidal station 🌊 "
         u"is cheaper than wind. The tidal station 🌊 will be built by a local firm."_s
      << u"🌊"_s;
  QTest::newRow("Chinese with a rare ideograph")
      << u"𠀀镇的长者食堂今天开张，老人在食堂吃上热乎饭。𠀀镇的长者食堂由村委会改造而成，"
         u"老人在食堂吃饭只要十元。𠀀镇的长者食堂还为独居老人送餐，老人在家也能吃上热乎饭。\n"
         u"𠀀镇的长者食堂明年再开五家，让更多老人在食堂吃上热乎饭。"_s
      << u"𠀀"_s;
}

void MainWindowTest::nonGbkTextSurvivesARun() {
  QFETCH(QString, article);
  QFETCH(QString, outsideGbk);
  MainWindow w;
  show(w);
  contentBox(w)->setPlainText(article);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);

  QCOMPARE(fromEngineText(w.engine().controls.内容框), article);
  const QString summary = boxText(*outputBox(w));
  QVERIFY(!summary.isEmpty());
  QVERIFY2(!summary.contains(QChar::ReplacementCharacter), qPrintable(summary));
  QVERIFY2(summary.contains(outsideGbk), qPrintable(summary));
}

void MainWindowTest::progressShowsDuringARun() {
  MainWindow w;
  show(w);
  bool shown = false;
  PausingCounter counter(w.engine(), [&](Engine& engine) {
    engine.controls.标签2 = "37%";
    shown = spinUntil(engine, [&] { return label(w, 2)->text() == u"37%"_s; });
  });
  w.engine().setChineseTermCounter(&counter);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);
  QCOMPARE(counter.calls(), 1);
  QVERIFY(shown);
  QVERIFY(label(w, 2)->text().startsWith(u"原文"_s));
}

void MainWindowTest::secondPressDuringARunIsIgnored() {
  MainWindow w;
  show(w);
  bool pressed = false;
  QString outputDuringRun, keywordsDuringRun;
  PausingCounter counter(w.engine(), [&](Engine& engine) {
    // A second run, or a window that showed the unfinished state, would show these.
    engine.controls.编辑框1 = "unfinished";
    engine.controls.标签3 = "unfinished";
    pressed = runAsPendingEvent(engine, [&] { button(w, u"摘要"_s)->click(); });
    outputDuringRun = boxText(*outputBox(w));
    keywordsDuringRun = label(w, 3)->text();
  });
  w.engine().setChineseTermCounter(&counter);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);
  QVERIFY(pressed);
  QCOMPARE(counter.calls(), 1);
  QCOMPARE(outputDuringRun, QString());
  QCOMPARE(keywordsDuringRun, u"关键词：  "_s);
  QVERIFY(label(w, 2)->text().startsWith(u"原文"_s));
}

void MainWindowTest::handlerDuringARunReachesTheEngine_data() {
  QTest::addColumn<QString>("action");  // a button, or "typing"
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("content");

  QTest::newRow("clearAll") << u"按钮1"_s << QString() << QString();
  QTest::newRow("loadSample2") << u"按钮2"_s << sampleTitle(2) << sampleArticle(2);
  QTest::newRow("loadSample3") << u"按钮3"_s << sampleTitle(3) << sampleArticle(3);
  QTest::newRow("typing in 标题框") << u"typing"_s << sampleTitle(1) + u"XYZ"_s << sampleArticle(1);
}

void MainWindowTest::handlerDuringARunReachesTheEngine() {
  QFETCH(QString, action);
  QFETCH(QString, title);
  QFETCH(QString, content);
  MainWindow w;
  show(w);
  bool acted = false;
  PausingCounter counter(w.engine(), [&](Engine& engine) {
    acted = runAsPendingEvent(engine, [&] {
      if (action == u"typing"_s)
        QTest::keyClicks(titleBox(w), u"XYZ"_s);
      else
        button(w, action)->click();
    });
  });
  w.engine().setChineseTermCounter(&counter);
  QTest::mouseClick(button(w, u"摘要"_s), Qt::LeftButton);
  QVERIFY(acted);

  // The stages after the pause read what the handler left: the headline
  // weighting reads 标题框, the status line measures 内容框 and 编辑框1.
  const abrivo::ControlState& controls = w.engine().controls;
  QCOMPARE(controls.标题框, toEngineText(title));
  QCOMPARE(controls.内容框, toEngineText(content));
  QCOMPARE(label(w, 2)->text(), chineseStatusLine(controls.内容框, controls.编辑框1));
  QCOMPARE(titleBox(w)->text(), title);
  QCOMPARE(boxText(*contentBox(w)), content);
  QCOMPARE(boxText(*outputBox(w)), fromEngineText(controls.编辑框1));
}

void MainWindowTest::outputScrollsWhenTheSummaryIsLong_data() {
  QTest::addColumn<int>("sample");
  QTest::addColumn<int>("length");

  QTest::newRow("default article, <200字 (fits)") << 1 << 0;
  for (int sample : {2, 3}) {
    for (int length = 0; length < 4; ++length)
      QTest::addRow("sample %d, <%d00字", sample, length + 2) << sample << length;
  }
}

void MainWindowTest::outputScrollsWhenTheSummaryIsLong() {
  QFETCH(int, sample);
  QFETCH(int, length);
  MainWindow w;
  show(w);
  if (sample != 1) button(w, u"按钮%1"_s.arg(sample))->click();
  lengthList(w)->setCurrentIndex(length);
  button(w, u"摘要"_s)->click();
  QPlainTextEdit* output = outputBox(w);
  QVERIFY(!boxText(*output).isEmpty());
  QScrollBar* bar = output->verticalScrollBar();
  const int viewHeight = output->viewport()->height();

  QTextCursor end(output->document());
  end.movePosition(QTextCursor::End);
  bar->setValue(bar->minimum());
  const bool fits = output->cursorRect(end).bottom() < viewHeight;
  // The scroll bar shows exactly when the summary does not fit (once the box
  // has laid out its text).
  QTRY_COMPARE(bar->isVisible(), !fits);
  if (sample == 2 && length == 3) QVERIFY2(!fits, "the longest summary needs the scroll bar");
  if (sample == 1) QVERIFY2(fits, "a short summary leaves the box as it was");

  // Scrolled down, the summary can be read to its last line.
  bar->setValue(bar->maximum());
  const QRect last = output->cursorRect(end);
  QVERIFY2(last.top() >= 0 && last.bottom() < viewHeight,
           qPrintable(u"end at %1..%2 of %3"_s.arg(last.top()).arg(last.bottom()).arg(viewHeight)));
}

void MainWindowTest::busyDuringARun_data() {
  QTest::addColumn<bool>("fails");
  QTest::newRow("run ends") << false;
  QTest::newRow("run fails") << true;
}

void MainWindowTest::busyDuringARun() {
  QFETCH(bool, fails);
  MainWindow w;
  show(w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QPushButton* start = button(w, u"摘要"_s);
  start->setFocus();
  bool enabledDuringRun = true;
  Qt::CursorShape cursorDuringRun = Qt::ArrowCursor;
  PausingCounter counter(w.engine(), [&](Engine& engine) {
    engine.processEvents();
    enabledDuringRun = start->isEnabled();
    if (const QCursor* cursor = QGuiApplication::overrideCursor())
      cursorDuringRun = cursor->shape();
    if (fails) throw std::runtime_error("a stage failed");
  });
  w.engine().setChineseTermCounter(&counter);

  if (fails)
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, w.runSummary());
  else
    QTest::keyClick(start, Qt::Key_Space);
  QCOMPARE(counter.calls(), 1);
  QVERIFY(!enabledDuringRun);
  QCOMPARE(cursorDuringRun, Qt::BusyCursor);

  // Restored however the run ended; the focus is back on the button.
  QVERIFY(!w.engine().isRunning());
  QVERIFY(start->isEnabled());
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  QCOMPARE(QApplication::focusWidget(), start);
  if (!fails) QVERIFY(label(w, 2)->text().startsWith(u"原文"_s));
}

void MainWindowTest::keysStartARun_data() {
  QTest::addColumn<QString>("focus");
  QTest::addColumn<int>("key");
  QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
  QTest::newRow("Ctrl+Return in 内容框") << u"内容框"_s << int(Qt::Key_Return) << ctrl;
  QTest::newRow("Ctrl+Enter in 内容框") << u"内容框"_s << int(Qt::Key_Enter) << (ctrl | keypad);
  QTest::newRow("Ctrl+Return in 标题框") << u"标题框"_s << int(Qt::Key_Return) << ctrl;
  QTest::newRow("Ctrl+Return in 编辑框1") << u"编辑框1"_s << int(Qt::Key_Return) << ctrl;
  QTest::newRow("Ctrl+Return on 组合框1") << u"组合框1"_s << int(Qt::Key_Return) << ctrl;
  QTest::newRow("Ctrl+Enter on 按钮2") << u"按钮2"_s << int(Qt::Key_Enter) << (ctrl | keypad);
  QTest::newRow("Return on 摘要") << u"摘要"_s << int(Qt::Key_Return) << Qt::KeyboardModifiers();
  QTest::newRow("Enter on 摘要") << u"摘要"_s << int(Qt::Key_Enter) << keypad;
  QTest::newRow("Space on 摘要") << u"摘要"_s << int(Qt::Key_Space) << Qt::KeyboardModifiers();
}

void MainWindowTest::keysStartARun() {
  QFETCH(QString, focus);
  QFETCH(int, key);
  QFETCH(Qt::KeyboardModifiers, modifiers);
  MainWindow w;
  show(w);
  QVERIFY(QTest::qWaitForWindowActive(&w));
  auto* widget = control<QWidget>(w, focus);
  widget->setFocus();
  const QString title = titleBox(w)->text();
  const QString content = boxText(*contentBox(w));

  QTest::keyClick(widget, Qt::Key(key), modifiers);
  QVERIFY2(label(w, 2)->text().startsWith(u"原文"_s), qPrintable(label(w, 2)->text()));
  QVERIFY(!boxText(*outputBox(w)).isEmpty());
  // The key went to the run, not into a box; the focus stays.
  QCOMPARE(titleBox(w)->text(), title);
  QCOMPARE(boxText(*contentBox(w)), content);
  QCOMPARE(lengthList(w)->currentIndex(), 0);
  QCOMPARE(QApplication::focusWidget(), widget);
}

void MainWindowTest::statusLineHoldsNineDigits() {
  MainWindow w;
  show(w);
  button(w, u"摘要"_s)->click();
  // The status line a run writes, with counts as long as a 512 MB article
  // gives.
  QString status = label(w, 2)->text();
  QVERIFY(status.startsWith(u"原文"_s));
  status.replace(QRegularExpression(u"\\d+"_s), u"536870912"_s);
  QLabel* line = label(w, 2);
  line->setText(status);
  QVERIFY2(line->fontMetrics().horizontalAdvance(status) <= line->contentsRect().width(),
           qPrintable(status));
  // It ends where it always did, at the right edge of the output box.
  QCOMPARE(line->geometry().right(), outputBox(w)->geometry().right() - 8);
  QVERIFY(line->alignment().testFlag(Qt::AlignRight));
}

void MainWindowTest::accessibleNamesAndTips_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("标题框") << u"标题"_s;
  QTest::newRow("内容框") << u"正文"_s;
  QTest::newRow("编辑框1") << u"摘要"_s;
  QTest::newRow("组合框1") << u"摘要长度"_s;
  QTest::newRow("摘要") << u"开始摘要"_s;
  QTest::newRow("按钮1") << u"清空"_s;
  QTest::newRow("按钮2") << u"载入例文二"_s;
  QTest::newRow("按钮3") << u"载入例文三"_s;
}

void MainWindowTest::accessibleNamesAndTips() {
  QFETCH(QString, name);
  MainWindow w;
  auto* widget = control<QWidget>(w, QString::fromUtf8(QTest::currentDataTag()));
  QCOMPARE(widget->accessibleName(), name);
  const QString tip = widget->toolTip();
  QVERIFY2(tip.contains(QRegularExpression(u"\\p{Han}{2}"_s)), qPrintable(tip));

  // What a screen reader gets: the name, and the tip as the description. A
  // list's name is its current item on Linux.
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  QVERIFY(accessible);
  if (!widget->inherits("QComboBox")) QCOMPARE(accessible->text(QAccessible::Name), name);
  QCOMPARE(accessible->text(QAccessible::Description), tip);
}

void MainWindowTest::initialFrame_data() {
  QTest::addColumn<QRect>("available");
  QTest::addColumn<QSize>("size");  // of the frame

  QTest::newRow("large screen") << QRect(0, 0, 1920, 1040) << QSize(723, 546);
  QTest::newRow("exactly the window") << QRect(0, 0, 723, 546) << QSize(723, 546);
  QTest::newRow("second screen, panel on top") << QRect(1920, 32, 1024, 736) << QSize(723, 546);
  QTest::newRow("1366x768 at 150 %") << QRect(0, 0, 911, 488) << QSize(723, 488);
  QTest::newRow("narrow") << QRect(0, 0, 600, 1000) << QSize(600, 546);
  QTest::newRow("1024x768 at 200 %, panel on the left")
      << QRect(24, 0, 488, 384) << QSize(488, 384);
}

void MainWindowTest::initialFrame() {
  QFETCH(QRect, available);
  QFETCH(QSize, size);
  const QRect frame = abrivo::initialFrame(available);
  QCOMPARE(frame.size(), size);
  QVERIFY(available.contains(frame));
  const QPoint offset = frame.center() - available.center();
  QVERIFY(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
