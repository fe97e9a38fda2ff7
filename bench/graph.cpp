// Graph redraw cost over a 20-million-sample waveform: the per-pixel-column
// min/max decimation alone, and the whole redraw (decimation, layout and
// drawing into a 1280 x 720 image offscreen) at full view, zoomed in, while
// panning and while zooming. Needs the GUI build (kov_gui); without it the
// program has nothing to measure.

#if __has_include(<qcustomplot.h>)

#include <benchmark/benchmark.h>
#include <qcustomplot.h>
#include <QApplication>
#include <cmath>

#include "stack/WaveStackObject.h"
#include "views/GraphDoc.h"
#include "views/GraphModel.h"
#include "views/GraphView.h"

namespace {

constexpr std::uint32_t kSamples = 20'000'000;
constexpr int kWidth = 1280;
constexpr int kHeight = 720;

QApplication& App() {
    static int argc = 1;
    static char name[] = "bench_graph";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// 20 M samples at 1 us: a 60 Hz sine with noise-like harmonics and a spike.
kov::WaveStackObject& Wave() {
    static kov::WaveStackObject* wave = [] {
        auto* w = new kov::WaveStackObject(kSamples, kov::kUnitVoltage);
        auto x = w->xValues.MutableValues();
        auto y = w->yValues.MutableValues();
        for (std::uint32_t i = 0; i < kSamples; ++i) {
            const double t = i * 1e-6;
            x[i] = static_cast<float>(t);
            y[i] = static_cast<float>(100 * std::sin(2 * M_PI * 60 * t) +
                                      5 * std::sin(2 * M_PI * 2460 * t));
        }
        y[kSamples / 3] = 400.0f;
        w->y2Values = kov::FloatArray{};
        w->Init("", "BENCH", "BUS", "VA", "", "", "WAVE");
        w->Finish();
        return w;
    }();
    return *wave;
}

struct Graph {
    kov::CGraphDoc doc{kov::GraphPreferences{}};
    kov::CGraphView* view = nullptr;
    explicit Graph(bool filterPoints) {
        App();
        kov::GraphPreferences prefs;
        prefs.filterPoints = filterPoints ? 1 : 0;
        doc.SetPreferences(prefs);
        kov::StackObject* item = &Wave();
        doc.SetupGraph(kov::kModeSuperimpose, 0, 1, false, false, false, false,
                       std::span<kov::StackObject* const>(&item, 1));
        view = static_cast<kov::CGraphView*>(doc.Window());
        view->resize(kWidth, kHeight);
        view->RenderImage(kWidth, kHeight);
    }
    ~Graph() { delete view; }
    QCPAxis* x() { return view->plot()->axisRect()->axis(QCPAxis::atBottom); }
};

void BM_DecimateFullView(benchmark::State& state) {
    const kov::WaveStackObject& wave = Wave();
    const double end = wave.XAt(kSamples - 1) * wave.scale(kov::kAxisX);
    for (auto _ : state) {
        auto points = kov::DecimateRange(wave, 0, 1, 0.0, end, kWidth, state.range(0) == 0);
        benchmark::DoNotOptimize(points.x.data());
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_DecimateFullView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same with the block extremes the view builds for long curves.
void BM_DecimateFullViewBlocks(benchmark::State& state) {
    const kov::WaveStackObject& wave = Wave();
    const double end = wave.XAt(kSamples - 1) * wave.scale(kov::kAxisX);
    kov::BlockExtremes blocks;
    blocks.Build(wave, kov::kQuantityMagnitude);
    for (auto _ : state) {
        auto points =
            kov::DecimateRange(wave, 0, 1, 0.0, end, kWidth, state.range(0) == 0, &blocks);
        benchmark::DoNotOptimize(points.x.data());
    }
    state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_DecimateFullViewBlocks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Building the block extremes once, when the graph is made.
void BM_BuildBlockExtremes(benchmark::State& state) {
    const kov::WaveStackObject& wave = Wave();
    for (auto _ : state) {
        kov::BlockExtremes blocks;
        benchmark::DoNotOptimize(blocks.Build(wave, kov::kQuantityMagnitude));
    }
}
BENCHMARK(BM_BuildBlockExtremes)->Unit(benchmark::kMillisecond);

// Full redraw at full view: a new range (decimation) and drawing the image.
void BM_RedrawFullView(benchmark::State& state) {
    Graph g(state.range(0) != 0);
    const QCPRange full = g.x()->range();
    int flip = 0;
    for (auto _ : state) {
        // A range a hair different each time, so every redraw decimates anew.
        g.x()->setRange(full.lower, full.upper * (1.0 + 1e-9 * (++flip % 2)));
        QPixmap image = g.view->plot()->toPixmap(kWidth, kHeight);
        benchmark::DoNotOptimize(image.cacheKey());
    }
}
BENCHMARK(BM_RedrawFullView)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Panning a window of 10 % of the record by 2 % per step.
void BM_RedrawPan(benchmark::State& state) {
    Graph g(state.range(0) != 0);
    const QCPRange full = g.x()->range();
    const double width = full.size() * 0.1;
    double lower = full.lower;
    for (auto _ : state) {
        lower += width * 0.2;
        if (lower + width > full.upper) lower = full.lower;
        g.x()->setRange(lower, lower + width);
        QPixmap image = g.view->plot()->toPixmap(kWidth, kHeight);
        benchmark::DoNotOptimize(image.cacheKey());
    }
}
BENCHMARK(BM_RedrawPan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Wheel zoom in and out about the middle of the record, 8 steps each way.
void BM_RedrawZoom(benchmark::State& state) {
    Graph g(state.range(0) != 0);
    int step = 0;
    for (auto _ : state) {
        const double factor = (step++ / 8) % 2 == 0 ? 0.7 : 1.0 / 0.7;
        g.x()->scaleRange(factor, g.x()->range().center());
        QPixmap image = g.view->plot()->toPixmap(kWidth, kHeight);
        benchmark::DoNotOptimize(image.cacheKey());
    }
}
BENCHMARK(BM_RedrawZoom)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Zoomed in to 2,000 samples: the plot gets the raw samples.
void BM_RedrawZoomedIn(benchmark::State& state) {
    Graph g(false);
    const double start = g.x()->range().center();
    for (auto _ : state) {
        g.x()->setRange(start, start + 2.0);  // 2 ms = 2,000 samples
        QPixmap image = g.view->plot()->toPixmap(kWidth, kHeight);
        benchmark::DoNotOptimize(image.cacheKey());
    }
}
BENCHMARK(BM_RedrawZoomedIn)->Unit(benchmark::kMillisecond);

}  // namespace

#endif
