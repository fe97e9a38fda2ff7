// The application shell: menus and accelerators, File Open through the load
// dialog, OpenPath and its messages, the shell's open request handed over a
// local socket, Discard closing the windows of the discarded item, the
// window commands, file associations, help, tips and the about box.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "analysis/dialogs/UnitsDialogs.h"
#include "app/AppSettings.h"
#include "app/Associations.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/StartDialogs.h"
#include "gui/GuiSupport.h"
#include "readers/dialogs/LoadComtradeDialog.h"
#include "readers/dialogs/QuantityList.h"
#include "stack/WaveStackObject.h"
#include "stack/dialogs/DeleteStackDialog.h"
#include "stack/dialogs/StackListBox.h"
#include "support/TestSupport.h"
#include "views/Kov32Doc.h"

namespace kov {

namespace {

using test::KeepScreenshot;

// A document over one item, for the document protocol.
class ItemDoc : public CKov32Doc {
public:
    explicit ItemDoc(const StackObject* item, int* rebuilds = nullptr)
        : item_(item), rebuilds_(rebuilds), window_(new QLabel("doc")) {
        window_->setWindowTitle("graph-like document");
    }
    bool ShowsItem(const StackObject* item) const override { return item == item_; }
    int Rebuild() override { return rebuilds_ ? ++*rebuilds_ : 1; }
    void RefreshData() override {}
    QWidget* Window() override { return window_; }

private:
    const StackObject* item_;
    int* rebuilds_;
    QWidget* window_;
};

// Calls `action` with the next modal window other than `previous` as soon as
// it shows (within five seconds).
void OnNextModal(std::function<void(QWidget*)> action, QWidget* previous = nullptr) {
    auto* timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(5000);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, deadline, action, previous] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != previous && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Answers the next message box, remembering its caption and text.
struct SeenMessage {
    QString caption;
    QString text;
};
void AnswerNextMessage(SeenMessage& seen) {
    OnNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        seen = {box->windowTitle(), box->text()};
        box->accept();
    });
}

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

void WriteRecord(const std::filesystem::path& dir, const std::string& name = "rec") {
    test::WriteFile(dir / (name + ".cfg"),
                    "SUB 1,12,1999\r\n3,2A,1D\r\n"
                    "1,VA,A,,V,1,0,0,-100,100,1,1,P\r\n"
                    "2,IA,A,,A,1,0,0,-100,100,1,1,P\r\n"
                    "1,TRIP,0\r\n60\r\n1\r\n1000,2\r\n"
                    "01/02/2026,10:00:00.000000\r\n01/02/2026,10:00:00.050000\r\nASCII\r\n1\r\n");
    test::WriteFile(dir / (name + ".dat"), "1,0,1,2,0\r\n2,1000,3,4,1\r\n");
}

// Cancels the load dialog that follows a successful open.
void CancelNextLoadDialog() {
    OnNextModal([](QWidget* modal) {
        if (auto* dialog = qobject_cast<CLoadDialog*>(modal)) dialog->reject();
    });
}

}  // namespace

class AppShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Never touch the user's own settings, data or sockets: folders of
        // this run stand in for any that the environment does not set.
        for (const char* variable : {"KOV_CONFIG_DIR", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            if (qEnvironmentVariableIsEmpty(variable))
                qputenv(variable, QDir(scratch_.path()).filePath(variable).toLocal8Bit());
            const QString folder = qEnvironmentVariable(variable);
            QVERIFY(QDir().mkpath(folder));
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    void init() {
        // Each case starts without recent files or remembered filters.
        QFile::remove(QString::fromStdString(IniProfile::DefaultPath().string()));
        auto settings = UserSettings();
        settings->clear();
    }

    void menusCarryEveryCommandWithItsAccelerator() {
        CMainFrame frame;
        const int ids[] = {57601, 32788, 32789, 32773, 57607, 57609, 57606, 32810, 57616,
                           57665, 57634, 520,   32774, 32802, 32803, 32775, 32776, 32809,
                           32786, 32787, 32777, 32804, 32778, 32790, 32791, 32779, 32793,
                           32840, 32792, 32781, 32783, 57650, 57651, 57649, 32784, 57667,
                           32796, 32805, 32806, 32807, 32799, 32808, 32798, 57664};
        for (int id : ids) QVERIFY2(frame.Command(id), qPrintable(QString::number(id)));
        QCOMPARE(frame.Command(99999), nullptr);
        const std::pair<int, QKeySequence> keys[] = {
            {57601, QKeySequence("Ctrl+O")}, {57634, QKeySequence("Ctrl+C")},
            {520, QKeySequence("Ctrl+V")},   {32809, QKeySequence("Ctrl+R")},
            {32786, QKeySequence("Ctrl+U")}, {32787, QKeySequence("Ctrl+B")},
            {32777, QKeySequence("Ctrl+M")}, {32804, QKeySequence("Ctrl+E")},
            {32778, QKeySequence("Ctrl+G")}};
        for (const auto& [id, key] : keys) QCOMPARE(frame.Command(id)->shortcut(), key);
        QCOMPARE(frame.Command(57601)->text(), QString("&Open..."));
        QCOMPARE(frame.Command(32776)->text(), QString("&Discard..."));
        QCOMPARE(frame.Command(32809)->text(), QString("&Refresh from Disk"));
        QCOMPARE(frame.Command(57664)->text(), QString("&About Kov..."));
        // Commands whose work does not exist yet stay disabled.
        for (int id : {32789, 520})
            QVERIFY2(!frame.Command(id)->isEnabled(), qPrintable(QString::number(id)));
        // Commands that need a current file, stack items or a window wait for them.
        for (int id : {32775, 32776, 32786, 32787, 32809, 32777, 32783, 32788, 57607, 57634})
            QVERIFY2(!frame.Command(id)->isEnabled(), qPrintable(QString::number(id)));
        for (int id : {57601, 32810, 57650, 57651, 57649, 32784, 57667, 57664, 57665, 32804})
            QVERIFY2(frame.Command(id)->isEnabled(), qPrintable(QString::number(id)));
        QStringList menus;
        for (QAction* menu : frame.menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus,
                 (QStringList{"&File", "&Edit", "&Stack", "&Graph", "&Table", "&Window", "&Help"}));
    }

    void fileOpenShowsTheLoadDialogAndLoads() {
        test::TempDir dir;
        WriteRecord(dir.path());
        const QString path = QString::fromStdString((dir / "rec.cfg").string());
        CMainFrame frame;
        frame.show();
        QString loadTitle;
        OnNextModal([&](QWidget* modal) {
            auto* open = qobject_cast<QFileDialog*>(modal);
            QVERIFY(open);
            QString comtrade;
            for (const QString& filter : open->nameFilters())
                if (filter.startsWith("IEEE COMTRADE")) comtrade = filter;
            QVERIFY(!comtrade.isEmpty());
            open->selectNameFilter(comtrade);
            open->selectFile(path);
            OnNextModal(
                [&](QWidget* next) {
                    auto* load = qobject_cast<CLoadComtradeDialog*>(next);
                    QVERIFY(load);
                    loadTitle = load->windowTitle();
                    Button(load, "&All")->click();
                    load->lists().at(0)->item(2)->setSelected(false);
                    Button(load, "&Ok")->click();
                },
                open);
            QMetaObject::invokeMethod(open, "accept");
        });
        frame.Command(kCmdOpen)->trigger();
        QTRY_COMPARE(frame.stack().size(), std::size_t{2});
        QCOMPARE(loadTitle, QString("Load COMTRADE Data"));
        QCOMPARE(frame.windowTitle(), QString("KOV - rec.cfg"));
        QCOMPARE(frame.recentFiles().value(0), path);
        QCOMPARE(frame.profile().GetInt("General", "FILTER", 0), 1006);
        QVERIFY(frame.Command(kCmdLoad)->isEnabled());
        QVERIFY(frame.Command(kCmdDiscard)->isEnabled());
        bool counted = false;
        for (QLabel* label : frame.statusBar()->findChildren<QLabel*>())
            counted |= label->text() == "Stack: 2";
        QVERIFY(counted);
        // The recent file is listed on the File menu.
        QVERIFY(frame.Command(kCmdRecentFile1)->isVisible());
        QVERIFY(frame.Command(kCmdRecentFile1)->text().endsWith("rec.cfg"));

        // Loading again shows the loaded channels grey; the third can still be picked.
        OnNextModal([&](QWidget* modal) {
            auto* load = qobject_cast<CLoadComtradeDialog*>(modal);
            QVERIFY(load);
            QVERIFY(load->lists().at(0)->IsOnStack(0));
            QVERIFY(!load->lists().at(0)->IsOnStack(2));
            Button(load, "&All")->click();
            Button(load, "&Ok")->click();
        });
        frame.Command(kCmdLoad)->trigger();
        QCOMPARE(frame.stack().size(), std::size_t{3});

        const QImage image = frame.grab().toImage();
        QVERIFY(image.width() >= 600 && image.height() >= 400);
        KeepScreenshot(image, "kov-main-loaded.png");
    }

    void openPathReportsWhatWentWrong() {
        test::TempDir dir;
        CMainFrame frame;
        SeenMessage seen;
        AnswerNextMessage(seen);
        const std::string missing = (dir / "missing.cfg").string();
        QCOMPARE(frame.OpenPath(missing), 0);
        QCOMPARE(seen.caption, QString("File Not Found"));
        QCOMPARE(seen.text, QString::fromStdString(missing));

        test::WriteFile(dir / "notes.xyz", "text");
        AnswerNextMessage(seen);
        QCOMPARE(frame.OpenPath((dir / "notes.xyz").string()), 0);
        QCOMPARE(seen.caption, QString("Kovatrix"));
        QCOMPARE(seen.text, QString("Wrong File Type (or Old Style)."));
        QCOMPARE(frame.windowTitle(), QString("KOV"));

        // A macro (extension in capitals) runs, and is not opened as data.
        WriteRecord(dir.path());
        test::WriteFile(dir / "RUN.KM", "open " + (dir / "rec.cfg").string() + "\n");
        QCOMPARE(frame.OpenPath((dir / "RUN.KM").string()), 1);
        QCOMPARE(frame.windowTitle(), QString("KOV - rec.cfg"));
        QVERIFY(frame.workbench().hasCurrentFile());
    }

    void shellRequestIsHandedToTheRunningProgram() {
        test::TempDir dir;
        WriteRecord(dir.path(), "shell");
        const QString path = QString::fromStdString((dir / "shell.cfg").string());
        CMainFrame frame;
        QVERIFY(!CSingleInstance::SendToRunning(MakeOpenCommand(path), 200));

        CSingleInstance first;
        QVERIFY(first.Listen());
        CSingleInstance second;
        QVERIFY(!second.Listen());  // one program per user
        QStringList received;
        connect(&first, &CSingleInstance::requestReceived, &frame, [&](const QString& request) {
            received << request;
            frame.HandleShellRequest(request);
        });
        CancelNextLoadDialog();
        QVERIFY(CSingleInstance::SendToRunning(MakeOpenCommand(path)));
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.front(), "[open(\"" + path + "\")]");
        QTRY_COMPARE(frame.windowTitle(), QString("KOV - shell.cfg"));
        QVERIFY(frame.isVisible());

        // A request that comes while a load dialog is open waits for it to close.
        WriteRecord(dir.path(), "later");
        const QString later = QString::fromStdString((dir / "later.cfg").string());
        QString titleDuringDialog;
        OnNextModal([&](QWidget* modal) {
            auto* load = qobject_cast<CLoadDialog*>(modal);
            QVERIFY(load);
            QVERIFY(CSingleInstance::SendToRunning(MakeOpenCommand(later)));
            QTest::qWait(400);
            titleDuringDialog = frame.windowTitle();
            CancelNextLoadDialog();
            load->reject();
        });
        frame.Command(kCmdLoad)->trigger();
        QCOMPARE(titleDuringDialog, QString("KOV - shell.cfg"));
        QTRY_COMPARE(frame.windowTitle(), QString("KOV - later.cfg"));

        // The path must be in double quotes.
        QCOMPARE(ParseOpenCommand("[open(\"/a/b.pl4\")]"), std::optional<QString>("/a/b.pl4"));
        QVERIFY(!ParseOpenCommand("[open(/a/b.pl4)]").has_value());
        QVERIFY(!ParseOpenCommand("[open(\"/a/b.pl4").has_value());
        QVERIFY(!ParseOpenCommand("[print(\"/a/b.pl4\")]").has_value());
        QVERIFY(!frame.HandleShellRequest("[open(/a/b.pl4)]"));
        QVERIFY(frame.HandleShellRequest(kActivateRequest));  // only to the front
        QVERIFY(!frame.HandleShellRequest(QString()));
    }

    void aSecondStartOfKovHandsItsFileOver() {
        // The program itself, built beside this test.
        const QString kov = QDir(QCoreApplication::applicationDirPath()).filePath("../src/kov");
        if (!QFileInfo(kov).isExecutable()) QSKIP("kov is not built beside the tests");
        test::TempDir dir;
        WriteRecord(dir.path(), "handed");
        CSingleInstance first;
        QVERIFY(first.Listen());
        QStringList received;
        connect(&first, &CSingleInstance::requestReceived,
                [&](const QString& request) { received << request; });
        QProcess second;
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.start(kov, {QString::fromStdString((dir / "handed.cfg").string())});
        QVERIFY(second.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 30000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.front(),
                 MakeOpenCommand(QString::fromStdString((dir / "handed.cfg").string())));
    }

    void regserverInCapitalsRegistersAndEnds() {
        const QString kov = QDir(QCoreApplication::applicationDirPath()).filePath("../src/kov");
        if (!QFileInfo(kov).isExecutable()) QSKIP("kov is not built beside the tests");
        test::TempDir dir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", QString::fromStdString((dir / "data").string()));
        QProcess registration;
        registration.setProcessEnvironment(environment);
        registration.start(kov, {"/REGSERVER"});
        QVERIFY(registration.waitForFinished(30000));
        QCOMPARE(registration.exitCode(), 0);
        QVERIFY(QFile::exists(
            QString::fromStdString((dir / "data/applications/kov.desktop").string())));
        QVERIFY(QFile::exists(
            QString::fromStdString((dir / "data/dbus-1/services/KOV2000.Main.service").string())));
    }

    void discardClosesTheWindowsOfTheItem() {
        CMainFrame frame;
        for (const char* name : {"a", "b"}) {
            auto wave = std::make_unique<WaveStackObject>();
            wave->Init("", "DERIVED", name, "", "", "", "WAVE");
            frame.stack().Add(std::move(wave));
        }
        frame.UpdateInterfaceFlags();
        StackObject* a = frame.stack().at(0);
        StackObject* b = frame.stack().at(1);
        a->inUse = 1;
        b->inUse = 1;
        frame.AddDocument(std::make_unique<ItemDoc>(a));
        frame.AddDocument(std::make_unique<ItemDoc>(b));
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);
        QVERIFY(frame.Command(kCmdDiscard)->isEnabled());
        OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<CDeleteStackDialog*>(modal);
            QVERIFY(dialog);
            dialog->list()->item(0)->setSelected(true);
            Button(dialog, "&Ok")->click();
        });
        frame.Command(kCmdDiscard)->trigger();
        QCOMPARE(frame.stack().size(), std::size_t{1});
        QCOMPARE(frame.documents().size(), std::size_t{1});
        QCOMPARE(frame.documents().front()->ShowsItem(b), true);
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    }

    void unitsApplyRedrawsTheWindowsShowingTheItem() {
        CMainFrame frame;
        auto wave = std::make_unique<WaveStackObject>();
        wave->Init("", "DERIVED", "v", "", "", "", "WAVE");
        frame.stack().Add(std::move(wave));
        frame.UpdateInterfaceFlags();
        int rebuilds = 0;
        frame.AddDocument(std::make_unique<ItemDoc>(frame.stack().at(0), &rebuilds));
        OnNextModal([](QWidget* modal) {
            auto* dialog = qobject_cast<CUnitsDialog*>(modal);
            QVERIFY(dialog);
            dialog->stackList()->item(0)->setSelected(true);
            dialog->prefixes()->button(kPrefixKilo)->click();
            dialog->applyButton()->click();
            Button(dialog, "&Exit")->click();
        });
        frame.Command(kCmdUnits)->trigger();
        QCOMPARE(rebuilds, 1);
        QCOMPARE(frame.stack().at(0)->axisUnits[kAxisY].code, std::uint16_t{kPrefixKilo});
    }

    void windowCommandsArrangeAndClose() {
        CMainFrame frame;
        frame.show();
        auto wave = std::make_unique<WaveStackObject>();
        wave->Init("", "DERIVED", "v", "", "", "", "WAVE");
        frame.stack().Add(std::move(wave));
        for (int i = 0; i < 3; ++i)
            frame.AddDocument(std::make_unique<ItemDoc>(frame.stack().at(0)));
        frame.Command(kCmdTile)->trigger();
        frame.Command(kCmdCascade)->trigger();
        frame.mdiArea()->subWindowList().front()->showMinimized();
        frame.Command(kCmdArrangeIcons)->trigger();
        QCOMPARE(frame.documents().size(), std::size_t{3});
        frame.Command(kCmdCloseAll)->trigger();
        QTRY_COMPARE(frame.documents().size(), std::size_t{0});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 0);
    }

    void associationsWriteAndRemoveOnlyOurs() {
        test::TempDir dir;
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((dir / "config").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((dir / "data").string()));
        test::WriteFile(dir / "config" / "mimeapps.list",
                        "[Default Applications]\ntext/plain=gedit.desktop\n");
        const QString program = "/opt/kov/bin/kov";
        {
            CFileAssocDlg dialog(program);
            QCOMPARE(dialog.windowTitle(), QString("File Extension Associations"));
            QCOMPARE(dialog.box(1)->text(), QString("EMTP/ATP Plot Files (*.pl4)"));
            for (std::size_t i = 0; i < 6; ++i) QVERIFY(!dialog.box(i)->isChecked());
            dialog.box(1)->setChecked(true);  // pl4
            dialog.box(3)->setChecked(true);  // pqd
            KeepScreenshot(dialog.grab().toImage(), "kov-associations.png");
            dialog.ApplyChanges();
        }
        QVERIFY(IsAssociated("pl4"));
        QVERIFY(IsAssociated("pqd"));
        QVERIFY(!IsAssociated("inf"));
        QCOMPARE(MimeAppsValue("Default Applications", "application/x-kov-pl4"),
                 QString("kov.desktop"));
        QCOMPARE(MimeAppsValue("Default Applications", "text/plain"), QString("gedit.desktop"));
        const std::string package = test::ReadFile((dir / "data/mime/packages/kov-pl4.xml"));
        QVERIFY(package.find("*.pl4") != std::string::npos);
        QVERIFY(package.find("EMTP/ATP Plot File") != std::string::npos);
        const std::string desktop = test::ReadFile(dir / "data/applications/kov.desktop");
        QVERIFY(desktop.find("Exec=\"/opt/kov/bin/kov\" %f") != std::string::npos);

        {
            CFileAssocDlg dialog(program);
            QVERIFY(dialog.box(1)->isChecked());
            QVERIFY(dialog.box(3)->isChecked());
            dialog.box(1)->setChecked(false);
            dialog.ApplyChanges();
        }
        QVERIFY(!IsAssociated("pl4"));
        QVERIFY(!QFile::exists(MimePackagePath("pl4")));
        QVERIFY(MimeAppsValue("Default Applications", "application/x-kov-pl4").isEmpty());
        QVERIFY(IsAssociated("pqd"));
        QCOMPARE(MimeAppsValue("Default Applications", "text/plain"), QString("gedit.desktop"));

        // Another program took .pqd over: unticking leaves its choice alone.
        {
            QFile file(MimeAppsPath());
            QVERIFY(file.open(QIODevice::ReadOnly));
            QString text = QString::fromUtf8(file.readAll());
            file.close();
            text.replace("application/x-kov-pqd=kov.desktop",
                         "application/x-kov-pqd=other.desktop");
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text.toUtf8());
        }
        QVERIFY(!IsAssociated("pqd"));
        QVERIFY(SetAssociation("pqd", false, program));
        QCOMPARE(MimeAppsValue("Default Applications", "application/x-kov-pqd"),
                 QString("other.desktop"));
        qunsetenv("XDG_CONFIG_HOME");
    }

    void helpTopicsShowTheBundledPages() {
        CMainFrame frame;
        frame.Command(kCmdHelpTopics)->trigger();
        QDialog* help = frame.findChild<QDialog*>("KovHelp");
        QVERIFY(help);
        QVERIFY(help->isVisible());
        auto* browser = help->findChild<QTextBrowser*>();
        QVERIFY(browser->toPlainText().contains("KOV Help"));
        KeepScreenshot(help->grab().toImage(), "kov-help.png");
        QVERIFY(browser->toPlainText().contains("Select Quantities to be Discarded"));
    }

    void tipOfTheDayKeepsItsPlace() {
        QString first;
        QString second;
        {
            CTipDlg tip;
            QCOMPARE(tip.windowTitle(), QString("Tip of the Day"));
            QVERIFY(Button(&tip, "&Next Tip") && Button(&tip, "&Close"));
            first = tip.tip();
            KeepScreenshot(tip.grab().toImage(), "kov-tip.png");
            QVERIFY(!first.isEmpty());
            QVERIFY(!first.startsWith("Tips file"));
            Button(&tip, "&Next Tip")->click();
            second = tip.tip();
            QVERIFY(second != first);
            auto* startUp = tip.findChild<QCheckBox*>();
            QCOMPARE(startUp->text(), QString("&Show Tips on StartUp"));
            QVERIFY(startUp->isChecked());
            startUp->setChecked(false);
        }
        QVERIFY(!CTipDlg::ShowAtStartUp());
        QCOMPARE(UserSettings()->value("Tip/FilePos").toInt(), 2);
        CTipDlg again;
        QVERIFY(again.tip() != first && again.tip() != second);
    }

    void aboutBoxAndMainWindowRender() {
        CMainFrame frame;
        frame.show();
        CAboutDlg about(&frame);
        QCOMPARE(about.windowTitle(), QString("About Kov"));
        bool named = false;
        for (QLabel* label : about.findChildren<QLabel*>()) named |= label->text().contains("KOV");
        QVERIFY(named);
        const QImage aboutImage = about.grab().toImage();
        QVERIFY(aboutImage.width() > 200);
        KeepScreenshot(aboutImage, "kov-about.png");

        const QImage image = frame.grab().toImage();
        QVERIFY(image.width() >= 600);
        // The menu bar and toolbar are drawn over the MDI area's background:
        // the window is not one plain colour.
        const QRgb corner = image.pixel(image.width() / 2, image.height() / 2);
        int differing = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < image.width(); x += 4) differing += image.pixel(x, y) != corner;
        QVERIFY(differing > 100);
        QVERIFY(frame.menuBar()->height() > 0);
        KeepScreenshot(image, "kov-main-empty.png");
    }

private:
    QTemporaryDir scratch_;
};

}  // namespace kov

QTEST_MAIN(kov::AppShellTest)
#include "AppShellTest.moc"
