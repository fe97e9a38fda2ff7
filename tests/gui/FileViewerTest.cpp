// The file viewer: content and line ends, read-only fixed-pitch text, empty
// and missing files, the causes of open failures, Copy, and the window
// commands of a viewer window.

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QtTest>
#include <cerrno>

#include "app/MainWindow.h"
#include "platform/IniProfile.h"
#include "support/TestSupport.h"
#include "views/FileViewer.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

class Frame : public CMainFrame {
public:
    ~Frame() override {
        mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

CFileDoc* ActiveViewer(const CMainFrame& frame) {
    return dynamic_cast<CFileDoc*>(ActiveDocument(frame));
}

struct Seen {
    bool shown = false;
    QString caption, text;
};
void AnswerMessage(Seen& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {true, box->windowTitle(), box->text()};
        box->accept();
    });
}

}  // namespace

class FileViewerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::filesystem::remove(IniProfile::DefaultPath()); }

    void showsTheFileReadOnly() {
        Frame frame;
        test::TempDir dir;
        const auto path = dir / "out.txt";
        // CR LF and LF line ends; the last line has none.
        test::WriteFile(path, "first line\r\n\tsecond\n\nlast");
        OpenInViewer(frame, path.string());
        CFileDoc* doc = ActiveViewer(frame);
        QVERIFY(doc && doc->view());
        CFileView* view = doc->view();
        QCOMPARE(view->toPlainText(), QString("first line\n\tsecond\n\nlast\n"));
        QCOMPARE(view->windowTitle(), QString::fromStdString("File Viewer:" + path.string()));
        QVERIFY(view->isReadOnly());
        QVERIFY(QFontInfo(view->font()).fixedPitch());
        QVERIFY(!view->document()->isModified());
        // Typing changes nothing.
        view->setFocus();
        QTest::keyClicks(view, "typed");
        QTest::keyClick(view, Qt::Key_Return);
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(view->toPlainText(), QString("first line\n\tsecond\n\nlast\n"));
        // The view fills its window.
        QMdiSubWindow* sub = frame.mdiArea()->subWindowList().value(0);
        QVERIFY(sub && sub->widget() == view);
        // The viewer neither prints nor exports; Copy is there.
        QVERIFY(!frame.Command(kCmdPrint)->isEnabled());
        QVERIFY(!frame.Command(kCmdExport)->isEnabled());
        QVERIFY(frame.Command(kCmdCopy)->isEnabled());
        QCOMPARE(doc->Rebuild(), 0);
        QVERIFY(!doc->ShowsItem(nullptr));
    }

    void copyTakesTheSelection() {
        Frame frame;
        test::TempDir dir;
        test::WriteFile(dir / "a.txt", "alpha beta\ngamma\n");
        OpenInViewer(frame, (dir / "a.txt").string());
        CFileView* view = ActiveViewer(frame)->view();
        QTextCursor cursor(view->document());
        cursor.setPosition(6);
        cursor.setPosition(16, QTextCursor::KeepAnchor);  // "beta\ngamma"
        view->setTextCursor(cursor);
        QApplication::clipboard()->clear();
        frame.Command(kCmdCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("beta\ngamma"));
    }

    void emptyAndLargeFiles() {
        Frame frame;
        test::TempDir dir;
        test::WriteFile(dir / "empty.txt", "");
        OpenInViewer(frame, (dir / "empty.txt").string());
        CFileView* view = ActiveViewer(frame)->view();
        QCOMPARE(view->toPlainText(), QString());
        QVERIFY(view->isReadOnly());

        std::string big;
        for (int i = 0; i < 200000; ++i) big += "line " + std::to_string(i) + "\r\n";
        test::WriteFile(dir / "big.txt", big);
        OpenInViewer(frame, (dir / "big.txt").string());
        view = ActiveViewer(frame)->view();
        // 200,000 lines and the empty block after the last line break.
        QCOMPARE(view->blockCount(), 200001);
        QCOMPARE(view->document()->findBlockByNumber(199999).text(), QString("line 199999"));
    }

    void textThatIsNotUtf8() {
        Frame frame;
        test::TempDir dir;
        test::WriteFile(dir / "w.txt",
                        "Stra\xdf"
                        "e\n");  // Windows-1252 / Latin-1
        OpenInViewer(frame, (dir / "w.txt").string());
        QCOMPARE(ActiveViewer(frame)->view()->toPlainText(), QString::fromUtf8("Stra\xc3\x9f"
                                                                               "e\n"));
    }

    void filesThatCannotBeOpened() {
        Frame frame;
        test::TempDir dir;
        test::WriteFile(dir / "plain", "x");
        // A FIFO without a writer would block a plain open for ever.
        QCOMPARE(::mkfifo((dir / "fifo").c_str(), 0600), 0);
        const std::pair<std::string, const char*> cases[] = {
            {(dir / "missing.txt").string(), "The file could not be located."},
            {(dir / "plain" / "below").string(), "All or part of the path is invalid."},
            {dir.path().string(), "The file could not be accessed (read only?)."},
            {(dir / "fifo").string(), "An unspecified error occurred."},
        };
        for (const auto& [path, cause] : cases) {
            const std::size_t before = frame.documents().size();
            Seen seen;
            AnswerMessage(seen);
            OpenInViewer(frame, path);
            QVERIFY(seen.shown);
            QCOMPARE(seen.text,
                     QString::fromStdString("Could not open the file \"" + path + "\"\n" + cause));
            QCOMPARE(seen.caption, QString());
            // An empty viewer window stays.
            QCOMPARE(frame.documents().size(), before + 1);
            QCOMPARE(ActiveViewer(frame)->view()->toPlainText(), QString());
        }
    }

    void causesOfOtherErrors() {
        QCOMPARE(QString(FileErrorText(EMFILE)),
                 QString("The permitted number of open files was exceeded."));
        QCOMPARE(QString(FileErrorText(ENFILE)),
                 QString("The permitted number of open files was exceeded."));
        QCOMPARE(QString(FileErrorText(EIO)), QString("There was a hardware error."));
        QCOMPARE(QString(FileErrorText(ENOSPC)), QString("The disk is full."));
        QCOMPARE(QString(FileErrorText(EACCES)),
                 QString("The file could not be accessed (read only?)."));
        QCOMPARE(QString(FileErrorText(ELOOP)), QString("All or part of the path is invalid."));
        QCOMPARE(QString(FileErrorText(EINVAL)), QString("An unspecified error occurred."));
    }
};

}  // namespace kov

QTEST_MAIN(kov::FileViewerTest)
#include "FileViewerTest.moc"
