#include "views/GraphView.h"

#include <qcustomplot.h>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QPrinter>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "stack/PlotableStackObject.h"
#include "views/GraphDoc.h"

namespace kov {

namespace {

QColor ToColor(ColorRef c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

constexpr double kNormalHalf = 0.70710678118654752440;

// The percentage of a probability-axis coordinate.
double PercentOf(double coordinate) {
    return 50.0 * std::erfc(-coordinate * kNormalHalf);
}

// A ticker whose sub-tick count is "Tics per grid" less one, and whose tick
// step is the "Grid Unit" when one is given.
class GridTicker : public QCPAxisTickerFixed {
public:
    GridTicker(double step, int tics) : tics_(tics) {
        if (step > 0) {
            setTickStep(step);
            setScaleStrategy(QCPAxisTickerFixed::ssNone);
        } else {
            fixed_ = false;
        }
    }

protected:
    double getTickStep(const QCPRange& range) override {
        return fixed_ ? QCPAxisTickerFixed::getTickStep(range) : QCPAxisTicker::getTickStep(range);
    }
    int getSubTickCount(double) override { return std::clamp(tics_ - 1, 0, 20); }

private:
    int tics_;
    bool fixed_ = true;
};

// Ticks of the probability axis, labelled in percent.
QSharedPointer<QCPAxisTickerText> ProbabilityTicker() {
    auto ticker = QSharedPointer<QCPAxisTickerText>::create();
    static constexpr double kPercents[] = {0.01, 0.1, 1,  5,  10, 20,   30,   50,
                                           70,   80,  90, 95, 99, 99.9, 99.99};
    for (double p : kPercents) ticker->addTick(ProbabilityCoordinate(p), QString::number(p) + "%");
    return ticker;
}

Qt::PenStyle LineStyleOf(std::size_t index) {
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                               Qt::DashDotLine, Qt::DashDotDotLine};
    return kStyles[index % 5];
}

}  // namespace

CGraphView::CGraphView(CGraphDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    plot_ = new QCustomPlot(this);
    layout->addWidget(plot_);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setSelectionRectMode(QCP::srmZoom);
    plot_->installEventFilter(this);
    plot_->setMouseTracking(true);
    resize(640, 480);
    // A width change changes the number of pixel columns to fill.
    connect(plot_, &QCustomPlot::afterLayout, this, [this] {
        // The polar grid is round: one unit is as long on both axes.
        if (doc_.options().scale.polar && !doc_.flags().hist3d && !xAxes_.empty()) {
            QCPAxis* x = xAxes_.front();
            QCPAxis* y = x->axisRect()->axis(QCPAxis::atLeft);
            if (x->axisRect()->width() > 16 && x->axisRect()->height() > 16) {
                const double perPixelY = y->range().size() / x->axisRect()->height();
                x->setRange(x->range().center(), perPixelY * x->axisRect()->width(),
                            Qt::AlignCenter);
            }
        }
        const int columns = xAxes_.empty() ? 0 : ColumnsFor(xAxes_.front());
        if (columns != lastColumns_ && !xAxes_.empty()) {
            lastColumns_ = columns;
            for (Curve& c : curves_)
                if (c.decimated) FillCurve(c);
        }
    });
}

CGraphView::~CGraphView() = default;

// ------------------------------------------------------------------ building

void CGraphView::Build() {
    const GraphPreferences& prefs = doc_.preferences();
    const GraphOptions& o = doc_.options();
    crossV_ = crossH_ = nullptr;
    crossLabel_ = nullptr;
    plot_->clearItems();
    plot_->clearPlottables();
    plot_->plotLayout()->clear();
    plot_->legend = nullptr;
    curves_.clear();
    xAxes_.clear();
    lastColumns_ = 0;
    plot_->setBackground(ToColor(prefs.colorDesktop));
    if (!plot_->layer("gridfront"))
        plot_->addLayer("gridfront", plot_->layer("main"), QCustomPlot::limAbove);

    QCPLayoutGrid* outer = plot_->plotLayout();
    int row = 0;
    QFont titleFont = font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    titleFont.setBold(true);
    auto* title = new QCPTextElement(plot_, QString::fromStdString(doc_.Title()), titleFont);
    title->setTextColor(ToColor(prefs.colorText));
    outer->addElement(row++, 0, title);

    const std::vector<std::string> comments =
        o.comments ? doc_.CommentBlock() : std::vector<std::string>{};
    auto addComments = [&] {
        if (comments.empty()) return;
        QStringList lines;
        for (const std::string& line : comments) lines << QString::fromStdString(line);
        auto* block = new QCPTextElement(plot_, lines.join('\n'), font());
        block->setTextColor(ToColor(prefs.colorText));
        outer->addElement(row++, 0, block);
    };
    if (!o.subtitlesBelow) addComments();

    // The middle row: [legend left] [graph area] [legend right].
    QCPLegend* legend = nullptr;
    if (o.legend != kLegendNone && !doc_.flags().hist3d) {
        legend = new QCPLegend;
        legend->setBrush(ToColor(prefs.colorBackground));
        legend->setTextColor(ToColor(prefs.colorText));
        legend->setBorderPen(QPen(ToColor(prefs.colorForeground)));
    }
    if (legend && o.legend == kLegendAbove) {
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        legend->setWrap(4);
        outer->addElement(row++, 0, legend);
        outer->setRowStretchFactor(row - 1, 0.001);
    }
    auto* middle = new QCPLayoutGrid;
    outer->addElement(row++, 0, middle);
    int graphColumn = 0;
    if (legend && o.legend == kLegendLeft) {
        middle->addElement(0, 0, legend);
        graphColumn = 1;
    }
    auto* graphs = new QCPLayoutGrid;
    graphArea_ = graphs;
    middle->addElement(0, graphColumn, graphs);
    if (legend && o.legend == kLegendRight) middle->addElement(0, graphColumn + 1, legend);
    if (legend && (o.legend == kLegendLeft || o.legend == kLegendRight)) {
        // The legend keeps its own height at the top of its column.
        auto* column = new QCPLayoutGrid;
        middle->take(legend);
        middle->addElement(0, o.legend == kLegendLeft ? 0 : graphColumn + 1, column);
        column->addElement(0, 0, legend);
        column->addElement(1, 0, new QCPLayoutElement(plot_));
        column->setRowStretchFactor(0, 0.001);
    }
    if (legend && (o.legend == kLegendLeft || o.legend == kLegendRight)) {
        middle->setColumnStretchFactor(graphColumn, 1.0);
        middle->setColumnStretchFactor(o.legend == kLegendLeft ? 0 : graphColumn + 1, 0.001);
    }
    if (legend && o.legend == kLegendBelow) {
        legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        legend->setWrap(4);
        outer->addElement(row++, 0, legend);
        outer->setRowStretchFactor(row - 1, 0.001);
    }
    if (o.subtitlesBelow) addComments();
    if (o.dataBlock && !doc_.dataBlock().empty()) {
        // The summary table, its columns padded to line up.
        std::vector<std::vector<QString>> cells;
        std::vector<int> widths;
        for (const std::string& line : doc_.dataBlock()) {
            const QStringList parts = QString::fromStdString(line).split('\t');
            cells.emplace_back(parts.begin(), parts.end());
            for (int i = 0; i < parts.size(); ++i) {
                if (static_cast<int>(widths.size()) <= i) widths.push_back(0);
                widths[static_cast<std::size_t>(i)] =
                    std::max(widths[static_cast<std::size_t>(i)],
                             static_cast<int>(parts[i].trimmed().size()));
            }
        }
        QStringList lines;
        for (const auto& r : cells) {
            QString line;
            for (std::size_t i = 0; i < r.size(); ++i)
                line += r[i].trimmed().leftJustified(widths[i] + 2);
            lines << line.trimmed();
        }
        QFont mono("Monospace");
        mono.setStyleHint(QFont::TypeWriter);
        mono.setPointSizeF(font().pointSizeF() * 0.9);
        auto* block = new QCPTextElement(plot_, lines.join('\n'), mono);
        block->setTextColor(ToColor(prefs.colorText));
        outer->addElement(row++, 0, block);
    }
    for (int r = 0; r < outer->rowCount(); ++r)
        if (outer->element(r, 0) != middle) outer->setRowStretchFactor(r, 0.001);
    plot_->legend = legend;

    // Manual zooming is not offered on 3-D histograms.
    const bool zoomable = !doc_.flags().hist3d;
    plot_->setInteractions(zoomable ? QCP::iRangeDrag | QCP::iRangeZoom : QCP::Interactions());
    plot_->setSelectionRectMode(zoomable && !crosshair_ ? QCP::srmZoom : QCP::srmNone);
    if (doc_.flags().hist3d) {
        Build3D();
    } else if (o.scale.polar) {
        BuildPolar();
    } else {
        BuildCartesian();
    }
    if (legend) {
        // The legend's background is drawn on its layer; its entries go there too.
        legend->setLayer("legend");
        for (int i = 0; i < legend->itemCount(); ++i) legend->item(i)->setLayer("legend");
    }
    if (crosshair_) SetCrosshair(true);
    plot_->replot();
}

void CGraphView::ApplyAxisStyle(QCPAxis* axis, bool isX) {
    const GraphPreferences& prefs = doc_.preferences();
    const QColor color = ToColor(isX ? prefs.colorXAxis : prefs.colorYAxis);
    const QColor ticks = ToColor(prefs.colorForeground);
    axis->setBasePen(QPen(color));
    axis->setTickPen(QPen(ticks));
    axis->setSubTickPen(QPen(ticks));
    axis->setLabelColor(ToColor(prefs.colorText));
    axis->setTickLabelColor(ToColor(prefs.colorText));
    ApplyGrid(axis, isX);
}

void CGraphView::ApplyGrid(QCPAxis* axis, bool isX) {
    const GridOptions& g = doc_.options().grid;
    // Grid lines in the foreground colour, faded towards the graph background.
    const QColor fg = ToColor(doc_.preferences().colorForeground);
    const QColor bg = ToColor(doc_.preferences().colorBackground);
    auto blend = [&](double w) {
        return QColor::fromRgbF(static_cast<float>(fg.redF() * w + bg.redF() * (1 - w)),
                                static_cast<float>(fg.greenF() * w + bg.greenF() * (1 - w)),
                                static_cast<float>(fg.blueF() * w + bg.blueF() * (1 - w)));
    };
    QPen major(blend(0.4), 0);
    QPen minor(blend(0.2), 0);
    switch (g.style) {
        case kGridThin:
            major.setStyle(Qt::SolidLine);
            minor.setStyle(Qt::SolidLine);
            break;
        case kGridThick:
            major.setWidthF(2.0);
            minor.setWidthF(1.0);
            break;
        case kGridDotted:
            major.setStyle(Qt::DotLine);
            minor.setStyle(Qt::DotLine);
            break;
        default:
            major.setStyle(Qt::DashLine);
            minor.setStyle(Qt::DotLine);
            break;
    }
    QCPGrid* grid = axis->grid();
    grid->setPen(major);
    grid->setSubGridPen(minor);
    grid->setZeroLinePen(major);
    grid->setVisible(isX ? g.majorX : g.majorY);
    grid->setSubGridVisible(isX ? g.minorX : g.minorY);
    grid->setLayer(g.front ? "gridfront" : "grid");
}

void CGraphView::ApplyScale(QCPAxis* axis, bool isX, double dataMin, double dataMax) {
    const ScaleOptions& s = doc_.options().scale;
    const AxisScale& a = isX ? s.x : s.y;
    const bool log = isX ? s.logX : s.logY;
    const bool prob = isX && s.probX;
    double lo = dataMin;
    double hi = dataMax;
    if (!a.autoRange && a.max > a.min) {
        lo = a.min;
        hi = a.max;
    } else {
        if (a.zero && !log && !prob) {
            lo = std::min(lo, 0.0);
            hi = std::max(hi, 0.0);
        }
        if (a.symmetric && !log && !prob) {
            const double m = std::max(std::abs(lo), std::abs(hi));
            lo = -m;
            hi = m;
        }
    }
    if (prob) {
        axis->setScaleType(QCPAxis::stLinear);
        axis->setTicker(ProbabilityTicker());
        lo = ProbabilityCoordinate(std::clamp(lo, 0.01, 99.99));
        hi = ProbabilityCoordinate(std::clamp(hi, 0.01, 99.99));
        if (!(hi > lo)) {
            lo = ProbabilityCoordinate(0.01);
            hi = ProbabilityCoordinate(99.99);
        }
        axis->setRange(lo, hi);
        return;
    }
    if (log) {
        axis->setScaleType(QCPAxis::stLogarithmic);
        auto ticker = QSharedPointer<QCPAxisTickerLog>::create();
        ticker->setSubTickCount(std::clamp((isX ? s.x : s.y).tics - 2, 0, 8));
        axis->setTicker(ticker);
        axis->setNumberFormat("gb");
        if (hi <= 0) hi = 1.0;
        if (lo <= 0) lo = hi / 1000.0;
        if (!(hi > lo)) {
            lo /= 10;
            hi *= 10;
        }
        axis->setRange(lo, hi);
        return;
    }
    axis->setScaleType(QCPAxis::stLinear);
    axis->setNumberFormat("g");
    axis->setTicker(QSharedPointer<GridTicker>::create(a.autoRange ? 0.0 : a.grid, a.tics));
    if (!(hi > lo)) {
        const double pad = lo == 0 ? 1.0 : std::abs(lo) * 0.1;
        lo -= pad;
        hi += pad;
    } else if (!isX && a.autoRange) {
        const double pad = (hi - lo) * 0.05;
        lo -= a.zero && lo == 0 ? 0 : pad;
        hi += pad;
    }
    axis->setRange(lo, hi);
}

void CGraphView::AddCurve(std::size_t index, QCPAxis* xAxis, QCPAxis* yAxis) {
    PlotableStackObject* item = doc_.curves()[index];
    const GraphOptions& o = doc_.options();
    const GraphPreferences& prefs = doc_.preferences();
    const bool background = index >= doc_.items().size();
    QPen pen(ToColor(prefs.curveColors[index % kCurveColorCount]));
    if (o.lineStyles && !background) pen.setStyle(LineStyleOf(index));
    if (background) pen.setWidthF(1.5);
    Curve c;
    c.item = item;
    c.xAxis = xAxis;
    c.yAxis = yAxis;
    const QString name = QString::fromStdString(doc_.legendTexts()[index]);
    if (!AscendingX(*item, o.xQuantity) && item->kind() != kKindMagDur) {
        // X-Y curves keep their order.
        auto* curve = new QCPCurve(xAxis, yAxis);
        curve->setPen(pen);
        c.plottable = curve;
    } else {
        QCPGraph* graph = plot_->addGraph(xAxis, yAxis);
        graph->setPen(pen);
        graph->setAdaptiveSampling(false);
        if (item->kind() == kKindMagDur) {
            graph->setLineStyle(QCPGraph::lsNone);
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCross, pen.color(), 7));
        } else if (item->kind() == kKindSpectrum) {
            pen.setWidthF(2.0);
            pen.setStyle(Qt::SolidLine);
            graph->setPen(pen);
            graph->setLineStyle(QCPGraph::lsImpulse);
        } else if (item->kind() == kKindHistogram) {
            graph->setLineStyle(QCPGraph::lsStepCenter);
        }
        c.decimated = item->kind() != kKindMagDur;
        c.plottable = graph;
        if (c.decimated && item->pointCount() >= 64 * BlockExtremes::kBlock) {
            c.blocks = std::make_shared<BlockExtremes>();
            c.blocks->Build(*item, o.yQuantity);
        }
    }
    c.plottable->setName(name);
    if (plot_->legend) c.plottable->addToLegend(plot_->legend);
    curves_.push_back(c);
}

void CGraphView::BuildCartesian() {
    const GraphOptions& o = doc_.options();
    QCPLayoutGrid* graphs = graphArea_;
    const std::size_t n = doc_.curves().size();
    const std::size_t users = doc_.items().size();
    const Extent xe = doc_.xExtent();
    const int mode = o.mode;
    const bool perItemRects = mode == kModeStackedGraphs || mode == kModeStackedAxes;
    const std::size_t rects = perItemRects ? std::max<std::size_t>(users, 1) : 1;
    auto* margins = new QCPMarginGroup(plot_);
    graphs->setRowSpacing(mode == kModeStackedAxes ? 0 : 8);
    std::vector<QCPAxisRect*> axisRects;
    for (std::size_t r = 0; r < rects; ++r) {
        auto* rect = new QCPAxisRect(plot_, true);
        rect->setBackground(ToColor(doc_.preferences().colorBackground));
        rect->setLayer("background");
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        graphs->addElement(static_cast<int>(r), 0, rect);
        axisRects.push_back(rect);
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        xAxes_.push_back(x);
        ApplyAxisStyle(x, true);
        ApplyScale(x, true, xe.min, xe.max);
        const bool lastRect = r + 1 == rects;
        if (mode == kModeStackedAxes && !lastRect) {
            x->setTickLabels(false);
            rect->setAutoMargins(QCP::msLeft | QCP::msRight | QCP::msTop);
            rect->setMargins(QMargins(0, 0, 0, 0));
        }
        if (lastRect || mode == kModeStackedGraphs)
            x->setLabel(QString::fromStdString(doc_.XTitle()));
        connect(x, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this, x](const QCPRange&) { RangeChanged(x); });
    }
    for (std::size_t i = 0; i < n; ++i) {
        // Background curves share the first item's axes.
        const std::size_t owner = i < users ? i : 0;
        QCPAxisRect* rect = axisRects[perItemRects ? owner : 0];
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        QCPAxis* y = rect->axis(QCPAxis::atLeft);
        if (mode == kModeLeftRightAxes && owner > 0) {
            if (owner == 1) {
                y = rect->axis(QCPAxis::atRight);
                y->setVisible(true);
            } else {
                y = rect->addAxis(owner % 2 ? QCPAxis::atRight : QCPAxis::atLeft);
            }
        }
        if (i == owner) {
            ApplyAxisStyle(y, false);
            const bool own = perItemRects || (mode == kModeLeftRightAxes);
            const Extent ye = own ? doc_.YExtentOf(i) : doc_.yExtent();
            ApplyScale(y, false, ye.min, ye.max);
            y->setLabel(QString::fromStdString(own ? doc_.YTitleOf(i) : doc_.YTitle()));
            if (mode == kModeLeftRightAxes) {
                const QColor c = ToColor(doc_.preferences().curveColors[i % kCurveColorCount]);
                y->setBasePen(QPen(c));
                y->setLabelColor(c);
                y->grid()->setVisible(i == 0 && o.grid.majorY);
                y->grid()->setSubGridVisible(i == 0 && o.grid.minorY);
            }
        }
        AddCurve(i, x, y);
    }
    for (QCPAxisRect* rect : axisRects) {
        QList<QCPAxis*> vertical = rect->axes(QCPAxis::atLeft | QCPAxis::atRight);
        rect->setRangeZoomAxes(rect->axes(QCPAxis::atBottom), vertical);
        rect->setRangeDragAxes(rect->axes(QCPAxis::atBottom), vertical);
    }
    for (Curve& c : curves_) FillCurve(c);
}

void CGraphView::BuildPolar() {
    QCPLayoutGrid* graphs = graphArea_;
    auto* rect = new QCPAxisRect(plot_, true);
    rect->setBackground(ToColor(doc_.preferences().colorBackground));
    rect->setLayer("background");
    graphs->addElement(0, 0, rect);
    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    ApplyAxisStyle(x, true);
    ApplyAxisStyle(y, false);
    x->grid()->setVisible(false);
    y->grid()->setVisible(false);
    x->setLabel(QString::fromStdString("Theta: " + doc_.XTitle()));
    y->setLabel(QString::fromStdString("R: " + doc_.YTitle()));
    xAxes_.push_back(x);
    // R is the Y quantity, theta the X quantity in degrees.
    const Extent ye = doc_.yExtent();
    double r = std::max(std::abs(ye.min), std::abs(ye.max));
    if (!(r > 0)) r = 1.0;
    const AxisScale& ys = doc_.options().scale.y;
    if (!ys.autoRange && ys.max > 0) r = ys.max;
    // Rings and spokes of the polar grid.
    QPen gridPen = x->grid()->pen();
    for (int ring = 1; ring <= 4; ++ring) {
        auto* circle = new QCPCurve(x, y);
        QVector<double> cx, cy;
        for (int k = 0; k <= 120; ++k) {
            const double t = k * 2 * M_PI / 120;
            cx << r * ring / 4 * std::cos(t);
            cy << r * ring / 4 * std::sin(t);
        }
        circle->setData(cx, cy);
        circle->setPen(gridPen);
        circle->removeFromLegend();
    }
    for (int spoke = 0; spoke < 12; ++spoke) {
        auto* line = new QCPCurve(x, y);
        const double t = spoke * M_PI / 6;
        line->setData(QVector<double>{0, r * std::cos(t)}, QVector<double>{0, r * std::sin(t)});
        line->setPen(gridPen);
        line->removeFromLegend();
    }
    const GraphOptions& o = doc_.options();
    for (std::size_t i = 0; i < doc_.curves().size(); ++i) {
        const PlotableStackObject& item = *doc_.curves()[i];
        auto* curve = new QCPCurve(x, y);
        QPen pen(ToColor(doc_.preferences().curveColors[i % kCurveColorCount]));
        if (o.lineStyles) pen.setStyle(LineStyleOf(i));
        curve->setPen(pen);
        QVector<double> px, py;
        for (std::size_t k = 0; k < item.pointCount(); ++k) {
            const double theta = PlottedValue(item, o.xQuantity, k) * M_PI / 180.0;
            const double radius = PlottedValue(item, o.yQuantity, k);
            px << radius * std::cos(theta);
            py << radius * std::sin(theta);
        }
        curve->setData(px, py);
        curve->setName(QString::fromStdString(doc_.legendTexts()[i]));
        if (plot_->legend) curve->addToLegend(plot_->legend);
        Curve c;
        c.item = doc_.curves()[i];
        c.plottable = curve;
        c.xAxis = x;
        c.yAxis = y;
        curves_.push_back(c);
    }
    x->setRange(-r * 1.05, r * 1.05);
    y->setRange(-r * 1.05, r * 1.05);
}

void CGraphView::Build3D() {
    QCPLayoutGrid* graphs = graphArea_;
    auto* rect = new QCPAxisRect(plot_, true);
    rect->setBackground(ToColor(doc_.preferences().colorBackground));
    rect->setLayer("background");
    graphs->addElement(0, 0, rect);
    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    ApplyAxisStyle(x, true);
    ApplyAxisStyle(y, false);
    x->setLabel(QString::fromStdString(doc_.XTitle()));
    y->setLabel(QString::fromStdString(doc_.YTitle()));
    xAxes_.push_back(x);
    if (doc_.curves().empty()) return;
    const PlotableStackObject& item = *doc_.curves().front();
    // Cells: X magnitude, Y duration, Y2 rate; one colour-map cell per
    // distinct magnitude and duration.
    std::vector<double> mags, durs;
    for (std::size_t k = 0; k < item.pointCount(); ++k) {
        mags.push_back(item.XAt(k) * item.scale(kAxisX));
        durs.push_back(item.yValues ? item.yValues[k] * item.scale(kAxisY) : 0.0);
    }
    auto unique = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
        return v;
    };
    const std::vector<double> mx = unique(mags);
    const std::vector<double> dy = unique(durs);
    auto* map = new QCPColorMap(x, y);
    const int nx = std::max<int>(1, static_cast<int>(mx.size()));
    const int ny = std::max<int>(1, static_cast<int>(dy.size()));
    map->data()->setSize(nx, ny);
    map->data()->setRange(QCPRange(mx.empty() ? 0 : mx.front(), mx.empty() ? 1 : mx.back()),
                          QCPRange(dy.empty() ? 0 : dy.front(), dy.empty() ? 1 : dy.back()));
    for (std::size_t k = 0; k < item.pointCount(); ++k) {
        const auto ix = std::lower_bound(mx.begin(), mx.end(), mags[k]) - mx.begin();
        const auto iy = std::lower_bound(dy.begin(), dy.end(), durs[k]) - dy.begin();
        const double rate = item.y2Values ? item.y2Values[k] * item.scale(kAxisAngle) : 0.0;
        map->data()->setCell(static_cast<int>(ix), static_cast<int>(iy), rate);
    }
    auto* scale = new QCPColorScale(plot_);
    graphs->addElement(0, 1, scale);
    scale->setLabel("Rate");
    map->setColorScale(scale);
    map->setGradient(QCPColorGradient::gpThermal);
    map->rescaleDataRange(true);
    map->setInterpolate(false);
    map->rescaleAxes();
    Curve c;
    c.item = doc_.curves().front();
    c.plottable = map;
    c.xAxis = x;
    c.yAxis = y;
    curves_.push_back(c);
}

// --------------------------------------------------------------- plot values

int CGraphView::ColumnsFor(const QCPAxis* axis) const {
    const int width = axis->axisRect()->width();
    return width > 16 ? width : std::max(plot_->width(), 640);
}

void CGraphView::FillCurve(Curve& c) {
    const GraphOptions& o = doc_.options();
    if (c.item->kind() == kKindHist3D || o.scale.polar) return;
    const bool prob = o.scale.probX;
    const bool logX = o.scale.logX;
    const bool logY = o.scale.logY;
    double lo = c.xAxis->range().lower;
    double hi = c.xAxis->range().upper;
    if (prob) {
        lo = PercentOf(lo);
        hi = PercentOf(hi);
    }
    const int columns = ColumnsFor(c.xAxis);
    const PlotPoints points = c.decimated
                                  ? DecimateRange(*c.item, o.xQuantity, o.yQuantity, lo, hi,
                                                  columns, !o.filterPoints, c.blocks.get())
                                  : DecimateRange(*c.item, o.xQuantity, o.yQuantity, 0, 0, 0, true);
    auto accept = [&](double& x, double y) {
        if (logX && !(x > 0)) return false;
        if (logY && !(y > 0)) return false;
        if (prob) {
            x = ProbabilityCoordinate(x);
            if (!std::isfinite(x)) return false;
        }
        return std::isfinite(y);
    };
    if (auto* graph = qobject_cast<QCPGraph*>(c.plottable)) {
        QVector<QCPGraphData> data;
        data.reserve(static_cast<qsizetype>(points.x.size()));
        // With "NullGap" a missing value (NaN) breaks the line; otherwise the
        // line joins the points on either side.
        const bool gaps = doc_.preferences().nullGap != 0;
        for (std::size_t k = 0; k < points.x.size(); ++k) {
            double x = points.x[k];
            if (accept(x, points.y[k]))
                data.push_back(QCPGraphData(x, points.y[k]));
            else if (gaps && std::isnan(points.y[k]) && std::isfinite(x))
                data.push_back(QCPGraphData(x, std::numeric_limits<double>::quiet_NaN()));
        }
        graph->data()->set(data, c.decimated);
    } else if (auto* curve = qobject_cast<QCPCurve*>(c.plottable)) {
        QVector<QCPCurveData> data;
        data.reserve(static_cast<qsizetype>(points.x.size()));
        for (std::size_t k = 0; k < points.x.size(); ++k) {
            double x = points.x[k];
            if (accept(x, points.y[k]))
                data.push_back(QCPCurveData(static_cast<double>(data.size()), x, points.y[k]));
        }
        curve->data()->set(data, true);
    }
}

void CGraphView::RangeChanged(QCPAxis* xAxis) {
    if (syncing_) return;
    syncing_ = true;
    // Stacked graphs and axes share one X range.
    for (QCPAxis* other : xAxes_)
        if (other != xAxis) other->setRange(xAxis->range());
    syncing_ = false;
    for (Curve& c : curves_)
        if (c.decimated) FillCurve(c);
}

void CGraphView::RefreshData() {
    for (Curve& c : curves_) {
        if (c.blocks) c.blocks->Build(*c.item, doc_.options().yQuantity);
        FillCurve(c);
    }
    plot_->replot();
}

void CGraphView::Autoscale() {
    ScaleOptions& s = doc_.options().scale;
    s.x.autoRange = true;
    s.y.autoRange = true;
    Build();
}

std::vector<int> CGraphView::PlottedPointCounts() const {
    std::vector<int> counts;
    for (const Curve& c : curves_)
        counts.push_back(c.plottable->interface1D() ? c.plottable->interface1D()->dataCount() : 0);
    return counts;
}

int CGraphView::AxisRectCount() const {
    return static_cast<int>(plot_->axisRects().size());
}

void CGraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
}

// ----------------------------------------------------------------- crosshair

void CGraphView::SetCrosshair(bool on) {
    crosshair_ = on;
    plot_->setSelectionRectMode(on ? QCP::srmNone : QCP::srmZoom);
    plot_->setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
    if (crossV_) {
        plot_->removeItem(crossV_);
        plot_->removeItem(crossH_);
        plot_->removeItem(crossLabel_);
        crossV_ = crossH_ = nullptr;
        crossLabel_ = nullptr;
    }
    crosshairText_.clear();
    if (on && !plot_->axisRects().isEmpty()) {
        crossV_ = new QCPItemStraightLine(plot_);
        crossH_ = new QCPItemStraightLine(plot_);
        crossLabel_ = new QCPItemText(plot_);
        const QPen pen(ToColor(doc_.preferences().colorForeground), 0, Qt::DotLine);
        crossV_->setPen(pen);
        crossH_->setPen(pen);
        crossLabel_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        crossLabel_->setColor(ToColor(doc_.preferences().colorText));
        crossLabel_->setBrush(ToColor(doc_.preferences().colorBackground));
        for (QCPAbstractItem* item :
             {static_cast<QCPAbstractItem*>(crossV_), static_cast<QCPAbstractItem*>(crossH_),
              static_cast<QCPAbstractItem*>(crossLabel_)})
            item->setVisible(false);
    }
    plot_->replot();
}

QString CGraphView::crosshairText() const {
    return crosshairText_;
}

void CGraphView::MoveCrosshair(const QPoint& position) {
    if (!crosshair_ || !crossV_) return;
    QCPAxisRect* rect = plot_->axisRectAt(position);
    if (!rect) return;
    // The nearest point of a curve drawn in this rectangle, in pixels.
    const Curve* best = nullptr;
    double bestDistance = 1e300;
    double bx = 0, by = 0;
    for (const Curve& c : curves_) {
        if (c.xAxis->axisRect() != rect) continue;
        const QCPPlottableInterface1D* data = c.plottable->interface1D();
        if (!data || data->dataCount() == 0) continue;
        const double key = c.xAxis->pixelToCoord(position.x());
        int i = std::clamp(data->findBegin(key, false), 0, data->dataCount() - 1);
        for (int k = std::max(0, i - 1); k <= std::min(data->dataCount() - 1, i + 1); ++k) {
            const double px = c.xAxis->coordToPixel(data->dataMainKey(k));
            const double py = c.yAxis->coordToPixel(data->dataMainValue(k));
            const double d = std::hypot(px - position.x(), py - position.y());
            if (d < bestDistance) {
                bestDistance = d;
                best = &c;
                bx = data->dataMainKey(k);
                by = data->dataMainValue(k);
            }
        }
    }
    if (!best) return;
    crossV_->point1->setAxes(best->xAxis, best->yAxis);
    crossV_->point2->setAxes(best->xAxis, best->yAxis);
    crossH_->point1->setAxes(best->xAxis, best->yAxis);
    crossH_->point2->setAxes(best->xAxis, best->yAxis);
    crossV_->point1->setCoords(bx, 0);
    crossV_->point2->setCoords(bx, 1);
    crossH_->point1->setCoords(0, by);
    crossH_->point2->setCoords(1, by);
    const double shownX = doc_.options().scale.probX ? PercentOf(bx) : bx;
    crosshairText_ = QString("%1   X: %2   Y: %3")
                         .arg(best->plottable->name())
                         .arg(shownX, 0, 'g', 6)
                         .arg(by, 0, 'g', 6);
    crossLabel_->setClipAxisRect(rect);
    crossLabel_->position->setType(QCPItemPosition::ptAxisRectRatio);
    crossLabel_->position->setAxisRect(rect);
    crossLabel_->position->setCoords(0.01, 0.01);
    crossLabel_->setText(crosshairText_);
    for (QCPAbstractItem* item :
         {static_cast<QCPAbstractItem*>(crossV_), static_cast<QCPAbstractItem*>(crossH_),
          static_cast<QCPAbstractItem*>(crossLabel_)})
        item->setVisible(true);
    crossV_->setClipAxisRect(rect);
    crossH_->setClipAxisRect(rect);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

bool CGraphView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_) {
        if (event->type() == QEvent::MouseMove && crosshair_)
            MoveCrosshair(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (event->type() == QEvent::MouseButtonPress && !crosshair_ && !doc_.flags().hist3d) {
            // Ctrl+drag pans; a plain drag draws the zoom rectangle.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            plot_->setSelectionRectMode(mouse->modifiers() & Qt::ControlModifier ? QCP::srmNone
                                                                                 : QCP::srmZoom);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ----------------------------------------------------------- export, print

QSize CGraphView::PictureSize(double dotsPerInch) const {
    const GraphPreferences& p = doc_.preferences();
    return QSize(static_cast<int>(p.ExportWidthHundredths() * dotsPerInch / 100.0),
                 static_cast<int>(p.ExportHeightHundredths() * dotsPerInch / 100.0));
}

QImage CGraphView::RenderImage(int width, int height) {
    return plot_->toPixmap(width, height).toImage();
}

bool CGraphView::SavePicture(const QString& path, PictureFormat format) {
    const GraphPreferences& p = doc_.preferences();
    switch (format) {
        case PictureFormat::Png:
            return plot_->savePng(path, p.pngX, p.pngY);
        case PictureFormat::Pdf: {
            const QSize points = PictureSize(72.0);
            return plot_->savePdf(path, points.width(), points.height(), QCP::epNoCosmetic, "KOV",
                                  QString::fromStdString(doc_.Title()));
        }
        case PictureFormat::Svg: {
            const QSize size = PictureSize(96.0);
            QSvgGenerator generator;
            generator.setFileName(path);
            generator.setSize(size);
            generator.setViewBox(QRect(QPoint(0, 0), size));
            generator.setResolution(96);
            generator.setTitle(QString::fromStdString(doc_.Title()));
            QCPPainter painter;
            if (!painter.begin(&generator)) return false;
            plot_->toPainter(&painter, size.width(), size.height());
            painter.end();
            return QFileInfo(path).size() > 0;
        }
    }
    return false;
}

void CGraphView::CopyToClipboard() {
    const QSize size = PictureSize(96.0);
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        generator.setResolution(96);
        QCPPainter painter;
        if (painter.begin(&generator)) {
            plot_->toPainter(&painter, size.width(), size.height());
            painter.end();
        }
    }
    auto* mime = new QMimeData;
    mime->setData("image/svg+xml", svg);
    const GraphPreferences& p = doc_.preferences();
    mime->setImageData(RenderImage(p.pngX, p.pngY));
    QApplication::clipboard()->setMimeData(mime);
}

void CGraphView::Print(QPrinter& printer) {
    // At 96 dots per inch the chart's fonts and pens keep their screen sizes;
    // the printer's own resolution comes back afterwards.
    const int resolution = printer.resolution();
    printer.setResolution(96);
    QCPPainter painter;
    if (painter.begin(&printer)) {
        const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
        const QSize size = PictureSize(96.0).boundedTo(page.size());
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        plot_->toPainter(&painter, size.width(), size.height());
        painter.end();
    }
    printer.setResolution(resolution);
}

}  // namespace kov
