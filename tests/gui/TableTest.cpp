// Table windows: the "Table Quantity Select" dialog and the Table Select
// command, table documents in the main window (every table type on items
// whose values are worked out by hand, the IEEE 519 PCC settings, item use
// counts, discarding, rebuilding) and what the window commands do with a
// table: print, copy and text export.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/TrendStackObject.h"
#include "app/MainWindow.h"
#include "gui/GuiSupport.h"
#include "platform/IniProfile.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "stack/dialogs/StackListBox.h"
#include "support/TestSupport.h"
#include "views/GraphDoc.h"
#include "views/TableCommands.h"
#include "views/TableDoc.h"
#include "views/TableView.h"
#include "views/ViewCommands.h"
#include "views/dialogs/TableSelectDialog.h"

namespace kov {

namespace {

using test::CloseAll;
using test::KeepScreenshot;
using test::Push;

// A waveform with samples at 1 ms steps (time shown in ms).
std::unique_ptr<WaveStackObject> MakeWave(const std::string& part1, const std::string& part2,
                                          const std::vector<float>& y) {
    auto wave =
        std::make_unique<WaveStackObject>(static_cast<std::uint32_t>(y.size()), kUnitVoltage);
    auto xs = wave->xValues.MutableValues();
    auto ys = wave->yValues.MutableValues();
    for (std::size_t i = 0; i < y.size(); ++i) {
        xs[i] = static_cast<float>(i) * 0.001f;
        ys[i] = y[i];
    }
    wave->y2Values = FloatArray{};
    wave->Init("/tmp/rec.cfg", "rec", part1, part2, "", "", "WAVE");
    wave->Finish();
    return wave;
}

// A spectrum of lines (Hz, amperes), phases 0.
std::unique_ptr<SpectrumStackObject> MakeSpectrum(const std::string& part1,
                                                  const std::vector<float>& hz,
                                                  const std::vector<float>& amps) {
    const auto n = static_cast<std::uint32_t>(hz.size());
    auto spectrum = std::make_unique<SpectrumStackObject>(
        n, kUnitCurrent, FloatArray(hz), FloatArray(amps), FloatArray(std::vector<float>(n, 0.0f)));
    spectrum->Init("/tmp/study.out", "study", part1, "IA", "", "", "SPEC");
    spectrum->Finish();
    return spectrum;
}

class Frame : public CMainFrame {
public:
    ~Frame() override { CloseAll(*this); }
};

QPushButton* Button(QWidget* dialog, const QString& text) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// The column of a grid whose first header row reads `header`.
std::size_t Column(const Table& table, std::size_t grid, const std::string& header) {
    const TableGridInfo& info = table.grid(grid);
    for (std::size_t c = 0; c < info.columns; ++c)
        if (!info.headers.empty() && info.headers[0][c] == header) return c;
    return info.columns;
}

std::string Text(const Table& table, std::size_t grid, std::size_t row, const std::string& header) {
    const std::size_t column = Column(table, grid, header);
    if (column >= table.grid(grid).columns) return "<no column " + header + ">";
    return table.Cell(grid, row, column).text;
}

double Value(const Table& table, std::size_t grid, std::size_t row, const std::string& header) {
    const std::string text = Text(table, grid, row, header);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? value : std::nan("");
}

// The first row of a grid whose first cell holds `name`.
std::size_t RowOf(const Table& table, std::size_t grid, const std::string& name) {
    std::size_t row = 0;
    while (row < table.grid(grid).rows &&
           table.Cell(grid, row, 0).text.find(name) == std::string::npos)
        ++row;
    return row;
}

bool Near(double actual, double expected, double relative = 1e-5) {
    return std::abs(actual - expected) <= relative * std::max(1.0, std::abs(expected));
}

#define QVERIFY_NEAR(actual, expected)                                               \
    do {                                                                             \
        const double a_ = (actual);                                                  \
        const double e_ = (expected);                                                \
        QVERIFY2(Near(a_, e_), qPrintable(QString("%1 is not %2").arg(a_).arg(e_))); \
    } while (0)

// Occurrences of a text in a file's bytes.
int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The PCC of the edge case: 13.8 kV, 100 MVA, 50 kVA. IL = 50 kVA / (sqrt(3) 13.8 kV).
constexpr double kVolts = 13800.0;
constexpr double kMva = 100.0;
constexpr double kKva = 50.0;
const double kIl = kKva * 1000.0 / (std::sqrt(3.0) * kVolts);  // 2.0918 A

}  // namespace

class TableTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Default preferences and PCC settings.
        std::filesystem::remove(IniProfile::DefaultPath());
    }

    // ------------------------------------------------------------ the dialog

    void selectDialogOffersTypesAndKeepsSelectionOrder() {
        RecordingUi ui;
        Stack stack(ui);
        std::vector<StackObject*> items;
        for (const char* name : {"A", "B", "C"}) {
            items.push_back(MakeWave(name, "VA", {1.0f, 2.0f}).release());
            stack.Add(std::unique_ptr<StackObject>(items.back()));
        }
        CTableSelectDialog dialog(stack, ui, TableType::Harmonic);
        QCOMPARE(dialog.windowTitle(), QString("Table Quantity Select"));
        const char* names[] = {"Curve Minimum and Maximum", "Waveform Summary",
                               "Time Domain Data Points",   "Frequency Data Points",
                               "Harmonic Summary Data",     "Magnitude vs Switch Operation",
                               "IEEE 519 Current Limits"};
        QCOMPARE(dialog.types()->count(), 7);
        for (int i = 0; i < 7; ++i) QCOMPARE(dialog.types()->itemText(i), QString(names[i]));
        QCOMPARE(dialog.types()->currentIndex(), 4);
        QCOMPARE(dialog.type(), TableType::Harmonic);
        for (const char* text : {"&All", "&None", "&Ok", "&Cancel", "&Help"})
            QVERIFY2(Button(&dialog, text), text);
        QCOMPARE(dialog.list()->count(), 3);
        QVERIFY(dialog.SelectedItems().empty());

        // Picked C, then A: the table's rows come in that order.
        dialog.list()->item(2)->setSelected(true);
        dialog.list()->item(0)->setSelected(true);
        QCOMPARE(dialog.SelectedItems(), (std::vector<StackObject*>{items[2], items[0]}));
        dialog.list()->item(2)->setSelected(false);
        dialog.list()->item(1)->setSelected(true);
        dialog.list()->item(2)->setSelected(true);
        QCOMPARE(dialog.SelectedItems(), (std::vector<StackObject*>{items[0], items[1], items[2]}));
        Button(&dialog, "&None")->click();
        QVERIFY(dialog.SelectedItems().empty());
        Button(&dialog, "&All")->click();
        QCOMPARE(dialog.SelectedItems().size(), std::size_t{3});
        dialog.types()->setCurrentIndex(6);
        QCOMPARE(dialog.type(), TableType::Ieee519);
        KeepScreenshot(&dialog, "kov-table-select.png");
    }

    void okWithNothingSelectedWarnsAndStaysOpen() {
        RecordingUi ui;
        Stack stack(ui);
        stack.Add(MakeWave("A", "VA", {1.0f}));
        CTableSelectDialog dialog(stack, ui, TableType::MinMax);
        QCOMPARE(dialog.types()->currentIndex(), 0);
        bool openAfterOk = false;
        QTimer::singleShot(0, &dialog, [&] {
            Button(&dialog, "&Ok")->click();
            openAfterOk = dialog.isVisible();
            dialog.list()->item(0)->setSelected(true);
            Button(&dialog, "&Ok")->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(openAfterOk);
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QCOMPARE(ui.messages[0].text, std::string(str::kNoItemsSelected));
        QVERIFY(ui.messages[0].text.find("There are currently no items selected.") !=
                std::string::npos);
        QCOMPARE(ui.messages[0].caption, std::string("Kovatrix"));
        QCOMPARE(ui.messages[0].icon, Icon::Warning);
        QCOMPARE(dialog.SelectedItems().size(), std::size_t{1});
    }

    void tableSelectCommandOpensTheChosenTable() {
        Frame frame;
        QAction* select = frame.Command(kCmdTableSelect);
        QVERIFY(select);
        QVERIFY(!select->isEnabled());  // empty stack
        StackObject* wave = Push(frame, MakeWave("BUS1", "VA", {3.0f, -1.0f, 1.0f, -3.0f}));
        StackObject* spectrum = Push(frame, MakeSpectrum("FDR", {60.0f, 180.0f}, {10.0f, 1.0f}));
        frame.UpdateInterfaceFlags();
        QVERIFY(select->isEnabled());

        // With a harmonic table active the dialog opens on that type.
        const std::vector<StackObject*> spectra{spectrum};
        OpenTable(frame, TableType::Harmonic, spectra);
        int shownType = -1;
        QTimer::singleShot(0, &frame, [&] {
            auto* dialog = qobject_cast<CTableSelectDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            shownType = dialog->types()->currentIndex();
            dialog->types()->setCurrentIndex(static_cast<int>(TableType::WaveSummary));
            dialog->list()->SelectItem(wave);
            Button(dialog, "&Ok")->click();
        });
        select->trigger();
        QCOMPARE(shownType, static_cast<int>(TableType::Harmonic));
        QCOMPARE(frame.documents().size(), std::size_t{2});
        auto* doc = dynamic_cast<CTableDoc*>(ActiveDocument(frame));
        QVERIFY(doc);
        QCOMPARE(doc->type(), TableType::WaveSummary);
        QCOMPARE(doc->items(), std::vector<StackObject*>{wave});
        QCOMPARE(doc->Window()->windowTitle(), QString("Waveform Summary - rec>BUS1-VA"));
        // The window commands work for the table window.
        for (int id : {kCmdPrint, kCmdPrintPreview, kCmdCopy, kCmdExport})
            QVERIFY2(frame.Command(id)->isEnabled(), qPrintable(QString::number(id)));
        QCOMPARE(doc->exportKind(), ExportKind::Table);
        QVERIFY(doc->CanPrint());
        // Discarding everything disables the command again.
        CloseAll(frame);
        frame.stack().Remove(wave);
        frame.stack().Remove(spectrum);
        frame.UpdateInterfaceFlags();
        QVERIFY(!select->isEnabled());
    }

    // ------------------------------------------------------- the table types

    void minMaxAndWaveformSummary() {
        Frame frame;
        // y = 3, -1, 1, -3: min -3, max 3, |max| 3, mean 0; mean |y| 2,
        // RMS sqrt((9+1+1+9)/4) = sqrt 5, CF 3 / sqrt 5, FF sqrt 5 / 2.
        StackObject* a = Push(frame, MakeWave("BUS1", "VA", {3.0f, -1.0f, 1.0f, -3.0f}));
        // y = 1, 2, 3, 6: min 1, max 6, mean 3; RMS sqrt(50/4); CF 6 / RMS; FF RMS / 3.
        StackObject* b = Push(frame, MakeWave("BUS2", "VB", {1.0f, 2.0f, 3.0f, 6.0f}));
        const std::vector<StackObject*> items{b, a};
        CTableDoc* minMax = OpenTable(frame, TableType::MinMax, items);
        const Table& t = minMax->table();
        QCOMPARE(t.gridCount(), std::size_t{1});
        QCOMPARE(t.grid(0).rows, std::size_t{2});
        // Rows in selection order: b first.
        QVERIFY_NEAR(Value(t, 0, 0, "Min"), 1.0);
        QVERIFY_NEAR(Value(t, 0, 0, "Max"), 6.0);
        QVERIFY_NEAR(Value(t, 0, 0, "Abs Max"), 6.0);
        QVERIFY_NEAR(Value(t, 0, 0, "Avg"), 3.0);
        QVERIFY_NEAR(Value(t, 0, 1, "Min"), -3.0);
        QVERIFY_NEAR(Value(t, 0, 1, "Max"), 3.0);
        QVERIFY_NEAR(Value(t, 0, 1, "Abs Max"), 3.0);
        QVERIFY_NEAR(Value(t, 0, 1, "Avg"), 0.0);
        // The grid shows the same texts.
        CTableView* view = minMax->view();
        QVERIFY(view);
        QCOMPARE(view->gridCount(), std::size_t{1});
        QAbstractItemModel* model = view->grid(0)->model();
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->headerData(static_cast<int>(Column(t, 0, "Max")), Qt::Horizontal)
                     .toString()
                     .section('\n', 0, 0),
                 QString("Max"));
        QCOMPARE(model->data(model->index(1, static_cast<int>(Column(t, 0, "Min")))).toString(),
                 QString("-3"));

        CTableDoc* summary = OpenTable(frame, TableType::WaveSummary, items);
        const Table& s = summary->table();
        const double rmsA = std::sqrt(5.0);
        QVERIFY_NEAR(Value(s, 0, 1, "Min"), -3.0);
        QVERIFY_NEAR(Value(s, 0, 1, "Max"), 3.0);
        QVERIFY_NEAR(Value(s, 0, 1, "Abs Max"), 3.0);
        QVERIFY_NEAR(Value(s, 0, 1, "Avg"), 2.0);
        QVERIFY_NEAR(Value(s, 0, 1, "RMS"), rmsA);
        QVERIFY_NEAR(Value(s, 0, 1, "CF"), 3.0 / rmsA);
        QVERIFY_NEAR(Value(s, 0, 1, "FF"), rmsA / 2.0);
        const double rmsB = std::sqrt(50.0 / 4.0);
        QVERIFY_NEAR(Value(s, 0, 0, "RMS"), rmsB);
        QVERIFY_NEAR(Value(s, 0, 0, "CF"), 6.0 / rmsB);
        QVERIFY_NEAR(Value(s, 0, 0, "FF"), rmsB / 3.0);
        QCOMPARE(summary->Title(), std::string("Waveform Summary - rec>BUS2-VB"));
        KeepScreenshot(summary->view(), "kov-table-summary.png");
    }

    void dataPointTables() {
        Frame frame;
        // Samples at 0, 1, 2 ms, shown in ms.
        StackObject* wave = Push(frame, MakeWave("BUS1", "VA", {5.0f, -2.5f, 7.0f}));
        const std::vector<StackObject*> waves{wave};
        CTableDoc* time = OpenTable(frame, TableType::TimePoints, waves);
        const Table& t = time->table();
        QCOMPARE(t.grid(0).rows, std::size_t{3});
        QVERIFY_NEAR(Value(t, 0, 2, "Time"), 2.0);
        QVERIFY_NEAR(Value(t, 0, 1, "Value"), -2.5);
        QVERIFY(!t.Cell(0, 2, Column(t, 0, "Time")).date);

        StackObject* spectrum =
            Push(frame, MakeSpectrum("FDR", {60.0f, 120.0f, 180.0f}, {10.0f, 0.0f, 1.5f}));
        const std::vector<StackObject*> spectra{spectrum};
        const Table& f = OpenTable(frame, TableType::FreqPoints, spectra)->table();
        QCOMPARE(f.grid(0).rows, std::size_t{3});
        QVERIFY_NEAR(Value(f, 0, 2, "Value"), 1.5);

        // A trend with absolute times shows dates, centred in the grid.
        const double t0 = 1767225600.0;  // 2026-01-01 00:00:00 UTC
        auto trend =
            std::make_unique<TrendStackObject>(2, kUnitTime, kUnitVoltage, FloatArray{},
                                               FloatArray(std::vector<float>{230.0f, 231.0f}),
                                               DoubleArray(std::vector<double>{t0, t0 + 60.0}));
        trend->Init("/tmp/m.pqd", "mon", "VRMS", "A", "", "", "TRND");
        trend->Finish();
        StackObject* trendItem = Push(frame, std::move(trend));
        const std::vector<StackObject*> trends{trendItem};
        CTableDoc* dates = OpenTable(frame, TableType::TimePoints, trends);
        const std::size_t dateColumn = Column(dates->table(), 0, "Date/Time");
        QVERIFY(dateColumn < dates->table().grid(0).columns);
        QVERIFY(dates->table().Cell(0, 0, dateColumn).date);
        QAbstractItemModel* model = dates->view()->grid(0)->model();
        const auto alignment =
            model->data(model->index(0, static_cast<int>(dateColumn)), Qt::TextAlignmentRole)
                .value<Qt::Alignment>();
        QVERIFY(alignment & Qt::AlignHCenter);

        // A million-point waveform: the grid has every row and asks only for
        // the cells in sight.
        std::vector<float> big(1'000'000);
        for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<float>(i % 1000);
        StackObject* bigWave = Push(frame, MakeWave("BIG", "VA", big));
        const std::vector<StackObject*> bigs{bigWave};
        CTableDoc* points = OpenTable(frame, TableType::TimePoints, bigs);
        QTableView* grid = points->view()->grid(0);
        QCOMPARE(grid->model()->rowCount(), 1'000'000);
        KeepScreenshot(points->view(), "kov-table-points.png");
        grid->scrollToBottom();
        const int valueColumn = static_cast<int>(Column(points->table(), 0, "Value"));
        QCOMPARE(grid->model()->data(grid->model()->index(999'999, valueColumn)).toString(),
                 QString("999"));
    }

    void harmonicSummary() {
        Frame frame;
        // Fundamental 10 A at 60 Hz, 1 A at 180 Hz (H3), 0.5 A at 300 Hz (H5).
        // THD = sqrt(1 + 0.25) / 10 = 11.1803 %; RMS = sqrt(101.25) = 10.0623;
        // ASUM = 11.5.
        StackObject* s =
            Push(frame, MakeSpectrum("FDR", {60.0f, 180.0f, 300.0f}, {10.0f, 1.0f, 0.5f}));
        const std::vector<StackObject*> items{s};
        const Table& t = OpenTable(frame, TableType::Harmonic, items)->table();
        QCOMPARE(t.grid(0).rows, std::size_t{1});
        QVERIFY_NEAR(Value(t, 0, 0, "Freq"), 60.0);
        QVERIFY_NEAR(Value(t, 0, 0, "Fund"), 10.0);
        QVERIFY_NEAR(Value(t, 0, 0, "% THD"), std::sqrt(1.25) / 10.0 * 100.0);
        QVERIFY_NEAR(Value(t, 0, 0, "% RMS"), std::sqrt(101.25) / 10.0 * 100.0);
        QVERIFY_NEAR(Value(t, 0, 0, "% ASUM"), 11.5 / 10.0 * 100.0);
        QVERIFY_NEAR(Value(t, 0, 0, "RMSh"), std::sqrt(1.25));
        QVERIFY_NEAR(Value(t, 0, 0, "RMS"), std::sqrt(101.25));
        QVERIFY_NEAR(Value(t, 0, 0, "ASUM"), 11.5);
        QVERIFY_NEAR(Value(t, 0, 0, "H3"), 1.0);
        QVERIFY_NEAR(Value(t, 0, 0, "H5"), 0.5);
        // No line at 420 Hz: H7 shows nothing (or 0), never a made-up value.
        const std::string h7 = Text(t, 0, 0, "H7");
        QVERIFY2(h7.empty() || h7 == "0", h7.c_str());
        // Highest harmonic 25 (the default preference), odd harmonics only.
        QVERIFY(Column(t, 0, "H25") < t.grid(0).columns);
        QCOMPARE(Column(t, 0, "H27"), t.grid(0).columns);
        QCOMPARE(Column(t, 0, "H4"), t.grid(0).columns);

        // Even harmonics on: H4 shows, and the table follows the preference
        // when it is computed again.
        AppPreferences().evenHarmonics = 1;
        AppPreferences().highestHarmonic = 7;
        CTableDoc* even = OpenTable(frame, TableType::Harmonic, items);
        AppPreferences().evenHarmonics = 0;
        AppPreferences().highestHarmonic = 25;
        const Table& e = even->table();
        QVERIFY(Column(e, 0, "H4") < e.grid(0).columns);
        QCOMPARE(Column(e, 0, "H9"), e.grid(0).columns);
        even->Rebuild();
        QCOMPARE(Column(even->table(), 0, "H4"), even->table().grid(0).columns);
    }

    void switchingStatistics() {
        Frame frame;
        auto stats =
            std::make_unique<StatisticStackObject>(std::vector<double>{1.5, 3.0, 2.0, 2.5});
        stats->Init("/tmp/sw.lis", "sw", "NODE7", "", "", "", "STAT");
        stats->perUnitBase[kAxisX].set = true;
        stats->perUnitBase[kAxisX].value = 2.0;
        stats->ComputeSummary();
        StackObject* item = Push(frame, std::move(stats));
        const std::vector<StackObject*> items{item};
        CTableDoc* doc = OpenTable(frame, TableType::Switching, items);
        const Table& t = doc->table();
        const TableGridInfo& info = t.grid(0);
        QCOMPARE(info.headers.size(), std::size_t{2});
        QCOMPARE(info.headers[0][0], std::string("Node Name"));
        QCOMPARE(info.headers[1][1], std::string("Switch"));
        QCOMPARE(info.headers[1][2], std::string("Time Closed 1"));
        QCOMPARE(info.rows, std::size_t{1});
        // The three highest peaks 3.0, 2.5 and 2.0 over the per-unit base 2.
        QVERIFY_NEAR(Value(t, 0, 0, "Highest"), 1.5);
        QVERIFY_NEAR(Value(t, 0, 0, "Second Highest"), 1.25);
        QVERIFY_NEAR(Value(t, 0, 0, "Third Highest"), 1.0);
        // Both header rows show in the grid's header.
        QAbstractItemModel* model = doc->view()->grid(0)->model();
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(),
                 QString("Highest\nTime Closed 1"));
        KeepScreenshot(doc->view(), "kov-table-switching.png");
    }

    // ------------------------------------------------------------- IEEE 519

    void ieee519MarksViolations() {
        Frame frame;
        CTable519Doc* doc = nullptr;
        StackObject* bad = nullptr;
        StackObject* good = nullptr;
        {
            // Fundamental 2 A; H4 0.1 A = 4.78 % of IL against a quarter of
            // 15 %; H5 0.5 A = 23.9 % against 15 %; H11 0.1 A = 4.78 %
            // against 7 %: harmonics 4 and 5 violate; TDD sqrt(0.27) / IL =
            // 24.8 % against 20 %: exceeds.
            bad = Push(frame, MakeSpectrum("LOAD1", {60.0f, 240.0f, 300.0f, 660.0f},
                                           {2.0f, 0.1f, 0.5f, 0.1f}));
            // Fundamental 2 A, H5 0.02 A: 0.96 %: nothing violates.
            good = Push(frame, MakeSpectrum("LOAD2", {60.0f, 300.0f}, {2.0f, 0.02f}));
            const std::vector<StackObject*> items{bad, good};
            doc = dynamic_cast<CTable519Doc*>(OpenTable(frame, TableType::Ieee519, items));
        }
        QVERIFY(doc);
        QVERIFY(doc->SetPCC(kVolts, kMva, kKva, 1500.0));
        const Table& t = doc->table();
        QCOMPARE(t.gridCount(), std::size_t{3});
        const std::size_t summary = 1, detail = 2;
        QCOMPARE(t.grid(summary).caption, std::string("Summary Table"));
        QCOMPARE(t.grid(detail).caption, std::string("Detail Table"));
        // The items' rows follow the "IEEE 519 Limits" line, which shows
        // the limits of row 4 (Isc/IL = 2000).
        const std::size_t limitsRow = RowOf(t, summary, "IEEE 519 Limits");
        QVERIFY(limitsRow < t.grid(summary).rows);
        QVERIFY_NEAR(Value(t, summary, limitsRow, "h<11"), 15.0);
        QVERIFY_NEAR(Value(t, summary, limitsRow, "h>=35"), 1.4);
        QVERIFY_NEAR(Value(t, summary, limitsRow, "TDD"), 20.0);
        const std::size_t badRow = RowOf(t, summary, "LOAD1");
        const std::size_t goodRow = RowOf(t, summary, "LOAD2");
        QVERIFY(badRow < t.grid(summary).rows && goodRow < t.grid(summary).rows);
        QVERIFY(limitsRow < badRow && badRow < goodRow);
        QCOMPARE(Text(t, summary, badRow, "h<11"), std::string("4,5"));
        QCOMPARE(Text(t, summary, badRow, "11<=h<17"), std::string("OK"));
        QCOMPARE(Text(t, summary, badRow, "TDD"), std::string("Exceeds"));
        QCOMPARE(Text(t, summary, badRow, "Summary"), std::string("Exceeds"));
        QVERIFY(t.Cell(summary, badRow, Column(t, summary, "h<11")).marked);
        QVERIFY(!t.Cell(summary, badRow, Column(t, summary, "11<=h<17")).marked);
        for (const char* band :
             {"h<11", "11<=h<17", "17<=h<23", "23<=h<35", "h>=35", "TDD", "Summary"}) {
            QCOMPARE(Text(t, summary, goodRow, band), std::string("OK"));
            QVERIFY(!t.Cell(summary, goodRow, Column(t, summary, band)).marked);
        }
        // Detail: H5 in percent of IL, marked; H11 not.
        const std::size_t detailRow = RowOf(t, detail, "LOAD1");
        QVERIFY(detailRow < t.grid(detail).rows);
        QVERIFY_NEAR(Value(t, detail, detailRow, "H5"), 0.5 / kIl * 100.0);
        QVERIFY(t.Cell(detail, detailRow, Column(t, detail, "H5")).marked);
        QVERIFY_NEAR(Value(t, detail, detailRow, "H11"), 0.1 / kIl * 100.0);
        QVERIFY(!t.Cell(detail, detailRow, Column(t, detail, "H11")).marked);
        QVERIFY_NEAR(Value(t, detail, detailRow, "TDD"), std::sqrt(0.27) / kIl * 100.0);
        QVERIFY(t.Cell(detail, detailRow, Column(t, detail, "TDD")).marked);

        // The view shows the PCC block, the summary and the detail table;
        // marked cells are red on light red.
        auto* view = qobject_cast<CTable519View*>(doc->view());
        QVERIFY(view);
        QCOMPARE(view->gridCount(), std::size_t{3});
        QAbstractItemModel* model = view->grid(detail)->model();
        const QModelIndex h5 =
            model->index(static_cast<int>(detailRow), static_cast<int>(Column(t, detail, "H5")));
        const QModelIndex h11 =
            model->index(static_cast<int>(detailRow), static_cast<int>(Column(t, detail, "H11")));
        const QColor background = model->data(h5, Qt::BackgroundRole).value<QColor>();
        const QColor foreground = model->data(h5, Qt::ForegroundRole).value<QColor>();
        QVERIFY(background.isValid() && background.red() > background.green());
        QVERIFY(foreground.isValid() && foreground.red() > 120 && foreground.green() < 60);
        QVERIFY(!model->data(h11, Qt::BackgroundRole).isValid());
        view->parentWidget()->resize(900, 640);
        KeepScreenshot(view, "kov-table-519.png");
        QCOMPARE(view->volts()->text(), QString("13800"));
        QCOMPARE(view->kva()->text(), QString("50"));
        QVERIFY(good->inUse == 1 && bad->inUse == 1);
    }

    void pccChangesRecomputeAndPersist() {
        std::filesystem::remove(IniProfile::DefaultPath());
        {
            Frame frame;
            StackObject* s = Push(frame, MakeSpectrum("LOAD1", {60.0f, 300.0f}, {2.0f, 0.5f}));
            const std::vector<StackObject*> items{s};
            auto* doc = dynamic_cast<CTable519Doc*>(OpenTable(frame, TableType::Ieee519, items));
            QVERIFY(doc);
            // The defaults: 13800 V, 100 MVA, 100 kVA, 1500.
            QCOMPARE(doc->pcc(), Ieee519Settings{});
            QCOMPARE(doc->builds(), 1);
            const double il100 = 100.0 * 1000.0 / (std::sqrt(3.0) * kVolts);
            QVERIFY_NEAR(Value(doc->table(), 2, RowOf(doc->table(), 2, "LOAD1"), "H5"),
                         0.5 / il100 * 100.0);

            // The same values: nothing is computed.
            QVERIFY(doc->SetPCC(13800.0, 100.0, 100.0, 1500.0));
            QCOMPARE(doc->builds(), 1);
            // A new demand: computed again, H5 relative to the new IL.
            QVERIFY(doc->SetPCC(kVolts, kMva, kKva, 1500.0));
            QCOMPARE(doc->builds(), 2);
            QVERIFY_NEAR(Value(doc->table(), 2, RowOf(doc->table(), 2, "LOAD1"), "H5"),
                         0.5 / kIl * 100.0);
            // Values that make no sense are refused.
            QVERIFY(!doc->SetPCC(0.0, kMva, kKva, 1500.0));
            QVERIFY(!doc->SetPCC(kVolts, -1.0, kKva, 1500.0));
            QVERIFY(!doc->SetPCC(kVolts, kMva, std::nan(""), 1500.0));
            QVERIFY(!doc->SetPCC(kVolts, kMva, kKva, -1.0));
            QCOMPARE(doc->builds(), 2);
            QCOMPARE(doc->pcc().maxDemandKva, kKva);

            // Typed into the window: the I*T limit goes through SetPCC.
            auto* view = qobject_cast<CTable519View*>(doc->view());
            QVERIFY(view);
            view->itLimit()->setText("2500");
            QVERIFY(view->Apply());
            QCOMPARE(doc->builds(), 3);
            QCOMPARE(doc->pcc().itLimit, 2500.0);
            QCOMPARE(view->itLimit()->text(), QString("2500"));
            // A rebuild while the user is typing keeps the typed text.
            view->itLimit()->setText("31");
            doc->Rebuild();
            QCOMPARE(view->itLimit()->text(), QString("31"));
            QCOMPARE(doc->pcc().itLimit, 2500.0);
            view->itLimit()->setText("2500");
            CloseAll(frame);
        }
        // Closing the window wrote the settings to KOV.ini.
        const std::string ini = test::ReadFile(IniProfile::DefaultPath());
        QVERIFY(ini.find("[IEEE519Table]") != std::string::npos);
        IniProfile profile(IniProfile::DefaultPath());
        QCOMPARE(profile.GetDouble("IEEE519Table", "PCCVolts", 0.0), kVolts);
        QCOMPARE(profile.GetDouble("IEEE519Table", "PCCMVA", 0.0), kMva);
        QCOMPARE(profile.GetDouble("IEEE519Table", "MaxDemandKVA", 0.0), kKva);
        QCOMPARE(profile.GetDouble("IEEE519Table", "ITLimit", 0.0), 2500.0);
        // And the next table starts from them.
        {
            Frame frame;
            StackObject* s = Push(frame, MakeSpectrum("LOAD1", {60.0f, 300.0f}, {2.0f, 0.5f}));
            const std::vector<StackObject*> items{s};
            auto* doc = dynamic_cast<CTable519Doc*>(OpenTable(frame, TableType::Ieee519, items));
            QCOMPARE(doc->pcc().maxDemandKva, kKva);
            QCOMPARE(doc->pcc().itLimit, 2500.0);
        }
        // A value in the file that makes no sense gives way to its default.
        profile.SetString("IEEE519Table", "PCCVolts", "0");
        const Ieee519Settings loaded = LoadPccSettings(profile);
        QCOMPARE(loaded.pccVolts, 13800.0);
        QCOMPARE(loaded.maxDemandKva, kKva);
        std::filesystem::remove(IniProfile::DefaultPath());
    }

    // ------------------------------------------------ print, copy and export

    void paginationAndPageHeader() {
        QCOMPARE(PageHeader("Harmonic Summary Data - x", 2, 5),
                 std::string("Harmonic Summary Data - x   Page 2 of 5"));
        RecordingUi ui;
        Stack stack(ui);
        auto* stats = new StatisticStackObject(std::vector<double>{1.0});
        stats->Init("", "sw", "N", "", "", "", "STAT");
        stack.Add(std::unique_ptr<StackObject>(stats));
        std::vector<const StackObject*> items;
        for (int i = 0; i < 100; ++i) items.push_back(stats);
        // 100 rows under 2 header rows, 30 lines a page: 28 rows a page with
        // the headers repeated: 28 + 28 + 28 + 16.
        const auto table = BuildTable(TableType::Switching, items, TableOptions{});
        QCOMPARE(table->grid(0).rows, std::size_t{100});
        const auto pages = PaginateTable(*table, 30);
        QCOMPARE(pages.size(), std::size_t{4});
        QCOMPARE(pages[0][0].rowCount, std::size_t{28});
        QCOMPARE(pages[3][0].firstRow, std::size_t{84});
        QCOMPARE(pages[3][0].rowCount, std::size_t{16});
        // Pages too small for the headers still print every row.
        const auto tiny = PaginateTable(*table, 1);
        std::size_t printed = 0;
        for (const auto& page : tiny)
            for (const auto& segment : page) printed += segment.rowCount;
        QCOMPARE(printed, std::size_t{100});
        QCOMPARE(tiny.size(), std::size_t{100});
    }

    void printToPdf() {
        Frame frame;
        StackObject* bad = Push(frame, MakeSpectrum("LOAD1", {60.0f, 300.0f}, {2.0f, 0.5f}));
        const std::vector<StackObject*> items{bad};
        CTableDoc* doc = OpenTable(frame, TableType::Ieee519, items);
        test::TempDir dir;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((dir / "t.pdf").string()));
        doc->Print(printer);
        const std::string pdf = test::ReadFile(dir / "t.pdf");
        QVERIFY(pdf.rfind("%PDF", 0) == 0);
        QCOMPARE(Count(pdf, "/Type /Page\n"), 1);
        if (!qEnvironmentVariable("KOV_SCREENSHOT_DIR").isEmpty())
            std::filesystem::copy_file(
                dir / "t.pdf", qEnvironmentVariable("KOV_SCREENSHOT_DIR").toStdString() + "/t.pdf",
                std::filesystem::copy_options::overwrite_existing);

        // 20000 points: many pages, every one of them printed.
        std::vector<float> y(20000, 1.0f);
        StackObject* wave = Push(frame, MakeWave("LONG", "VA", y));
        const std::vector<StackObject*> waves{wave};
        CTableDoc* points = OpenTable(frame, TableType::TimePoints, waves);
        QPrinter longPrinter;
        longPrinter.setOutputFormat(QPrinter::PdfFormat);
        longPrinter.setOutputFileName(QString::fromStdString((dir / "long.pdf").string()));
        RecordingUi ui;
        const int pages = PrintTable(points->table(), points->Title(), longPrinter, &ui);
        QVERIFY(pages > 100);
        QCOMPARE(Count(test::ReadFile(dir / "long.pdf"), "/Type /Page\n"), pages);
        // So long a print shows its progress, and closes the window at the end.
        QVERIFY(ui.progress.size() > 3);
        QCOMPARE(ui.progress.front(), std::string("create"));
        QCOMPARE(ui.progress[1], "range " + std::to_string(pages));
        QCOMPARE(ui.progress[2], "text Printing page 1 of " + std::to_string(pages));
        QCOMPARE(ui.progress.back(), std::string("destroy"));
        // A page range prints only those pages.
        QPrinter range;
        range.setOutputFormat(QPrinter::PdfFormat);
        range.setOutputFileName(QString::fromStdString((dir / "range.pdf").string()));
        range.setFromTo(2, 4);
        range.setPrintRange(QPrinter::PageRange);
        QCOMPARE(PrintTable(points->table(), points->Title(), range), pages);
        QCOMPARE(Count(test::ReadFile(dir / "range.pdf"), "/Type /Page\n"), 3);
        // A range left from an earlier print, not chosen now, prints everything.
        range.setPrintRange(QPrinter::AllPages);
        range.setOutputFileName(QString::fromStdString((dir / "all.pdf").string()));
        QCOMPARE(PrintTable(points->table(), points->Title(), range), pages);
        QCOMPARE(Count(test::ReadFile(dir / "all.pdf"), "/Type /Page\n"), pages);

        // More than 500 pages: the user is asked first, and No prints nothing.
        std::vector<float> many(40000, 1.0f);
        StackObject* huge = Push(frame, MakeWave("HUGE", "VA", many));
        const std::vector<StackObject*> hugeItems{huge};
        CTableDoc* hugePoints = OpenTable(frame, TableType::TimePoints, hugeItems);
        QPrinter asked;
        asked.setOutputFormat(QPrinter::PdfFormat);
        asked.setOutputFileName(QString::fromStdString((dir / "asked.pdf").string()));
        RecordingUi no;
        no.questionAnswer = Answer::No;
        QCOMPARE(PrintTable(hugePoints->table(), hugePoints->Title(), asked, &no), 0);
        QCOMPARE(no.messages.size(), std::size_t{1});
        QVERIFY(no.LastText().find("pages. Do you want to print them all?") != std::string::npos);
        QVERIFY(no.progress.empty());
    }

    void copyPutsTheGridOnTheClipboard() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("BUS1", "VA", {3.0f, -1.0f, 1.0f, -3.0f}));
        const std::vector<StackObject*> items{a};
        CTableDoc* doc = OpenTable(frame, TableType::MinMax, items);
        const Table& t = doc->table();
        // Nothing selected: the whole grid, headers first.
        doc->Copy();
        const QString all = QApplication::clipboard()->text();
        const QStringList lines = all.split('\n');
        QCOMPARE(lines.size(), static_cast<qsizetype>(t.grid(0).headers.size() + 1 + 1));
        QVERIFY(lines.back().isEmpty());  // every line ends in "\n"
        QVERIFY(lines[0].split('\t').contains("Abs Max"));
        QStringList row = lines[static_cast<qsizetype>(t.grid(0).headers.size())].split('\t');
        QCOMPARE(row.size(), static_cast<qsizetype>(t.grid(0).columns));
        QCOMPARE(row[static_cast<qsizetype>(Column(t, 0, "Min"))], QString("-3"));
        QCOMPARE(row[static_cast<qsizetype>(Column(t, 0, "Max"))], QString("3"));
        // The same through the main window's Copy command.
        QApplication::clipboard()->clear();
        frame.Command(kCmdCopy)->trigger();
        QCOMPARE(QApplication::clipboard()->text(), all);

        // A selection: only its cells, tab-separated.
        QTableView* grid = doc->view()->grid(0);
        const int min = static_cast<int>(Column(t, 0, "Min"));
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(0, min), grid->model()->index(0, min + 1)),
            QItemSelectionModel::Select);
        doc->Copy();
        QCOMPARE(QApplication::clipboard()->text(), QString("-3\t3\n"));

        // Several grids: each with its caption, a blank line between them.
        StackObject* s = Push(frame, MakeSpectrum("LOAD1", {60.0f, 300.0f}, {2.0f, 0.5f}));
        const std::vector<StackObject*> spectra{s};
        CTableDoc* ieee = OpenTable(frame, TableType::Ieee519, spectra);
        ieee->Copy();
        const QString text = QApplication::clipboard()->text();
        QVERIFY(text.contains("\nSummary Table\n"));
        QVERIFY(text.contains("\n\nDetail Table\n"));
        QCOMPARE(text, TableClipText(ieee->table()));

        // Two cells far apart: their two rows, not every row between them.
        std::vector<float> y(300000, 1.0f);
        StackObject* wave = Push(frame, MakeWave("LONG", "VA", y));
        const std::vector<StackObject*> waves{wave};
        RecordingUi ui;
        CTableDoc points(TableType::TimePoints, waves, ui);
        const std::unique_ptr<QWidget> window(points.Window());
        QTableView* pointGrid = points.view()->grid(0);
        QAbstractItemModel* model = pointGrid->model();
        pointGrid->selectionModel()->select(model->index(0, 3), QItemSelectionModel::Select);
        pointGrid->selectionModel()->select(model->index(299999, 3), QItemSelectionModel::Select);
        points.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QString("1\n1\n"));
        // The whole table is too long for the clipboard: a message, nothing copied.
        pointGrid->clearSelection();
        QApplication::clipboard()->setText("before");
        points.Copy();
        QCOMPARE(QApplication::clipboard()->text(), QString("before"));
        QCOMPARE(ui.messages.size(), std::size_t{1});
        QVERIFY2(ui.LastText().find(" rows are too many for the clipboard.") != std::string::npos,
                 ui.LastText().c_str());
    }

    void writeTextThroughTheDocumentInterface() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("BUS1", "VA", {3.0f, -1.0f, 1.0f, -3.0f}));
        const std::vector<StackObject*> items{a};
        CKov32Doc* doc = OpenTable(frame, TableType::MinMax, items);
        test::TempDir dir;
        const std::string path = (dir / "t.csv").string();
        test::WriteFile(dir / "t.csv", "old content that must go\n");
        QVERIFY(doc->WriteText(path, ','));
        const std::string text = test::ReadFile(path);
        // Two header lines (the second empty: one header row), then the
        // item's case name, label and four values as "%G".
        QCOMPARE(text, std::string("Case,Item,Min,Max,Abs Max,Avg\n,,,,,\nrec,BUS1-VA,-3,3,3,0\n"));
        QVERIFY(!doc->WriteText((dir / "missing" / "t.txt").string(), '\t'));
    }

    // -------------------------------------------- the items behind a table

    void discardClosesTheTableAndReleasesItems() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("A", "VA", {1.0f, 2.0f}));
        StackObject* b = Push(frame, MakeWave("B", "VB", {1.0f, 2.0f}));
        const std::vector<StackObject*> both{a, b};
        const std::vector<StackObject*> onlyB{b};
        OpenTable(frame, TableType::MinMax, both);
        OpenTable(frame, TableType::WaveSummary, onlyB);
        QCOMPARE(a->inUse, 1u);
        QCOMPARE(b->inUse, 2u);
        frame.stack().Remove(a);
        QCOMPARE(frame.documents().size(), std::size_t{1});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(b->inUse, 1u);
        CloseAll(frame);
        QCOMPARE(frame.documents().size(), std::size_t{0});
        QCOMPARE(b->inUse, 0u);
    }

    void refreshRebuildsTheTable() {
        Frame frame;
        auto wave = MakeWave("A", "VA", {1.0f, 2.0f, 3.0f});
        WaveStackObject* raw = wave.get();
        StackObject* a = Push(frame, std::move(wave));
        StackObject* other = Push(frame, MakeWave("B", "VB", {1.0f}));
        const std::vector<StackObject*> items{a};
        CTableDoc* doc = OpenTable(frame, TableType::MinMax, items);
        QVERIFY_NEAR(Value(doc->table(), 0, 0, "Max"), 3.0);
        QCOMPARE(doc->builds(), 1);
        // New values, as Refresh from Disk leaves them, then the rebuild.
        raw->yValues.MutableValues()[2] = 9.0f;
        raw->Finish();
        QCOMPARE(frame.RebuildWindowsShowing({a}), 1);
        QCOMPARE(doc->builds(), 2);
        QVERIFY_NEAR(Value(doc->table(), 0, 0, "Max"), 9.0);
        QAbstractItemModel* model = doc->view()->grid(0)->model();
        QCOMPARE(model->data(model->index(0, static_cast<int>(Column(doc->table(), 0, "Max"))))
                     .toString(),
                 QString("9"));
        QCOMPARE(doc->ItemChanged(a), 1);
        QCOMPARE(doc->ItemChanged(other), 0);
        QCOMPARE(doc->builds(), 3);
        doc->RefreshData();
        QCOMPARE(doc->builds(), 4);
    }
};

}  // namespace kov

QTEST_MAIN(kov::TableTest)
#include "TableTest.moc"
