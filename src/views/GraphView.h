#pragma once
// CGraphView: the window of a graph document. It draws the document's curves
// with QCustomPlot in the document's mode (superimposed, stacked graphs,
// stacked axes, left-right Y axes), on linear, logarithmic, probability or
// polar scales, with titles, legend, comment and data blocks. Curves are
// handed to the plot as per-pixel-column minima and maxima of the visible
// range, recomputed whenever the range or the width changes, so a curve of
// millions of samples redraws as fast as a short one.

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "views/GraphModel.h"

class QCustomPlot;
class QCPAxis;
class QCPAbstractPlottable;
class QCPItemStraightLine;
class QCPItemText;
class QCPAxisRect;
class QCPLayoutGrid;
class QPainter;
class QPrinter;

namespace kov {

class CGraphDoc;
class PlotableStackObject;

// Picture formats of the graph export.
enum class PictureFormat { Svg, Pdf, Png };

class CGraphView : public QWidget {
    Q_OBJECT
public:
    explicit CGraphView(CGraphDoc& doc, QWidget* parent = nullptr);
    ~CGraphView() override;

    CGraphDoc& document() const { return doc_; }
    QCustomPlot* plot() const { return plot_; }

    // Rebuilds the whole chart from the document.
    void Build();
    // Recomputes the plotted points only (after a refresh from disk).
    void RefreshData();
    // Both axes back to automatic ranges.
    void Autoscale();
    void SetCrosshair(bool on);
    bool crosshair() const { return crosshair_; }
    // The crosshair's reading: "X: ..., Y: ..." of the curve nearest the pointer.
    QString crosshairText() const;
    // Moves the crosshair to a point of the widget (as the mouse does).
    void MoveCrosshair(const QPoint& position);

    // The export size of metafile-like pictures and prints, in pixels at the
    // given resolution (from the "WmfX", "WmfY" and "WmfInches" preferences).
    QSize PictureSize(double dotsPerInch) const;
    // Writes the graph as SVG or PDF at the preference size, or PNG at
    // "PngX" x "PngY" pixels. False when the file cannot be written.
    bool SavePicture(const QString& path, PictureFormat format);
    // The graph rendered at a size in pixels.
    QImage RenderImage(int width, int height);
    // Copies the graph to the clipboard as SVG and PNG.
    void CopyToClipboard();
    // Prints the graph, fitted into the printable area of the page.
    void Print(QPrinter& printer);

    // Points handed to the plot for each curve (decimated), for tests.
    std::vector<int> PlottedPointCounts() const;
    // Number of axis rectangles (stacked graphs and axes have one per item).
    int AxisRectCount() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Curve {
        PlotableStackObject* item = nullptr;
        QCPAbstractPlottable* plottable = nullptr;
        QCPAxis* xAxis = nullptr;
        QCPAxis* yAxis = nullptr;
        bool decimated = false;                 // a line graph fed per visible range
        std::shared_ptr<BlockExtremes> blocks;  // for long curves
    };

    void BuildCartesian();
    void BuildPolar();
    void Build3D();
    void ApplyAxisStyle(QCPAxis* axis, bool isX);
    void ApplyScale(QCPAxis* axis, bool isX, double dataMin, double dataMax);
    void ApplyGrid(QCPAxis* axis, bool isX);
    void AddCurve(std::size_t index, QCPAxis* xAxis, QCPAxis* yAxis);
    void FillCurve(Curve& curve);
    void RangeChanged(QCPAxis* xAxis);
    int ColumnsFor(const QCPAxis* axis) const;
    void UpdateCrosshairItems();

    CGraphDoc& doc_;
    QCustomPlot* plot_ = nullptr;
    std::vector<Curve> curves_;
    std::vector<QCPAxis*> xAxes_;
    QCPLayoutGrid* graphArea_ = nullptr;
    bool crosshair_ = false;
    bool syncing_ = false;
    QString crosshairText_;
    QCPItemStraightLine* crossV_ = nullptr;
    QCPItemStraightLine* crossH_ = nullptr;
    QCPItemText* crossLabel_ = nullptr;
    int lastColumns_ = 0;
};

}  // namespace kov
