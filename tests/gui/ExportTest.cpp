// File Export: the save dialog of graph and table windows (title, filters,
// the remembered filter), the dialog-free export of the active window (data
// written, default extension, wrong filter index, unwritable file) and the
// Export command's state.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QtTest>
#include <functional>

#include "app/MainWindow.h"
#include "platform/IniProfile.h"
#include "stack/WaveStackObject.h"
#include "support/TestSupport.h"
#include "views/ExportCommand.h"
#include "views/GraphDoc.h"
#include "views/TableCommands.h"
#include "views/TableDoc.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

std::unique_ptr<WaveStackObject> Wave(const std::string& name, std::vector<float> x,
                                      std::vector<float> y) {
    auto w = std::make_unique<WaveStackObject>();
    w->axisUnits[kAxisY].unitId = kUnitVoltage;
    w->SetSamples(FloatArray(std::move(x)), FloatArray(std::move(y)));
    w->Init("/data/rec.cfg", "case", name, "", "", "", "WAVE");
    w->Finish();
    return w;
}

class Frame : public CMainFrame {
public:
    ~Frame() override {
        mdiArea()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// A graph window over two waves of 3 and 5 samples.
void MakeGraph(CMainFrame& frame) {
    auto a = Wave("A", {0.0f, 0.5f, 1.0f}, {1, 2, 3});
    auto b = Wave("B", {0, 1, 2, 3, 4}, {10, 20, 30, 40, 50});
    const std::vector<StackObject*> items{a.get(), b.get()};
    frame.stack().Add(std::move(a));
    frame.stack().Add(std::move(b));
    CreateGraphs(frame, items, GraphSelection{});
}

// A table-like document: it records what it is asked to write.
class TableLikeDoc : public CKov32Doc {
public:
    explicit TableLikeDoc(std::string* written) : written_(written), window_(new QLabel("t")) {}
    bool ShowsItem(const StackObject*) const override { return false; }
    int Rebuild() override { return 0; }
    void RefreshData() override {}
    QWidget* Window() override { return window_; }
    ExportKind exportKind() const override { return ExportKind::Table; }
    bool WriteText(const std::string& path, char separator) override {
        *written_ = path + "|" + separator;
        return true;
    }

private:
    std::string* written_;
    QWidget* window_;
};

// Answers the next message box and keeps its caption and text.
struct Seen {
    QString caption, text;
};
void AnswerMessage(Seen& seen) {
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {box->windowTitle(), box->text()};
        box->accept();
    });
}

// Runs `drive` on the save dialog as soon as it shows.
void OnFileDialog(std::function<void(QFileDialog*)> drive) {
    QTimer::singleShot(0, [drive] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog) drive(dialog);
    });
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::filesystem::remove(IniProfile::DefaultPath()); }

    void graphFiltersInOrder() {
        QCOMPARE(ExportFilters(ExportKind::Graph),
                 QStringList({"SVG Picture (*.svg)", "PDF Document (*.pdf)", "PNG Picture (*.png)",
                              "ASCII Tabbed Text File (*.txt)", "Comma Separated Values (*.csv)",
                              "IEEE COMTRADE ASCII (*.cfg)"}));
        QCOMPARE(ExportFilters(ExportKind::Table),
                 QStringList({"ASCII Tabbed Text File (*.txt)", "Comma Separated Values (*.csv)"}));
        QVERIFY(ExportFilters(ExportKind::None).isEmpty());
    }

    void activeGraphToDataFiles() {
        Frame frame;
        MakeGraph(frame);
        test::TempDir dir;
        // Filter 5: comma-separated values; ".csv" added to a name without extension.
        QVERIFY(ExportActiveWindow(frame, (dir / "g").string(), 5));
        QCOMPARE(QString::fromStdString(test::ReadFile(dir / "g.csv")),
                 QString("X,\"case>A\",\"case>B\"\r\n0,1,10\r\n0.5,2,20\r\n1,3,30\r\n"));
        // A name with an extension keeps it; filter 4 is tab text.
        QVERIFY(ExportActiveWindow(frame, (dir / "g.data").string(), 4));
        QCOMPARE(QString::fromStdString(test::ReadFile(dir / "g.data")),
                 QString("X\tcase>A\tcase>B\r\n0\t1\t10\r\n0.5\t2\t20\r\n1\t3\t30\r\n"));
        // Filter 6: the three COMTRADE files.
        QVERIFY(ExportActiveWindow(frame, (dir / "rec").string(), 6));
        for (const char* name : {"rec.hdr", "rec.cfg", "rec.dat"})
            QVERIFY(std::filesystem::exists(dir / name));
        QVERIFY(test::ReadFile(dir / "rec.cfg").rfind("KOV,0,1999\r\n2,2A,0D\r\n", 0) == 0);
        // Filter 1 still writes the picture.
        QVERIFY(ExportActiveWindow(frame, (dir / "pic").string(), 1));
        QVERIFY(test::ReadFile(dir / "pic.svg").find("<svg") != std::string::npos);
    }

    void wrongFilterAndUnwritableFile() {
        Frame frame;
        MakeGraph(frame);
        test::TempDir dir;
        for (int index : {0, 7}) {
            Seen seen;
            AnswerMessage(seen);
            QVERIFY(!ExportActiveWindow(frame, (dir / "x.csv").string(), index));
            QCOMPARE(seen.text, QString("Wrong file type"));
            QCOMPARE(seen.caption, QString("KOV"));
        }
        const std::string missing = (dir / "none" / "x.csv").string();
        Seen seen;
        AnswerMessage(seen);
        QVERIFY(!ExportActiveWindow(frame, missing, 5));
        QCOMPARE(seen.text,
                 QString::fromStdString("The file " + missing + " could not be written."));
        QCOMPARE(seen.caption, QString("KOV"));
        QVERIFY(std::filesystem::is_empty(dir.path()));
    }

    void saveDialogRemembersTheFilter() {
        test::TempDir dir;
        test::TempDir data;  // the folder of the last data file
        IniProfile(IniProfile::DefaultPath())
            .SetString("General", "PATH", data.path().string() + "/");
        Frame frame;
        MakeGraph(frame);
        frame.profile().SetInt("General", "SaveGraphType", 5);
        QString title, offered, folder;
        OnFileDialog([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            offered = dialog->selectedNameFilter();
            folder = dialog->directory().absolutePath();
            // The user picks tab text in the file type list.
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            QVERIFY(types);
            types->setCurrentIndex(3);
            emit types->activated(3);
            emit types->textActivated(types->currentText());
            dialog->selectFile(QString::fromStdString((dir / "picked").string()));
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept is protected
        });
        QAction* exportCommand = frame.Command(kCmdExport);
        QVERIFY(exportCommand && exportCommand->isEnabled());
        exportCommand->trigger();
        QCOMPARE(title, QString("Export Graph"));
        QCOMPARE(offered, QString("Comma Separated Values (*.csv)"));
        // The dialog opens in the folder of the last data file.
        QCOMPARE(folder,
                 QDir(QString::fromStdString(frame.workbench().lastDirectory())).absolutePath());
        QCOMPARE(frame.profile().GetInt("General", "SaveGraphType", 0), 4L);
        QVERIFY(test::ReadFile(dir / "picked.txt").rfind("X\tcase>A\tcase>B\r\n", 0) == 0);

        // Cancel writes nothing and keeps the remembered filter.
        OnFileDialog([](QFileDialog* dialog) { dialog->reject(); });
        exportCommand->trigger();
        QCOMPARE(frame.profile().GetInt("General", "SaveGraphType", 0), 4L);
    }

    void tableWindowsWriteTheirText() {
        Frame frame;
        std::string written;
        frame.AddDocument(std::make_unique<TableLikeDoc>(&written));
        UpdateWindowCommands(frame);
        QAction* exportCommand = frame.Command(kCmdExport);
        QVERIFY(exportCommand->isEnabled());
        test::TempDir dir;
        QVERIFY(ExportActiveWindow(frame, (dir / "t").string(), 2));
        QCOMPARE(QString::fromStdString(written),
                 QString::fromStdString((dir / "t.csv").string() + "|,"));
        QVERIFY(ExportActiveWindow(frame, (dir / "t").string(), 1));
        QCOMPARE(QString::fromStdString(written),
                 QString::fromStdString((dir / "t.txt").string() + "|\t"));
        Seen seen;
        AnswerMessage(seen);
        QVERIFY(!ExportActiveWindow(frame, (dir / "t").string(), 3));
        QCOMPARE(seen.text, QString("Wrong file type"));

        frame.profile().SetInt("General", "SaveTableType", 2);
        QString title, offered;
        QStringList filters;
        OnFileDialog([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            offered = dialog->selectedNameFilter();
            filters = dialog->nameFilters();
            dialog->reject();
        });
        exportCommand->trigger();
        QCOMPARE(title, QString("Export Table"));
        QCOMPARE(offered, QString("Comma Separated Values (*.csv)"));
        QCOMPARE(filters, ExportFilters(ExportKind::Table));
    }

    void realTableWindow() {
        Frame frame;
        auto a = Wave("A", {0.0f, 0.5f, 1.0f}, {1, 2, 3});
        const std::vector<StackObject*> items{a.get()};
        frame.stack().Add(std::move(a));
        CTableDoc* doc = OpenTable(frame, TableType::TimePoints, items);
        QVERIFY(doc);
        QVERIFY(frame.Command(kCmdExport)->isEnabled());
        test::TempDir dir;
        // The table's own text, with the separator of the filter.
        QVERIFY(doc->table().WriteText((dir / "direct.csv").string(), ','));
        QVERIFY(doc->table().WriteText((dir / "direct.txt").string(), '\t'));
        QVERIFY(ExportActiveWindow(frame, (dir / "points").string(), 2));
        QVERIFY(ExportActiveWindow(frame, (dir / "points").string(), 1));
        const std::string csv = test::ReadFile(dir / "points.csv");
        QVERIFY(csv.find(',') != std::string::npos);
        QCOMPARE(csv, test::ReadFile(dir / "direct.csv"));
        QCOMPARE(test::ReadFile(dir / "points.txt"), test::ReadFile(dir / "direct.txt"));
    }

    void exportNeedsAWindowThatExports() {
        Frame frame;
        UpdateWindowCommands(frame);
        QVERIFY(!frame.Command(kCmdExport)->isEnabled());
        QVERIFY(!ExportActiveWindow(frame, "/tmp/never.csv", 5));
    }
};

}  // namespace kov

QTEST_MAIN(kov::ExportTest)
#include "ExportTest.moc"
