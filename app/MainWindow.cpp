#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "BoxText.h"
#include "Samples.h"

// The icons are compiled into this static library; they are registered on
// first use. Q_INIT_RESOURCE must stand outside any namespace.
static void initIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace abrivo {

namespace {

// The client area; a classic fixed frame (3-pixel border, 20-pixel caption)
// makes the outer size 723 x 546.
constexpr QSize kClientSize(717, 520);
constexpr QSize kOuterSize(723, 546);

// Events are dispatched at most this often during a run: often enough for the
// progress text to repaint and the window to respond, rarely enough that the
// engine's many calls of its hook cost next to nothing.
constexpr qint64 kDispatchIntervalMs = 15;

const QColor kOutputColour(128, 0, 0);

template <typename Widget>
Widget* place(QWidget* parent, const QString& name, const QRect& rect) {
  auto* widget = new Widget(parent);
  widget->setObjectName(name);
  widget->setGeometry(rect);
  return widget;
}

QPushButton* placeButton(QWidget* parent, const QString& name, const QRect& rect,
                         const QString& caption) {
  auto* button = place<QPushButton>(parent, name, rect);
  button->setText(caption);
  button->setAutoDefault(false);  // Enter in a box never starts a run
  return button;
}

QLabel* placeLabel(QWidget* parent, const QString& name, const QRect& rect) {
  auto* label = place<QLabel>(parent, name, rect);
  label->setTextFormat(Qt::PlainText);  // progress and keyword texts may hold "<"
  return label;
}

QPlainTextEdit* placeTextBox(QWidget* parent, const QString& name, const QRect& rect) {
  auto* box = place<QPlainTextEdit>(parent, name, rect);
  box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  box->setTabChangesFocus(true);
  return box;
}

// A box shows its selection only while it has the focus: without the focus
// the selection is painted with the Inactive colours, set here to those of
// unselected text.
void hideSelectionWithoutFocus(QWidget* box) {
  QPalette palette = box->palette();
  palette.setBrush(QPalette::Inactive, QPalette::Highlight,
                   palette.brush(QPalette::Inactive, QPalette::Base));
  palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                   palette.brush(QPalette::Inactive, QPalette::Text));
  box->setPalette(palette);
}

// SimSun at 14 pixels; where it is missing, a Song-style CJK font, else any
// installed font that covers Chinese.
QFont outputFont(QFont font) {
  QStringList families = {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                          QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"),
                          QStringLiteral("AR PL UMing CN")};
  families += QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  font.setFamilies(families);
  font.setPixelSize(14);
  return font;
}

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  initIconResources();
  setWindowTitle(QStringLiteral("Abrivov1.2"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(kClientSize);
  QIcon icon;
  for (int size : {16, 32, 128})
    icon.addFile(QStringLiteral(":/icons/abrivo-%1.png").arg(size), QSize(size, size));
  setWindowIcon(icon);

  createControls();
  arrangeTabOrder();
  loadDefaultTexts();
  connectHandlers();

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect outer(QPoint(), kOuterSize);
    outer.moveCenter(screen->availableGeometry().center());
    move(outer.topLeft());
  }

  m_sinceDispatch.start();
  m_engine.processEventsHook = [this] { dispatchPendingEvents(); };
}

MainWindow::~MainWindow() {
  m_engine.processEventsHook = nullptr;
}

void MainWindow::createControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);

  m_标题框 = place<QLineEdit>(client, QStringLiteral("标题框"), {8, 8, 304, 24});
  m_标题框->setMaxLength(std::numeric_limits<int>::max());
  m_按钮1 = placeButton(client, QStringLiteral("按钮1"), {312, 8, 48, 24}, QStringLiteral("清空"));

  m_组合框1 = place<QComboBox>(client, QStringLiteral("组合框1"), {482, 10, 118, 20});
  m_组合框1->addItems({QStringLiteral("<200字 英文x2"), QStringLiteral("<300字 英文x2"),
                       QStringLiteral("<400字 英文x2"), QStringLiteral("<500字 英文x2")});
  m_组合框1->setCurrentIndex(0);

  // 标签1 lies over the right part of the length list; clicks pass through
  // it to the list.
  m_标签1 = placeLabel(client, QStringLiteral("标签1"), {544, 8, 56, 24});
  m_标签1->setAttribute(Qt::WA_TransparentForMouseEvents);

  m_摘要 =
      placeButton(client, QStringLiteral("摘要"), {613, 8, 96, 24}, QStringLiteral("开始摘要"));

  m_内容框 = placeTextBox(client, QStringLiteral("内容框"), {8, 40, 704, 264});
  m_内容框->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  m_编辑框1 = placeTextBox(client, QStringLiteral("编辑框1"), {8, 312, 704, 152});
  m_编辑框1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_编辑框1->setFont(outputFont(m_编辑框1->font()));
  QPalette palette = m_编辑框1->palette();
  palette.setColor(QPalette::Active, QPalette::Text, kOutputColour);
  palette.setColor(QPalette::Inactive, QPalette::Text, kOutputColour);
  m_编辑框1->setPalette(palette);

  for (QWidget* box : std::initializer_list<QWidget*>{m_标题框, m_内容框, m_编辑框1})
    hideSelectionWithoutFocus(box);

  // The keyword line is written into 标签3 but never shown.
  m_标签3 = placeLabel(client, QStringLiteral("标签3"), {9, 465, 287, 24});
  m_标签3->setHidden(true);
  m_标签3->setEnabled(false);

  m_标签2 = placeLabel(client, QStringLiteral("标签2"), {544, 464, 160, 24});
  m_按钮2 = placeButton(client, QStringLiteral("按钮2"), {8, 480, 104, 24},
                        QStringLiteral("例文二 4千字"));
  m_按钮3 = placeButton(client, QStringLiteral("按钮3"), {120, 480, 104, 24},
                        QStringLiteral("例文三 英文"));
  m_标签4 = placeLabel(client, QStringLiteral("标签4"), {464, 488, 240, 24});
}

void MainWindow::arrangeTabOrder() {
  QWidget* const order[] = {m_标题框, m_按钮1,   m_组合框1, m_摘要,
                            m_内容框, m_编辑框1, m_按钮2,   m_按钮3};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void MainWindow::loadDefaultTexts() {
  const samples::SamplePair pair = samples::sample(1);
  setTitleText(fromUtf8(pair.title));
  setContentText(fromUtf8(pair.article));
  setOutputText({});
  setLabelText(m_标签1, m_engine.controls.标签1, {});
  setLabelText(m_标签2, m_engine.controls.标签2, {});
  setLabelText(m_标签3, m_engine.controls.标签3, QStringLiteral("关键词：  "));
  m_标签4->setText(QStringLiteral("反馈：abrivo@example.org"));
  m_engine.controls.组合框1 = m_组合框1->currentIndex();
}

void MainWindow::connectHandlers() {
  connect(m_摘要, &QPushButton::clicked, this, &MainWindow::runSummary);
  connect(m_按钮1, &QPushButton::clicked, this, &MainWindow::clearAll);
  connect(m_按钮2, &QPushButton::clicked, this, &MainWindow::loadSample2);
  connect(m_按钮3, &QPushButton::clicked, this, &MainWindow::loadSample3);

  // What the user types or picks while a run waits for events reaches the
  // engine at once, as if the stages read the controls themselves.
  connect(m_标题框, &QLineEdit::textChanged, this, [this] {
    if (m_engine.isRunning()) m_engine.controls.标题框 = toEngineText(m_标题框->text());
  });
  connect(m_内容框, &QPlainTextEdit::textChanged, this, [this] {
    if (m_engine.isRunning()) m_engine.controls.内容框 = toEngineText(boxText(*m_内容框));
  });
  connect(m_编辑框1, &QPlainTextEdit::textChanged, this, [this] {
    if (m_engine.isRunning()) m_engine.controls.编辑框1 = toEngineText(boxText(*m_编辑框1));
  });
  connect(m_组合框1, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (m_engine.isRunning()) m_engine.controls.组合框1 = index;
  });
}

void MainWindow::runSummary() {
  // A press during a run is ignored (the engine would ignore it too); going
  // on here would show the state of the unfinished run.
  if (m_engine.isRunning()) return;

  ControlState& controls = m_engine.controls;
  controls.标题框 = toEngineText(m_标题框->text());
  controls.内容框 = toEngineText(boxText(*m_内容框));
  controls.组合框1 = m_组合框1->currentIndex();
  m_编辑框1->clear();  // the engine empties the output box first

  m_sinceDispatch.start();
  m_engine.runSummary();

  m_编辑框1->setPlainText(fromEngineText(controls.编辑框1));
  m_标签2->setText(fromEngineText(controls.标签2));
  m_标签3->setText(fromEngineText(controls.标签3));
}

void MainWindow::clearAll() {
  setContentText({});
  setOutputText({});
  setTitleText({});
  setLabelText(m_标签1, m_engine.controls.标签1, {});
  setLabelText(m_标签2, m_engine.controls.标签2, {});
  setLabelText(m_标签3, m_engine.controls.标签3, {});
}

void MainWindow::loadSample2() {
  const samples::SamplePair pair = samples::sample(2);
  setTitleText(fromUtf8(pair.title));
  setOutputText({});
  setContentText(fromUtf8(pair.article));
}

void MainWindow::loadSample3() {
  const samples::SamplePair pair = samples::sample(3);
  setTitleText(fromUtf8(pair.title));
  setContentText(fromUtf8(pair.article));
  setOutputText({});
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (m_engine.isRunning()) {
    // Closed while a run waits for events: end the program now instead of
    // letting the run finish first. Nothing is kept between sessions.
    std::fflush(nullptr);
    std::_Exit(0);
  }
  QMainWindow::closeEvent(event);
}

void MainWindow::dispatchPendingEvents() {
  if (m_sinceDispatch.elapsed() < kDispatchIntervalMs) return;
  m_sinceDispatch.start();
  m_标签2->setText(fromEngineText(m_engine.controls.标签2));
  QCoreApplication::processEvents();
}

void MainWindow::setTitleText(const QString& text) {
  m_标题框->setText(text);
  m_engine.controls.标题框 = toEngineText(m_标题框->text());
}

void MainWindow::setContentText(const QString& text) {
  m_内容框->setPlainText(text);
  m_engine.controls.内容框 = toEngineText(boxText(*m_内容框));
}

void MainWindow::setOutputText(const QString& text) {
  m_编辑框1->setPlainText(text);
  m_engine.controls.编辑框1 = toEngineText(boxText(*m_编辑框1));
}

void MainWindow::setLabelText(QLabel* label, std::string& control, const QString& text) {
  label->setText(text);
  control = toEngineText(text);
}

}  // namespace abrivo
