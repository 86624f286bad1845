#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "BoxText.h"
#include "Samples.h"
#include "TextFile.h"

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

// The first local file among the URLs of a drag, or an empty string.
QString droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

// Shows the program as busy from construction to destruction, however the
// scope is left: the start button is disabled and the cursor is the busy
// one. Keeps the keyboard focus on the button when it had it.
class BusyScope {
 public:
  explicit BusyScope(QPushButton* button) : m_button(button), m_hadFocus(button->hasFocus()) {
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_button->setEnabled(false);
    m_focusAfter = QApplication::focusWidget();
    // Painted now: the first events are let through only after the run has
    // done some work.
    m_button->repaint();
  }
  ~BusyScope() {
    m_button->setEnabled(true);
    if (m_hadFocus && QApplication::focusWidget() == m_focusAfter) m_button->setFocus();
    QGuiApplication::restoreOverrideCursor();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QPushButton* m_button;
  bool m_hadFocus;
  QWidget* m_focusAfter = nullptr;  // where disabling the button moved the focus
};

}  // namespace

QRect initialFrame(const QRect& available) {
  QRect frame(QPoint(), kOuterSize.boundedTo(available.size()));
  frame.moveCenter(available.center());
  return frame;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  initIconResources();
  setWindowTitle(QStringLiteral("Abrivov1.2"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  QIcon icon;
  for (int size : {16, 32, 128})
    icon.addFile(QStringLiteral(":/icons/abrivo-%1.png").arg(size), QSize(size, size));
  setWindowIcon(icon);

  createControls();
  describeControls();
  arrangeTabOrder();
  loadDefaultTexts();
  connectHandlers();
  createFileActions();
  placeOnScreen();

  m_sinceDispatch.start();
  m_engine.processEventsHook = [this] { dispatchPendingEvents(); };
}

MainWindow::~MainWindow() {
  m_engine.processEventsHook = nullptr;
}

void MainWindow::setDialogs(Dialogs* dialogs) {
  m_dialogs = dialogs ? dialogs : &m_qtDialogs;
}

void MainWindow::placeOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) {
    setFixedSize(kClientSize);
    return;
  }
  const QRect frame = initialFrame(screen->availableGeometry());
  setFixedSize(frame.size() - (kOuterSize - kClientSize));
  move(frame.topLeft());
}

void MainWindow::createControls() {
  // The controls sit at fixed places on a client area of fixed size. Where
  // the screen is smaller than the window, the client area scrolls; where it
  // fits, the scroll area shows neither frame nor scroll bars.
  m_scrollArea = new QScrollArea(this);
  m_scrollArea->setFrameShape(QFrame::NoFrame);
  m_scrollArea->setFocusPolicy(Qt::NoFocus);  // Tab goes from control to control
  setCentralWidget(m_scrollArea);
  m_client = new QWidget;
  m_client->setFixedSize(kClientSize);
  m_scrollArea->setWidget(m_client);
  QWidget* client = m_client;

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
  m_编辑框1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

  // The status line grows to the left: counts of nine digits fit.
  m_标签2 = placeLabel(client, QStringLiteral("标签2"), {344, 464, 360, 24});
  m_标签2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_按钮2 = placeButton(client, QStringLiteral("按钮2"), {8, 480, 104, 24},
                        QStringLiteral("例文二 4千字"));
  m_按钮3 = placeButton(client, QStringLiteral("按钮3"), {120, 480, 104, 24},
                        QStringLiteral("例文三 英文"));
  m_标签4 = placeLabel(client, QStringLiteral("标签4"), {464, 488, 240, 24});
}

void MainWindow::describeControls() {
  struct Description {
    QWidget* widget;
    QString name;
    QString tip;
  };
  const Description descriptions[] = {
      {m_标题框, QStringLiteral("标题"),
       QStringLiteral("新闻标题。拖入文本文件可载入它的第一行。")},
      {m_内容框, QStringLiteral("正文"),
       QStringLiteral("新闻正文。可以粘贴，也可以拖入文本文件或按 Ctrl+O 打开文件。")},
      {m_编辑框1, QStringLiteral("摘要"), QStringLiteral("摘要。按 Ctrl+S 保存。")},
      {m_组合框1, QStringLiteral("摘要长度"),
       QStringLiteral("摘要的最大长度：中文按字计，英文按两倍的字节数计。")},
      {m_摘要, QStringLiteral("开始摘要"), QStringLiteral("为正文写摘要（Ctrl+Enter）。")},
      {m_按钮1, QStringLiteral("清空"), QStringLiteral("清空标题、正文、摘要和状态行。")},
      {m_按钮2, QStringLiteral("载入例文二"),
       QStringLiteral("载入例文二：一篇约四千字的中文长文。")},
      {m_按钮3, QStringLiteral("载入例文三"), QStringLiteral("载入例文三：一篇英文报道。")},
  };
  for (const Description& d : descriptions) {
    d.widget->setAccessibleName(d.name);
    d.widget->setToolTip(d.tip);
  }
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
  m_标签1->clear();
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

  // Ctrl+Enter starts a run from anywhere in the window; plain Enter in a box
  // stays a line break, and on the focused start button presses it.
  for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
    connect(shortcut, &QShortcut::activated, m_摘要, &QPushButton::click);
  }
  m_摘要->installEventFilter(this);
}

void MainWindow::createFileActions() {
  m_openAction = new QAction(QStringLiteral("打开文件…"), this);
  m_openAction->setObjectName(QStringLiteral("打开文件"));
  m_openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(m_openAction, &QAction::triggered, this, &MainWindow::openArticleFile);

  m_saveAction = new QAction(QStringLiteral("保存摘要…"), this);
  m_saveAction->setObjectName(QStringLiteral("保存摘要"));
  m_saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(m_saveAction, &QAction::triggered, this, &MainWindow::saveSummary);

  // Added to the window, their shortcuts work wherever the focus is.
  addAction(m_openAction);
  addAction(m_saveAction);

  // The standard context menus, with the file entry added at the end.
  const std::pair<QPlainTextEdit*, QAction*> menus[] = {{m_内容框, m_openAction},
                                                        {m_编辑框1, m_saveAction}};
  for (const auto& [box, action] : menus) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box, &QWidget::customContextMenuRequested, this,
            [this, box, action](const QPoint& pos) { showContextMenu(box, action, pos); });
  }

  m_内容框->viewport()->installEventFilter(this);
  m_标题框->installEventFilter(this);
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

  {
    const BusyScope busy(m_摘要);
    m_sinceDispatch.start();
    m_engine.runSummary();
  }

  m_编辑框1->setPlainText(fromEngineText(controls.编辑框1));
  m_标签2->setText(fromEngineText(controls.标签2));
  m_标签3->setText(fromEngineText(controls.标签3));
}

void MainWindow::clearAll() {
  setContentText({});
  setOutputText({});
  setTitleText({});
  m_标签1->clear();
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

void MainWindow::openArticleFile() {
  const QString path = m_dialogs->openFileName(this, m_lastDirectory);
  if (!path.isEmpty()) loadFile(path, Box::Article);
}

void MainWindow::saveSummary() {
  const QString title = QStringLiteral("保存摘要");
  const QString summary = boxText(*m_编辑框1);
  if (summary.isEmpty()) {
    m_dialogs->warn(this, title, QStringLiteral("还没有摘要可以保存：请先按“开始摘要”。"));
    return;
  }
  const QString suggested = QStringLiteral("摘要.txt");
  const std::optional<Dialogs::SaveTarget> target = m_dialogs->saveTarget(
      this, m_lastDirectory.isEmpty() ? suggested : QDir(m_lastDirectory).filePath(suggested));
  if (!target) return;
  const QString reason = saveFileAtomically(target->path, encodeText(summary, target->encoding));
  if (!reason.isEmpty()) {
    m_dialogs->warn(this, title,
                    QStringLiteral("摘要没有保存到“%1”。\n\n%2")
                        .arg(QDir::toNativeSeparators(target->path), reason));
    return;
  }
  m_lastDirectory = QFileInfo(target->path).absolutePath();
}

void MainWindow::loadFile(const QString& path, Box box) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const TextFile file = readTextFile(path);
  QGuiApplication::restoreOverrideCursor();
  if (!file.ok()) {
    m_dialogs->warn(
        this, QStringLiteral("打开文件"),
        QStringLiteral("“%1”没有载入。\n\n%2").arg(QDir::toNativeSeparators(path), file.error));
    return;
  }
  m_lastDirectory = QFileInfo(path).absolutePath();
  if (box == Box::Title) {
    setTitleText(firstLine(file.text));
  } else {
    setOutputText({});
    setContentText(file.text);
  }
}

bool MainWindow::dropFile(QEvent* event, Box box) {
  auto* drop = static_cast<QDropEvent*>(event);  // the base of the drag events too
  const QString path = droppedFile(drop->mimeData());
  if (path.isEmpty()) return false;  // text and other drops keep their usual effect
  drop->acceptProposedAction();
  // Loaded once the drop is over, so that the program the file came from is
  // not kept waiting by a large file or a message.
  if (event->type() == QEvent::Drop)
    QTimer::singleShot(0, this, [this, path, box] { loadFile(path, box); });
  return true;
}

void MainWindow::showContextMenu(QPlainTextEdit* box, QAction* extra, const QPoint& pos) {
  QMenu* menu = box->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  menu->addAction(extra);
  menu->popup(box->viewport()->mapToGlobal(pos));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (watched == m_内容框->viewport()) return dropFile(event, Box::Article);
      if (watched == m_标题框) return dropFile(event, Box::Title);
      break;
    case QEvent::KeyPress:
      if (watched == m_摘要) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
          m_摘要->click();
          return true;
        }
      }
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
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
