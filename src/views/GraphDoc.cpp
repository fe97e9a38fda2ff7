#include "views/GraphDoc.h"

#include "analysis/ToleranceCurves.h"
#include "stack/PlotableStackObject.h"
#include "views/GraphView.h"

namespace kov {

GraphPreferences& AppPreferences() {
    static GraphPreferences prefs;
    return prefs;
}

CGraphDoc::CGraphDoc(const GraphPreferences& prefs) : prefs_(prefs) {
    options_.scale = prefs.scale;
    options_.grid = prefs.grid;
    options_.legend = prefs.legendActive == 1 ? kLegendRight : kLegendNone;
    options_.comments = prefs.initialCB != 0;
    options_.dataBlock = prefs.initialDB != 0;
    options_.lineStyles = prefs.lineStyles != 0;
    options_.filterPoints = prefs.filterPoints != 0;
    options_.magDur = prefs.magDur;
}

CGraphDoc::~CGraphDoc() {
    Release();
}

void CGraphDoc::SetPreferences(const GraphPreferences& prefs) {
    prefs_ = prefs;
    options_.lineStyles = prefs.lineStyles != 0;
    options_.filterPoints = prefs.filterPoints != 0;
}

void CGraphDoc::SetupGraph(int mode, int xQuantity, int yQuantity, bool logX, bool probX, bool logY,
                           bool polar, std::span<StackObject* const> items) {
    options_.mode = mode;
    options_.xQuantity = xQuantity;
    options_.yQuantity = yQuantity;
    options_.scale.logX = logX;
    options_.scale.probX = probX;
    options_.scale.logY = logY;
    options_.scale.polar = polar;
    SetItems(items);
}

void CGraphDoc::Release() {
    for (StackObject* item : items_)
        if (item->inUse > 0) --item->inUse;
    items_.clear();
    curves_.clear();
    owned_.clear();
}

void CGraphDoc::SetItems(std::span<StackObject* const> items) {
    Release();
    for (StackObject* item : items) {
        auto* plotable = dynamic_cast<PlotableStackObject*>(item);
        if (!plotable) continue;
        ++item->inUse;
        items_.push_back(item);
        curves_.push_back(plotable);
    }
    if (!items_.empty()) {
        flags_ = FlagsFor(*items_.front(), options_.xQuantity, options_.yQuantity);
        if (flags_.magDur) {
            options_.scale.logX = true;
            options_.scale.probX = false;
            owned_ = MakeBackgroundCurves(options_.magDur);
            for (auto& curve : owned_) curves_.push_back(curve.get());
        }
    }
    Rebuild();
}

std::vector<StackObject*> CGraphDoc::items() const {
    return items_;
}

bool CGraphDoc::ShowsItem(const StackObject* item) const {
    return std::find(items_.begin(), items_.end(), item) != items_.end();
}

void CGraphDoc::Derive() {
    legendTexts_.clear();
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        const bool typed = i < texts_.legends.size() && !texts_.legends[i].empty();
        legendTexts_.push_back(typed ? texts_.legends[i] : LegendText(*curves_[i]));
    }
    dataBlock_ = items_.empty() ? std::vector<std::string>{} : DataBlockLines(*items_.front());
    xExtent_ = Extent{};
    yExtent_ = Extent{};
    for (std::size_t i = 0; i < curves_.size(); ++i) {
        // Magnitude-duration graphs range over the events; the envelopes
        // behind them reach from 1e-10 s to 1e11 s and would hide them.
        if (flags_.magDur && i >= items_.size()) continue;
        xExtent_.Include(QuantityExtent(*curves_[i], options_.xQuantity));
        yExtent_.Include(QuantityExtent(*curves_[i], options_.yQuantity));
    }
    if (flags_.magDur) {
        xExtent_.Include(0.1);
        xExtent_.Include(1000.0);
        yExtent_.Include(0.0);
        yExtent_.Include(150.0);
    }
}

int CGraphDoc::Rebuild() {
    Derive();
    UpdateViews();
    return 1;
}

void CGraphDoc::RefreshData() {
    Derive();
    if (view()) view_->RefreshData();
}

void CGraphDoc::UpdateViews() {
    if (view()) view_->Build();
}

QWidget* CGraphDoc::Window() {
    if (!view()) {
        view_ = new CGraphView(*this);
        window_ = view_;
        view_->setWindowTitle(QString::fromStdString(WindowTitle()));
        view_->Build();
    }
    return view_;
}

void CGraphDoc::Print(QPrinter& printer) {
    if (view()) view_->Print(printer);
}

void CGraphDoc::Copy() {
    if (view()) view_->CopyToClipboard();
}

std::string CGraphDoc::Title() const {
    return texts_.title.empty() ? BuiltTitle() : texts_.title;
}

std::string CGraphDoc::BuiltTitle() const {
    return items_.empty() ? std::string{} : items_.front()->GetTitle();
}

std::string CGraphDoc::WindowTitle() const {
    return items_.empty() ? std::string{"Graph"} : items_.front()->GetTitle(338);
}

std::string CGraphDoc::XTitle() const {
    return texts_.xTitle.empty() ? BuiltXTitle() : texts_.xTitle;
}

std::string CGraphDoc::BuiltXTitle() const {
    if (flags_.hist3d) return "Magnitude";
    return items_.empty() ? "X Axis" : AxisTitle(*items_.front(), options_.xQuantity, true);
}

std::string CGraphDoc::YTitle() const {
    return texts_.yTitle.empty() ? BuiltYTitle() : texts_.yTitle;
}

std::string CGraphDoc::BuiltYTitle() const {
    if (flags_.hist3d) return "Duration";
    return items_.empty() ? "Y Axis" : AxisTitle(*items_.front(), options_.yQuantity, false);
}

std::string CGraphDoc::YTitleOf(std::size_t curve) const {
    if (curve == 0 || curve >= curves_.size()) return YTitle();
    return AxisTitle(*curves_[curve], options_.yQuantity, false);
}

Extent CGraphDoc::YExtentOf(std::size_t curve) const {
    return curve < curves_.size() ? QuantityExtent(*curves_[curve], options_.yQuantity) : Extent{};
}

std::vector<std::string> CGraphDoc::CommentBlock() const {
    if (!texts_.comments.empty()) return SplitComments(texts_.comments);
    return items_.empty() ? std::vector<std::string>{} : CommentLines(items_.front()->notes);
}

}  // namespace kov
