// Graph windows: the graph logic (preferences, selection rules, titles,
// comments, decimation), graph documents in the main window (modes, item
// use counts, discarding, background curves) and picture export.

#include <qcustomplot.h>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPrinter>
#include <QtTest>
#include <cmath>
#include <functional>
#include <limits>

#include "analysis/MagDurStackObject.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/XYStackObject.h"
#include "app/MainWindow.h"
#include "gui/GuiSupport.h"
#include "platform/IniProfile.h"
#include "platform/MemoryProfile.h"
#include "readers/DataFile.h"
#include "stack/WaveStackObject.h"
#include "support/TestSupport.h"
#include "views/ExportCommand.h"
#include "views/GraphDoc.h"
#include "views/GraphModel.h"
#include "views/GraphView.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

using test::CloseAll;
using test::Push;

// A waveform of n samples at 1 ms steps (shown in ms), a sine of amplitude
// 100 V, with one spike of `spike` at sample n / 3 when spike is not 0.
std::unique_ptr<WaveStackObject> MakeWave(const std::string& part1, const std::string& part2,
                                          std::size_t n, float spike = 0.0f) {
    auto wave = std::make_unique<WaveStackObject>(static_cast<std::uint32_t>(n), kUnitVoltage);
    auto x = wave->xValues.MutableValues();
    auto y = wave->yValues.MutableValues();
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = static_cast<float>(i) * 0.001f;
        y[i] =
            static_cast<float>(100.0 * std::sin(2 * M_PI * 60.0 * static_cast<double>(i) * 0.001));
    }
    if (spike != 0.0f && n > 3) y[n / 3] = spike;
    wave->y2Values = FloatArray{};
    wave->Init("/tmp/rec.cfg", "rec", part1, part2, "", "", "WAVE");
    wave->Finish();
    return wave;
}

class Frame : public CMainFrame {
public:
    ~Frame() override { CloseAll(*this); }
    // Load picks every quantity the reader offers.
    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override {
        LoadChoice choice;
        for (std::size_t i = 0; i < reader.Catalogue().size(); ++i) choice.indexes.push_back(i);
        return choice;
    }
};

// Pixels of an image that differ from the background colour.
int InkedPixels(const QImage& image, QColor background = Qt::white) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background) ++count;
    return count;
}

bool HasColor(const QImage& image, QColor color) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color) return true;
    return false;
}

}  // namespace

class GraphTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The graphs here use the default preferences.
        std::filesystem::remove(IniProfile::DefaultPath());
    }

    void preferencesDefaults() {
        MemoryProfile empty;
        GraphPreferences p;
        p.Load(empty);
        QCOMPARE(p.legendActive, 1);
        QCOMPARE(p.lineStyles, 1);
        QCOMPARE(p.filterPoints, 0);
        QCOMPARE(p.pngX, 640);
        QCOMPARE(p.pngY, 480);
        QCOMPARE(p.wmfX, 6.0);
        QCOMPARE(p.wmfInches, 1);
        QCOMPARE(p.baseFrequency, 60.0);
        QCOMPARE(p.grid.style, 3);
        QCOMPARE(p.scale.x.tics, 10);
        QCOMPARE(p.highestHarmonic, 25);
        QCOMPARE(p.curveColors[1], ColorRef{0x00FF00});
        QCOMPARE(p.curveColors[15], ColorRef{0x008080});
        QCOMPARE(p.ExportWidthHundredths(), 600);
        p.wmfInches = 0;
        p.wmfX = 152.4;
        QCOMPARE(p.ExportWidthHundredths(), 600);
    }

    void preferencesRoundTripThroughKovIni() {
        test::TempDir dir;
        GraphPreferences p;
        p.initialDB = 1;
        p.initialCB = 1;
        p.legendActive = 0;
        p.lineStyles = 0;
        p.filterPoints = 1;
        p.pngX = 1024;
        p.pngY = 768;
        p.wmfX = 150.5;
        p.wmfY = 99.25;
        p.wmfInches = 0;
        p.baseFrequency = 50.0;
        p.colorBackground = 0x102030;
        p.colorDesktop = 0x405060;
        p.colorForeground = 0x708090;
        p.colorText = 0x0000FF;
        p.colorXAxis = 0x00FF00;
        p.colorYAxis = 0xFF0000;
        for (int i = 0; i < kCurveColorCount; ++i)
            p.curveColors[static_cast<std::size_t>(i)] = static_cast<ColorRef>(i * 0x010101);
        p.grid = GridOptions{1, true, false, true, false, true};
        p.scale.x = AxisScale{false, true, true, -5.5, 7.25, 2.5, 4};
        p.scale.y = AxisScale{false, false, true, 1.0, 3.0, 0.5, 5};
        p.scale.logX = p.scale.probX = p.scale.logY = p.scale.polar = true;
        p.dateExport = 0;
        p.nullGap = 1;
        p.magDur = 4;
        p.evenHarmonics = 1;
        p.highestHarmonic = 49;
        {
            IniProfile ini(dir / "KOV.ini");
            p.Save(ini);
        }
        const std::string text = test::ReadFile(dir / "KOV.ini");
        QVERIFY(text.find("[Preferences]") != std::string::npos);
        QVERIFY(text.find("FilterPoints=1") != std::string::npos);
        QVERIFY(text.find("color_curve16=") != std::string::npos);
        QVERIFY(text.find("HighestHarmonic=49") != std::string::npos);
        IniProfile reread(dir / "KOV.ini");
        GraphPreferences q;
        q.Load(reread);
        QCOMPARE(q.initialDB, 1);
        QCOMPARE(q.initialCB, 1);
        QCOMPARE(q.legendActive, 0);
        QCOMPARE(q.lineStyles, 0);
        QCOMPARE(q.filterPoints, 1);
        QCOMPARE(q.pngX, 1024);
        QCOMPARE(q.pngY, 768);
        QCOMPARE(q.wmfX, 150.5);
        QCOMPARE(q.wmfY, 99.25);
        QCOMPARE(q.wmfInches, 0);
        QCOMPARE(q.baseFrequency, 50.0);
        QCOMPARE(q.colorBackground, ColorRef{0x102030});
        QCOMPARE(q.colorDesktop, ColorRef{0x405060});
        QCOMPARE(q.colorForeground, ColorRef{0x708090});
        QCOMPARE(q.colorText, ColorRef{0x0000FF});
        QCOMPARE(q.colorXAxis, ColorRef{0x00FF00});
        QCOMPARE(q.colorYAxis, ColorRef{0xFF0000});
        QVERIFY(q.curveColors == p.curveColors);
        QCOMPARE(q.grid.style, 1);
        QCOMPARE(q.grid.front, true);
        QCOMPARE(q.grid.majorX, false);
        QCOMPARE(q.grid.minorX, true);
        QCOMPARE(q.grid.majorY, false);
        QCOMPARE(q.grid.minorY, true);
        QCOMPARE(q.scale.x.autoRange, false);
        QCOMPARE(q.scale.x.symmetric, true);
        QCOMPARE(q.scale.x.zero, true);
        QCOMPARE(q.scale.x.min, -5.5);
        QCOMPARE(q.scale.x.max, 7.25);
        QCOMPARE(q.scale.x.grid, 2.5);
        QCOMPARE(q.scale.x.tics, 4);
        QCOMPARE(q.scale.y.autoRange, false);
        QCOMPARE(q.scale.y.symmetric, false);
        QCOMPARE(q.scale.y.zero, true);
        QCOMPARE(q.scale.y.min, 1.0);
        QCOMPARE(q.scale.y.max, 3.0);
        QCOMPARE(q.scale.y.grid, 0.5);
        QCOMPARE(q.scale.y.tics, 5);
        QVERIFY(q.scale.logX && q.scale.probX && q.scale.logY && q.scale.polar);
        QCOMPARE(q.dateExport, 0);
        QCOMPARE(q.nullGap, 1);
        QCOMPARE(q.magDur, 4);
        QCOMPARE(q.evenHarmonics, 1);
        QCOMPARE(q.highestHarmonic, 49);
    }

    void selectionRules() {
        GraphSelection s;
        ModeChosen(s, kModeStackedAxes);
        QCOMPARE(EnablesFor(s).polar, false);
        PolarTicked(s, true);
        QCOMPARE(s.mode, int(kModeSuperimpose));
        s.xScale = kXLog;
        PolarTicked(s, true);
        QCOMPARE(s.xScale, int(kXLinear));
        const SelectionEnables e = EnablesFor(s);
        QVERIFY(!e.modes[1] && !e.modes[2] && !e.modes[3] && e.modes[0] && e.modes[4]);
        QVERIFY(!e.xLog && !e.xProb);
        ModeChosen(s, kModeStackedGraphs);
        QVERIFY(!s.polar);
        QCOMPARE(QuantityFromText("Imaginary Part"), 4);
        QCOMPARE(QuantityFromText("Phase"), 2);
        QCOMPARE(QuantityFromText("Something"), 0);
        QVERIFY(SelectionCountAllowed(kModeStackedGraphs, 6));
        QVERIFY(!SelectionCountAllowed(kModeStackedGraphs, 7));
        QVERIFY(SelectionCountAllowed(kModeSuperimpose, 7));
        GraphPreferences prefs;
        prefs.scale.probX = true;
        prefs.scale.logY = true;
        const GraphSelection initial = InitialSelection(prefs);
        QCOMPARE(initial.mode, 0);
        QCOMPARE(initial.xQuantity, 0);
        QCOMPARE(initial.yQuantity, 1);
        QCOMPARE(initial.xScale, int(kXProb));
        QVERIFY(initial.logY);
    }

    void titlesLegendsAndComments() {
        auto wave = MakeWave("BUS1", "VA", 10);
        QCOMPARE(AxisTitle(*wave, kQuantityBaseline, true), std::string("Time (ms)"));
        QCOMPARE(AxisTitle(*wave, kQuantityMagnitude, false), std::string("Voltage (V)"));
        QCOMPARE(LegendText(*wave), std::string("BUS1-VA (V)"));
        wave->perUnitBase[kAxisY].set = true;
        QCOMPARE(AxisTitle(*wave, kQuantityMagnitude, false), std::string("Voltage (V pu)"));
        MagDurStackObject empty;
        empty.axisUnits[kAxisY] = UnitRecord{};
        QCOMPARE(AxisTitle(empty, kQuantityMagnitude, false), std::string("Y Axis"));
        std::vector<std::string> notes;
        for (int i = 1; i <= 12; ++i) notes.push_back("note " + std::to_string(i));
        const std::vector<std::string> lines = CommentLines(notes);
        QCOMPARE(lines.size(), std::size_t{10});
        QCOMPARE(lines.front(), std::string("note 1"));
        QCOMPARE(lines.back(), std::string("note 10"));
        const std::vector<std::string> split = CommentLines({"a|b\tc", "", std::string(300, 'x')});
        // The long note is cut to 126 characters and so is kept.
        QCOMPARE(split.size(), std::size_t{4});
        QCOMPARE(split[3].size(), std::size_t{126});
        QCOMPARE(SplitComments(std::string(255, 'y') + "\nz").size(), std::size_t{1});
    }

    void decimationKeepsSpikesAndEdges() {
        auto wave = MakeWave("A", "VA", 1'000'000, 5000.0f);
        const Extent x = QuantityExtent(*wave, kQuantityBaseline);
        QCOMPARE(x.min, 0.0);
        QVERIFY(std::abs(x.max - 999999.0) < 1.0);  // ms
        const PlotPoints all = DecimateRange(*wave, 0, 1, x.min, x.max, 500, false);
        QVERIFY(all.x.size() <= 2 * 500 + 2);
        QVERIFY(all.x.size() >= 500);
        QCOMPARE(*std::max_element(all.y.begin(), all.y.end()), 5000.0);
        QVERIFY(std::is_sorted(all.x.begin(), all.x.end()));
        // The block extremes give the same points, faster.
        BlockExtremes blocks;
        QVERIFY(blocks.Build(*wave, kQuantityMagnitude));
        for (int columns : {500, 1280, 7})
            for (bool joinsToo : {false, true}) {
                const PlotPoints plain =
                    DecimateRange(*wave, 0, 1, 12.5, 765432.0, columns, joinsToo);
                const PlotPoints fast =
                    DecimateRange(*wave, 0, 1, 12.5, 765432.0, columns, joinsToo, &blocks);
                QVERIFY(plain.x == fast.x);
                QVERIFY(plain.y == fast.y);
            }
        QVERIFY(!BlockExtremes{}.Build(*wave, kQuantityReal));
        const PlotPoints joins = DecimateRange(*wave, 0, 1, x.min, x.max, 500, true);
        QVERIFY(joins.x.size() > all.x.size());
        QVERIFY(joins.x.size() <= 4 * 500 + 2);
        // A narrow range holds its raw samples plus one beyond each end.
        const PlotPoints narrow = DecimateRange(*wave, 0, 1, 100.0, 110.0, 500, false);
        QVERIFY(narrow.x.size() >= 12 && narrow.x.size() <= 13);
        QVERIFY(narrow.x.front() < 100.0 && narrow.x.back() > 110.0);
        QVERIFY(std::abs(InverseNormal(0.975) - 1.959964) < 1e-5);
        QVERIFY(std::isnan(ProbabilityCoordinate(0.0)));
    }

    void newGraphAndPictureExport() {
        Frame frame;
        frame.resize(1000, 700);
        StackObject* a = Push(frame, MakeWave("BUS1", "VA", 2000));
        StackObject* b = Push(frame, MakeWave("BUS2", "VB", 2000));
        GraphSelection s;
        const std::vector<StackObject*> items{a, b};
        const auto docs = CreateGraphs(frame, items, s);
        QCOMPARE(docs.size(), std::size_t{1});
        QCOMPARE(frame.documents().size(), std::size_t{1});
        QCOMPARE(a->inUse, 1u);
        QCOMPARE(b->inUse, 1u);
        CGraphView* view = docs.front()->view();
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QString("rec>BUS1-VA"));
        QCOMPARE(ActiveGraph(frame), view);
        test::TempDir dir;
        const std::string svg = (dir / "g.svg").string();
        const std::string pdf = (dir / "g.pdf").string();
        const std::string png = (dir / "g.png").string();
        QVERIFY(ExportActiveWindow(frame, svg, 1));
        QVERIFY(ExportActiveWindow(frame, pdf, 2));
        QVERIFY(ExportActiveWindow(frame, png, 3));
        const std::string svgText = test::ReadFile(svg);
        QVERIFY(svgText.find("<svg") != std::string::npos);
        QVERIFY(svgText.find("width=\"") != std::string::npos);
        QVERIFY(svgText.find("BUS1") != std::string::npos);  // title and legend text
        QVERIFY(test::ReadFile(pdf).rfind("%PDF", 0) == 0);
        QImage image(QString::fromStdString(png));
        QCOMPARE(image.size(), QSize(640, 480));
        QVERIFY(InkedPixels(image) > 2000);
        // Curve 2 is drawn in the second default colour (pure green).
        QVERIFY(HasColor(image, QColor(0, 255, 0)));
        // The preference size of vector pictures: 6 x 4 inches.
        QCOMPARE(view->PictureSize(96), QSize(576, 384));
        // Copy puts SVG and PNG on the clipboard.
        view->CopyToClipboard();
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied);
        QVERIFY(copied->data("image/svg+xml").contains("<svg"));
        QVERIFY(copied->hasImage());
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), QSize(640, 480));
        // Printing to a PDF printer writes a page.
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((dir / "print.pdf").string()));
        const int resolution = printer.resolution();
        view->Print(printer);
        QCOMPARE(printer.resolution(), resolution);
        QVERIFY(test::ReadFile(dir / "print.pdf").rfind("%PDF", 0) == 0);
    }

    void stackedGraphsHaveOneAxisRectPerItem() {
        Frame frame;
        std::vector<StackObject*> items;
        for (int i = 0; i < 3; ++i)
            items.push_back(Push(frame, MakeWave("N" + std::to_string(i), "VA", 100)));
        for (int mode : {kModeStackedGraphs, kModeStackedAxes}) {
            GraphSelection s;
            s.mode = mode;
            const auto docs = CreateGraphs(frame, items, s);
            QCOMPARE(docs.front()->view()->AxisRectCount(), 3);
            const QImage image = docs.front()->view()->RenderImage(600, 600);
            QVERIFY(InkedPixels(image) > 2000);
        }
        GraphSelection lr;
        lr.mode = kModeLeftRightAxes;
        const auto docs = CreateGraphs(frame, items, lr);
        QCOMPARE(docs.front()->view()->AxisRectCount(), 1);
        QVERIFY(docs.front()->view()->plot()->axisRect()->axis(QCPAxis::atRight)->visible());
    }

    void modeFourMakesOneWindowPerItem() {
        Frame frame;
        std::vector<StackObject*> items{Push(frame, MakeWave("A", "VA", 10)),
                                        Push(frame, MakeWave("B", "IA", 10)),
                                        Push(frame, MakeWave("C", "PA", 10))};
        GraphSelection s;
        s.mode = kModeAutoWindows;
        const auto docs = CreateGraphs(frame, items, s);
        QCOMPARE(docs.size(), std::size_t{3});
        QCOMPARE(docs[1]->view()->windowTitle(), QString("rec>B-IA"));
        QCOMPARE(docs[2]->items().size(), std::size_t{1});
        // Split by voltage and current: the "P" item is in neither window.
        const auto split = CreateGraphs(frame, items, GraphSelection{}, true);
        QCOMPARE(split.size(), std::size_t{2});
        QVERIFY(split[0]->ShowsItem(items[0]) && !split[0]->ShowsItem(items[2]));
        QVERIFY(split[1]->ShowsItem(items[1]) && !split[1]->ShowsItem(items[2]));
        QCOMPARE(items[2]->inUse, 1u);
    }

    void discardClosesTheGraph() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("A", "VA", 100));
        StackObject* b = Push(frame, MakeWave("B", "VB", 100));
        const std::vector<StackObject*> both{a, b};
        CreateGraphs(frame, both, GraphSelection{});
        const std::vector<StackObject*> onlyB{b};
        CreateGraphs(frame, onlyB, GraphSelection{});
        QCOMPARE(frame.documents().size(), std::size_t{2});
        QCOMPARE(b->inUse, 2u);
        frame.stack().Remove(a);
        QCOMPARE(frame.documents().size(), std::size_t{1});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(b->inUse, 1u);
        CloseAll(frame);
        QCOMPARE(frame.documents().size(), std::size_t{0});
        QCOMPARE(b->inUse, 0u);
    }

    void refreshAndRebuildRedrawTheGraph() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("A", "VA", 100));
        const std::vector<StackObject*> items{a};
        CGraphDoc* doc = CreateGraphs(frame, items, GraphSelection{}).front();
        QCOMPARE(frame.RebuildWindowsShowing({a}), 1);
        QCOMPARE(doc->ItemChanged(a), 1);
        doc->RefreshData();
        QCOMPARE(doc->view()->PlottedPointCounts().front(), 100);
    }

    void magnitudeDurationGraphHasBackgroundCurves() {
        Frame frame;
        auto events = std::make_unique<MagDurStackObject>(3);
        auto x = events->xValues.MutableValues();
        auto y = events->yValues.MutableValues();
        const float d[] = {0.01f, 0.5f, 2.0f};
        const float m[] = {50.0f, 80.0f, 120.0f};
        for (int i = 0; i < 3; ++i) {
            x[static_cast<std::size_t>(i)] = d[i];
            y[static_cast<std::size_t>(i)] = m[i];
        }
        events->Init("", "DERIVED", "SAGS", "", "", "", "MGDR");
        events->Finish();
        StackObject* item = Push(frame, std::move(events));
        AppPreferences().magDur = 1;
        const std::vector<StackObject*> items{item};
        CGraphDoc* doc = CreateGraphs(frame, items, GraphSelection{}).front();
        AppPreferences().magDur = 0;
        QCOMPARE(doc->ownedCount(), std::size_t{2});
        QCOMPARE(doc->curves().size(), std::size_t{3});
        QCOMPARE(doc->curves()[1]->namePart1(), std::string("ITIC Lower"));
        QCOMPARE(doc->curves()[2]->caseName(), std::string("BACKGROUND"));
        QVERIFY(doc->options().scale.logX);
        QVERIFY(doc->xExtent().min <= 0.01 && doc->xExtent().max >= 1000.0);
        QCOMPARE(doc->yExtent().max, 150.0);
        QVERIFY(InkedPixels(doc->view()->RenderImage(640, 480)) > 2000);
        CloseAll(frame);
        QCOMPARE(frame.stack().size(), std::size_t{1});
        QCOMPARE(item->inUse, 0u);
    }

    void bigWaveformIsDecimatedToTheScreen() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("BIG", "VA", 2'000'000, 900.0f));
        const std::vector<StackObject*> items{a};
        CGraphDoc* doc = CreateGraphs(frame, items, GraphSelection{}).front();
        CGraphView* view = doc->view();
        view->resize(800, 500);
        const QImage image = view->RenderImage(800, 500);
        QVERIFY(InkedPixels(image) > 2000);
        const int points = view->PlottedPointCounts().front();
        QVERIFY2(points < 4 * 800 + 4, qPrintable(QString::number(points)));
        QVERIFY(points > 100);
        // Zooming in hands the plot the samples of the range only.
        view->plot()->xAxis->setRange(1000.0, 1100.0);
        QCOMPARE(view->PlottedPointCounts().front(), 102);
        // The spike survives at full view.
        view->Autoscale();
        const auto* graph = view->plot()->graph(0);
        double top = -1e300;
        for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
            top = std::max(top, it->value);
        QCOMPARE(top, 900.0);
    }

    // Renders every mode and scale; with KOV_GRAPH_SHOTS set the pictures are
    // written there to be looked at.
    void everyModeAndScaleDraws() {
        Frame frame;
        std::vector<StackObject*> waves;
        for (int i = 0; i < 3; ++i) {
            auto w = MakeWave("BUS" + std::to_string(i + 1), i == 2 ? "IA" : "VA", 200);
            auto y = w->yValues.MutableValues();
            for (std::size_t k = 0; k < y.size(); ++k)
                y[k] = y[k] * static_cast<float>(i + 1) + 40.0f * i;
            w->notes = {"Station: TEST SUB", "Start: 01/01/2026 00:00:00",
                        "Trigger: phase A fault"};
            w->Finish();
            waves.push_back(Push(frame, std::move(w)));
        }
        auto spectrum = std::make_unique<SpectrumStackObject>(40, kUnitVoltage);
        {
            auto f = spectrum->xValues.MutableValues();
            auto m = spectrum->yValues.MutableValues();
            auto a = spectrum->y2Values.MutableValues();
            for (std::size_t k = 0; k < 40; ++k) {
                f[k] = static_cast<float>(60.0 * static_cast<double>(k));
                m[k] = k == 1 ? 100.0f : static_cast<float>(30.0 / (static_cast<double>(k) + 1.0));
                a[k] = static_cast<float>(0.3 * static_cast<double>(k));
            }
            spectrum->Init("", "DERIVED", "BUS1", "VA", "", "", "SPEC");
            spectrum->Finish();
        }
        StackObject* spec = Push(frame, std::move(spectrum));
        auto prob = std::make_unique<ProbabilityStackObject>(50);
        {
            auto x = prob->xValues.MutableValues();
            auto y = prob->yValues.MutableValues();
            for (std::size_t k = 0; k < 50; ++k) {
                x[k] = static_cast<float>(k) * 2.0f + 1.0f;  // percent
                y[k] = static_cast<float>(100.0 + 10.0 * InverseNormal((k * 2.0 + 1.0) / 100.0));
            }
            prob->Init("", "DERIVED", "OVERVOLT", "", "", "", "PROB");
            prob->Finish();
        }
        StackObject* probability = Push(frame, std::move(prob));
        auto events = std::make_unique<MagDurStackObject>(20);
        {
            auto x = events->xValues.MutableValues();
            auto y = events->yValues.MutableValues();
            for (std::size_t k = 0; k < 20; ++k) {
                x[k] = static_cast<float>(0.001 * std::pow(2.0, static_cast<double>(k) * 0.7));
                y[k] = static_cast<float>(40.0 + 5.0 * static_cast<double>(k % 9));
            }
            events->Init("", "DERIVED", "SAGS", "", "", "", "MGDR");
            events->Finish();
        }
        StackObject* magdur = Push(frame, std::move(events));
        auto cells = std::make_unique<Hist3DStackObject>(48);
        {
            auto x = cells->xValues.MutableValues();
            auto y = cells->yValues.MutableValues();
            auto z = cells->y2Values.MutableValues();
            for (std::size_t k = 0; k < 48; ++k) {
                x[k] = static_cast<float>(10 * (k % 8));
                y[k] = static_cast<float>(k / 8);
                z[k] = static_cast<float>((k * 7) % 11);
            }
            cells->Init("", "DERIVED", "RATES", "", "", "", "HST3");
            cells->Finish();
        }
        StackObject* hist3d = Push(frame, std::move(cells));

        const QString dir = qEnvironmentVariable("KOV_GRAPH_SHOTS");
        auto shoot = [&](const char* name, std::vector<StackObject*> items, GraphSelection s,
                         std::function<void(CGraphDoc&)> adjust = {}) {
            CGraphDoc* doc = CreateGraphs(frame, items, s).front();
            if (adjust) {
                adjust(*doc);
                doc->Rebuild();
            }
            const QImage image = doc->view()->RenderImage(800, 600);
            QVERIFY2(InkedPixels(image) > 3000, name);
            if (!dir.isEmpty()) image.save(dir + "/" + name + ".png");
        };
        GraphSelection s;
        shoot("superimpose", waves, s);
        s.mode = kModeStackedGraphs;
        shoot("stacked_graphs", waves, s);
        s.mode = kModeStackedAxes;
        shoot("stacked_axes", waves, s);
        s.mode = kModeLeftRightAxes;
        shoot("left_right", waves, s);
        s.mode = kModeSuperimpose;
        shoot("blocks", {waves[0]}, s, [](CGraphDoc& d) {
            d.options().comments = true;
            d.options().dataBlock = true;
            d.options().legend = kLegendBelow;
        });
        shoot("grid_front_thick", waves, s, [](CGraphDoc& d) {
            d.options().grid = GridOptions{kGridThick, true, true, true, true, true};
        });
        shoot("manual_scale", waves, s, [](CGraphDoc& d) {
            d.options().scale.x = AxisScale{false, false, false, 0, 50, 10, 5};
            d.options().scale.y = AxisScale{false, false, false, -150, 150, 50, 2};
        });
        shoot("spectrum", {spec}, s);
        GraphSelection phase = s;
        phase.yQuantity = kQuantityPhase;
        shoot("spectrum_phase", {spec}, phase);
        GraphSelection logy = s;
        logy.logY = true;
        shoot("spectrum_logy", {spec}, logy);
        GraphSelection probx;
        probx.xScale = kXProb;
        shoot("probability", {probability}, probx);
        GraphSelection polar;
        polar.polar = true;
        polar.xQuantity = kQuantityPhase;
        polar.yQuantity = kQuantityMagnitude;
        shoot("polar", {spec}, polar);
        AppPreferences().magDur = 0;
        shoot("magdur_cbema", {magdur}, s);
        AppPreferences().magDur = 1;
        shoot("magdur_itic", {magdur}, s);
        AppPreferences().magDur = 0;
        shoot("hist3d", {hist3d}, s);
        CGraphView* view = ActiveGraph(frame);
        QVERIFY(view && view->document().flags().hist3d);
    }

    void bundledExampleGraphs() {
        // The example beside the sources (this file is tests/gui/GraphTest.cpp).
        const std::filesystem::path cfg = std::filesystem::path(__FILE__).parent_path() / ".." /
                                          ".." / "examples" / "comtrade" / "fault_3ph_60hz.cfg";
        if (!std::filesystem::exists(cfg)) QSKIP("the bundled example is not there");
        Frame frame;
        QCOMPARE(frame.workbench().OpenAs(cfg.string(), 1006, 1), 0);
        frame.workbench().LoadCommand();
        QVERIFY(frame.stack().size() >= 3);
        const std::vector<StackObject*> all = frame.stack().GetAll();
        const auto docs = CreateGraphs(frame, all, GraphSelection{}, true);
        QCOMPARE(docs.size(), std::size_t{2});
        for (std::size_t i = 0; i < docs.size(); ++i) {
            const QImage image = docs[i]->view()->RenderImage(900, 600);
            QVERIFY(InkedPixels(image) > 5000);
            const QString dir = qEnvironmentVariable("KOV_GRAPH_SHOTS");
            if (!dir.isEmpty()) image.save(dir + QString("/example_%1.png").arg(i));
        }
    }

    void nullGapBreaksTheLineAtMissingValues() {
        Frame frame;
        auto wave = MakeWave("GAP", "VA", 10);
        wave->yValues.MutableValues()[5] = std::numeric_limits<float>::quiet_NaN();
        StackObject* item = wave.get();
        frame.stack().Add(std::move(wave));
        const std::vector<StackObject*> items{item};
        AppPreferences().nullGap = 0;
        CGraphDoc* joined = CreateGraphs(frame, items, GraphSelection{}).front();
        QCOMPARE(joined->view()->PlottedPointCounts().front(), 9);
        AppPreferences().nullGap = 1;
        CGraphDoc* gapped = CreateGraphs(frame, items, GraphSelection{}).front();
        AppPreferences().nullGap = 0;
        QCOMPARE(gapped->view()->PlottedPointCounts().front(), 10);
        QVERIFY(std::isnan(gapped->view()->plot()->graph(0)->data()->at(5)->value));
    }

    void crosshairReadsTheCurve() {
        Frame frame;
        StackObject* a = Push(frame, MakeWave("A", "VA", 100));
        const std::vector<StackObject*> items{a};
        CGraphView* view = CreateGraphs(frame, items, GraphSelection{}).front()->view();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        view->parentWidget()->resize(640, 480);
        QCoreApplication::processEvents();
        view->plot()->replot();
        view->SetCrosshair(true);
        QCPAxisRect* rect = view->plot()->axisRect();
        const QPoint centre = rect->rect().center();
        view->MoveCrosshair(centre);
        QVERIFY2(view->crosshairText().contains("X: "), qPrintable(view->crosshairText()));
        QVERIFY(view->crosshairText().contains("A-VA"));
    }
};

}  // namespace kov

QTEST_MAIN(kov::GraphTest)
#include "GraphTest.moc"
