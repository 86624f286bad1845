// Files in and out of the window: drops on the boxes, Ctrl+O, Ctrl+S and the
// context menus' entries, the warnings for files that are refused or cannot
// be saved, and the same summary as abrivo-cli for the same file.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "BoxText.h"
#include "FakeDialogs.h"
#include "MainWindow.h"
#include "Samples.h"
#include "TestFiles.h"
#include "abrivo/internal/text/Encoding.h"

using abrivo::boxText;
using abrivo::MainWindow;
using abrivo::SaveEncoding;
using abrivo::toEngineText;
using abrivo::testing::FakeDialogs;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(abrivo::SaveEncoding)

namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray toGb18030(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  const std::optional<std::string> gb =
      abrivo::utf8ToGb18030(std::string_view(utf8.data(), utf8.size()));
  return gb ? QByteArray(gb->data(), static_cast<qsizetype>(gb->size())) : QByteArray();
}

QString fromGb18030(const QByteArray& bytes) {
  const std::optional<std::string> utf8 =
      abrivo::gb18030ToUtf8(std::string_view(bytes.data(), bytes.size()));
  return utf8 ? fromUtf8(*utf8) : u"(not GB18030)"_s;
}

using abrivo::testing::readFile;
using abrivo::testing::writeFile;

// Drags data onto target and drops it there, as the window system delivers
// a drag from a file manager. Returns whether the drop was accepted.
bool dragAndDrop(QWidget* target, const QMimeData& data) {
  const QPoint pos = target->rect().center();
  QDragEnterEvent enter(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDragMoveEvent move(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent drop(pos, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

// A file manager offers the file's URL, and the URL as text.
bool dropFile(QWidget* target, const QString& path) {
  QMimeData data;
  const QUrl url = QUrl::fromLocalFile(path);
  data.setUrls({url});
  data.setText(url.toString());
  return dragAndDrop(target, data);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void dropOnArticleBox_data();
  void dropOnArticleBox();
  void dropOnTitleBox();
  void refusedFileChangesNothing_data();
  void refusedFileChangesNothing();
  void otherDropsKeepTheirEffect();

  void openWithCtrlO();
  void contextMenus_data();
  void contextMenus();

  void saveWithCtrlS_data();
  void saveWithCtrlS();
  void failedSaveWarns();
  void nothingToSave();

  void sameSummaryAsTheCommandLine_data();
  void sameSummaryAsTheCommandLine();

  void standardDialogs();

 private:
  QLineEdit* titleBox() { return m_window->findChild<QLineEdit*>(u"标题框"_s); }
  QPlainTextEdit* contentBox() { return m_window->findChild<QPlainTextEdit*>(u"内容框"_s); }
  QPlainTextEdit* outputBox() { return m_window->findChild<QPlainTextEdit*>(u"编辑框1"_s); }
  void runSummary() { m_window->findChild<QPushButton*>(u"摘要"_s)->click(); }
  QString path(const QString& name) { return m_dir->filePath(name); }

  std::unique_ptr<QTemporaryDir> m_dir;
  FakeDialogs m_dialogs;
  std::unique_ptr<MainWindow> m_window;
};

void FilesTest::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  m_dialogs = FakeDialogs();
  m_window = std::make_unique<MainWindow>();
  m_window->setDialogs(&m_dialogs);
  m_window->show();
  QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void FilesTest::cleanup() {
  m_window.reset();
  m_dir.reset();
}

void FilesTest::dropOnArticleBox_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("article");

  QTest::newRow("UTF-8") << QByteArray("镇上的食堂开张了。\n老人吃上热饭。")
                         << u"镇上的食堂开张了。\n老人吃上热饭。"_s;
  QTest::newRow("GBK, CRLF") << QByteArray("\xD6\xD0\xCE\xC4\r\n\xB5\xC4") << u"中文\n的"_s;
  QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE\x2D\x4E\x87\x65", 6) << u"中文"_s;
}

void FilesTest::dropOnArticleBox() {
  QFETCH(QByteArray, file);
  QFETCH(QString, article);
  runSummary();
  QVERIFY(!boxText(*outputBox()).isEmpty());
  const QString title = titleBox()->text();

  QVERIFY(writeFile(path(u"article.txt"_s), file));
  QVERIFY(dropFile(contentBox()->viewport(), path(u"article.txt"_s)));
  QTRY_COMPARE(boxText(*contentBox()), article);
  QCOMPARE(boxText(*outputBox()), QString());  // emptied, as the sample buttons do
  QCOMPARE(titleBox()->text(), title);
  QCOMPARE(m_window->engine().controls.内容框, toEngineText(article));
  QCOMPARE(m_window->engine().controls.编辑框1, std::string());
  QVERIFY(m_dialogs.warnings.isEmpty());
}

void FilesTest::dropOnTitleBox() {
  const QString article = boxText(*contentBox());
  QVERIFY(writeFile(path(u"title.txt"_s),
                    "\xD5\xF2\xC9\xCF\xB5\xC4\xCA\xB3\xCC\xC3\r\nsecond line\r\n"));
  QVERIFY(dropFile(titleBox(), path(u"title.txt"_s)));
  QTRY_COMPARE(titleBox()->text(), u"镇上的食堂"_s);
  QCOMPARE(boxText(*contentBox()), article);
  QCOMPARE(m_window->engine().controls.标题框, toEngineText(u"镇上的食堂"_s));
}

void FilesTest::refusedFileChangesNothing_data() {
  QTest::addColumn<QString>("name");  // in the temporary directory
  QTest::addColumn<bool>("onTitle");
  QTest::addColumn<QString>("reason");

  QTest::newRow("neither UTF-8 nor GB18030") << u"bad.txt"_s << false << u"GB18030"_s;
  QTest::newRow("NUL bytes") << u"nul.bin"_s << false << u"NUL"_s;
  QTest::newRow("NUL bytes, on the title box") << u"nul.bin"_s << true << u"NUL"_s;
  QTest::newRow("a directory") << u"folder"_s << false << u"文件夹"_s;
}

void FilesTest::refusedFileChangesNothing() {
  QFETCH(QString, name);
  QFETCH(bool, onTitle);
  QFETCH(QString, reason);
  QVERIFY(writeFile(path(u"bad.txt"_s), "ok\xFF\xFF"));
  QVERIFY(writeFile(path(u"nul.bin"_s), QByteArray("PK\x03\x04\0\0", 6)));
  QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_s));
  runSummary();
  const QString title = titleBox()->text();
  const QString article = boxText(*contentBox());
  const QString summary = boxText(*outputBox());

  QVERIFY(
      dropFile(onTitle ? static_cast<QWidget*>(titleBox()) : contentBox()->viewport(), path(name)));
  QTRY_COMPARE(m_dialogs.warnings.size(), 1);
  const QString warning = m_dialogs.warnings.constFirst();
  QVERIFY2(warning.contains(reason), qPrintable(warning));
  QVERIFY2(warning.contains(name), qPrintable(warning));
  QCOMPARE(titleBox()->text(), title);
  QCOMPARE(boxText(*contentBox()), article);
  QCOMPARE(boxText(*outputBox()), summary);
}

void FilesTest::otherDropsKeepTheirEffect() {
  // Dropped text is inserted as before; a link to a remote file is not
  // fetched but handled as the box always did.
  contentBox()->clear();
  QMimeData text;
  text.setText(u"拖进来的文字"_s);
  QVERIFY(dragAndDrop(contentBox()->viewport(), text));
  QCOMPARE(boxText(*contentBox()), u"拖进来的文字"_s);

  QMimeData remote;
  remote.setUrls({QUrl(u"https://example.org/a.txt"_s)});
  remote.setText(u"https://example.org/a.txt"_s);
  titleBox()->clear();
  QVERIFY(dragAndDrop(titleBox(), remote));
  QCOMPARE(titleBox()->text(), u"https://example.org/a.txt"_s);
  QTest::qWait(0);
  QCOMPARE(m_dialogs.warnings, QStringList());
}

void FilesTest::openWithCtrlO() {
  QVERIFY(writeFile(path(u"article.txt"_s), "The tide station opened."));
  m_dialogs.openAnswer = path(u"article.txt"_s);
  runSummary();
  // From any control: here the headline box and the start button.
  titleBox()->setFocus();
  QTest::keyClick(titleBox(), Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(m_dialogs.opens, 1);
  QCOMPARE(boxText(*contentBox()), u"The tide station opened."_s);
  QCOMPARE(boxText(*outputBox()), QString());

  // The next dialog opens where the last file was; cancelling changes nothing.
  m_dialogs.openAnswer.clear();
  QPushButton* start = m_window->findChild<QPushButton*>(u"摘要"_s);
  start->setFocus();
  QTest::keyClick(start, Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(m_dialogs.opens, 2);
  QCOMPARE(QDir(m_dialogs.openDirectory), QDir(m_dir->path()));
  QCOMPARE(boxText(*contentBox()), u"The tide station opened."_s);
}

void FilesTest::contextMenus_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("entry");
  QTest::newRow("article box") << u"内容框"_s << u"打开文件…"_s;
  QTest::newRow("output box") << u"编辑框1"_s << u"保存摘要…"_s;
}

void FilesTest::contextMenus() {
  QFETCH(QString, box);
  QFETCH(QString, entry);
  runSummary();
  auto* edit = m_window->findChild<QPlainTextEdit*>(box);
  const QPoint pos = edit->viewport()->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, pos, edit->viewport()->mapToGlobal(pos));
  QApplication::sendEvent(edit->viewport(), &event);

  QMenu* menu = nullptr;
  QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
  const QList<QAction*> actions = menu->actions();
  // The standard entries (undo, cut, copy, paste, select all ...) stay.
  QVERIFY2(actions.size() > 5, qPrintable(QString::number(actions.size())));
  QCOMPARE(actions.constLast()->text(), entry);
  QVERIFY(actions.at(actions.size() - 2)->isSeparator());

  QPointer<QMenu> closed = menu;
  actions.constLast()->trigger();
  menu->close();
  QTRY_VERIFY(closed.isNull());  // deleted when closed
  QCOMPARE(m_dialogs.opens + m_dialogs.saves, 1);
}

void FilesTest::saveWithCtrlS_data() {
  QTest::addColumn<SaveEncoding>("encoding");
  QTest::newRow("UTF-8") << SaveEncoding::Utf8;
  QTest::newRow("GB18030") << SaveEncoding::Gb18030;
}

void FilesTest::saveWithCtrlS() {
  QFETCH(SaveEncoding, encoding);
  // A summary with a character outside GBK, which GB18030 still holds.
  outputBox()->setPlainText(u"潮汐电站🌊今天发电。\n第二段。"_s);
  QVERIFY(writeFile(path(u"摘要.txt"_s), "an older summary, replaced whole"));
  m_dialogs.saveAnswer = {path(u"摘要.txt"_s), encoding};
  contentBox()->setFocus();
  QTest::keyClick(contentBox(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(m_dialogs.saves, 1);
  QCOMPARE(m_dialogs.warnings, QStringList());

  const QByteArray saved = readFile(path(u"摘要.txt"_s));
  const QString text =
      encoding == SaveEncoding::Utf8 ? QString::fromUtf8(saved) : fromGb18030(saved);
  QCOMPARE(text, u"潮汐电站🌊今天发电。\n第二段。"_s);
  QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"摘要.txt"_s});

  // The file loads back as the same text, and the next save is offered in
  // the same directory.
  m_dialogs.openAnswer = path(u"摘要.txt"_s);
  m_window->openArticleFile();
  QCOMPARE(boxText(*contentBox()), u"潮汐电站🌊今天发电。\n第二段。"_s);
  outputBox()->setPlainText(u"x"_s);
  m_dialogs.saveAnswer.reset();
  QTest::keyClick(outputBox(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(m_dialogs.suggestedSave, path(u"摘要.txt"_s));
}

void FilesTest::failedSaveWarns() {
  runSummary();
  m_dialogs.saveAnswer = {path(u"missing/摘要.txt"_s), SaveEncoding::Utf8};
  m_window->saveSummary();
  QCOMPARE(m_dialogs.warnings.size(), 1);
  QVERIFY2(m_dialogs.warnings.constFirst().contains(u"摘要没有保存"_s),
           qPrintable(m_dialogs.warnings.constFirst()));
  QVERIFY(QDir(m_dir->path()).isEmpty());
}

void FilesTest::nothingToSave() {
  QCOMPARE(boxText(*outputBox()), QString());
  m_window->saveSummary();
  QCOMPARE(m_dialogs.saves, 0);
  QCOMPARE(m_dialogs.warnings.size(), 1);
}

void FilesTest::sameSummaryAsTheCommandLine_data() {
  QTest::addColumn<bool>("gbk");
  QTest::newRow("UTF-8") << false;
  QTest::newRow("GBK") << true;
}

void FilesTest::sameSummaryAsTheCommandLine() {
#ifndef ABRIVO_CLI
  QSKIP("abrivo-cli is not built");
#else
  QFETCH(bool, gbk);
  // Sample two, the longest, with a headline; GBK files with Windows line
  // breaks, as such files usually come.
  const abrivo::samples::SamplePair pair = abrivo::samples::sample(2);
  QString title = fromUtf8(pair.title) + u'\n';
  QString article = fromUtf8(pair.article);
  QByteArray titleBytes = title.toUtf8();
  QByteArray articleBytes = article.toUtf8();
  if (gbk) {
    title.replace(u"\n"_s, u"\r\n"_s);
    article.replace(u"\n"_s, u"\r\n"_s);
    titleBytes = toGb18030(title);
    articleBytes = toGb18030(article);
    QVERIFY(abrivo::isValidGbk(std::string_view(articleBytes.data(), articleBytes.size())));
  }
  QVERIFY(writeFile(path(u"title.txt"_s), titleBytes));
  QVERIFY(writeFile(path(u"article.txt"_s), articleBytes));

  QVERIFY(dropFile(titleBox(), path(u"title.txt"_s)));
  QVERIFY(dropFile(contentBox()->viewport(), path(u"article.txt"_s)));
  QTRY_VERIFY(boxText(*contentBox()).startsWith(fromUtf8(pair.article).left(20)));
  QTRY_COMPARE(titleBox()->text(), fromUtf8(pair.title));
  m_window->findChild<QComboBox*>(u"组合框1"_s)->setCurrentIndex(3);
  runSummary();

  QProcess cli;
  QStringList arguments{u"-l"_s, u"3"_s, u"--title-file"_s, path(u"title.txt"_s)};
  if (gbk) arguments << u"-e"_s << u"gbk"_s;
  cli.start(QStringLiteral(ABRIVO_CLI), arguments << path(u"article.txt"_s));
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 0);
  QByteArray output = cli.readAllStandardOutput();
  QVERIFY(output.endsWith('\n'));
  output.chop(1);
  const QString summary = QString::fromUtf8(output);  // UTF-8 whatever the input
  QVERIFY(summary.size() > 300);
  QCOMPARE(boxText(*outputBox()), summary);
#endif
}

void FilesTest::standardDialogs() {
  // The standard dialogs, answered by a timer as a user would.
  abrivo::QtDialogs dialogs;
  QString shown;
  QTimer::singleShot(0, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->windowTitle() + u'|' + box->text();
    box->accept();
  });
  dialogs.warn(m_window.get(), u"打开文件"_s, u"原因"_s);
  QCOMPARE(shown, u"打开文件|原因"_s);

  // The second file type saves in GB18030; a name without a suffix gets .txt.
  QTimer::singleShot(0, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->selectNameFilter(dialog->nameFilters().value(1));
    dialog->selectFile(path(u"summary"_s));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Save button
  });
  const std::optional<abrivo::Dialogs::SaveTarget> target =
      dialogs.saveTarget(m_window.get(), path(u"摘要.txt"_s));
  QVERIFY(target);
  QCOMPARE(target->encoding, SaveEncoding::Gb18030);
  QCOMPARE(target->path, path(u"summary.txt"_s));
}

QTEST_MAIN(FilesTest)
#include "files_test.moc"
