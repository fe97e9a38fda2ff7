#pragma once
// CGraphDoc: a graph window's document. It holds the items shown (raising
// each item's inUse while it shows it), the background curves it made itself
// for magnitude-duration graphs, the graph's options and everything derived
// from the items: titles, axis titles, legend texts, the comment and data
// blocks and the axis extents. CGraphView draws it.

#include <QPointer>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "views/GraphModel.h"
#include "views/Kov32Doc.h"

namespace kov {

class CGraphView;
class PlotableStackObject;

// Legend positions of the "Graph Text" dialog.
enum LegendPosition {
    kLegendAbove = 0,
    kLegendBelow = 1,
    kLegendLeft = 2,
    kLegendRight = 3,
    kLegendNone = 4
};

// The options of one graph, copied from the preferences when it is set up and
// edited by the Scale, Grid and Text dialogs.
struct GraphOptions {
    int mode = kModeSuperimpose;
    int xQuantity = kQuantityBaseline;
    int yQuantity = kQuantityMagnitude;
    ScaleOptions scale;
    GridOptions grid;
    int legend = kLegendRight;
    bool comments = false;   // "Use Comments"
    bool dataBlock = false;  // "Use Data Block"
    bool subtitlesBelow = false;
    bool lineStyles = true;
    bool filterPoints = false;
    int magDur = 0;
};

// What the "Graph Text" dialog edits; empty titles fall back to the ones
// built from the items.
struct GraphTexts {
    std::string title;
    std::string xTitle;
    std::string yTitle;
    std::string comments;
    std::vector<std::string> legends;  // per curve; empty entries keep the built text
};

class CGraphDoc : public CKov32Doc {
public:
    explicit CGraphDoc(const GraphPreferences& prefs);
    ~CGraphDoc() override;
    CGraphDoc(const CGraphDoc&) = delete;
    CGraphDoc& operator=(const CGraphDoc&) = delete;

    // Stores the options, takes the items and draws the graph.
    void SetupGraph(int mode, int xQuantity, int yQuantity, bool logX, bool probX, bool logY,
                    bool polar, std::span<StackObject* const> items);
    // Releases the current items and takes these (raising their inUse); adds
    // the background curves of magnitude-duration graphs; rebuilds.
    void SetItems(std::span<StackObject* const> items);

    bool ShowsItem(const StackObject* item) const override;
    int Rebuild() override;
    void RefreshData() override;
    QWidget* Window() override;
    bool CanPrint() const override { return true; }
    void Print(QPrinter& printer) override;
    void Copy() override;
    ExportKind exportKind() const override { return ExportKind::Graph; }
    // The view, or null once its window has gone.
    CGraphView* view() const { return window_ ? view_ : nullptr; }

    // The items chosen by the user, in selection order.
    std::vector<StackObject*> items() const;
    // Every curve drawn: the items, then the background curves.
    const std::vector<PlotableStackObject*>& curves() const { return curves_; }
    std::size_t ownedCount() const { return owned_.size(); }

    const GraphPreferences& preferences() const { return prefs_; }
    // The graph's own colours, line styles and options (Edit Chart Properties).
    void SetPreferences(const GraphPreferences& prefs);
    GraphOptions& options() { return options_; }
    const GraphOptions& options() const { return options_; }
    GraphTexts& texts() { return texts_; }
    const GraphTexts& texts() const { return texts_; }
    const KindFlags& flags() const { return flags_; }

    // Built from the first item, or the texts the user typed.
    std::string Title() const;
    std::string XTitle() const;
    std::string YTitle() const;
    // The same, built from the items alone.
    std::string BuiltTitle() const;
    std::string BuiltXTitle() const;
    std::string BuiltYTitle() const;
    // The Y axis title of one item (stacked graphs and axes, left-right axes).
    std::string YTitleOf(std::size_t curve) const;
    const std::vector<std::string>& legendTexts() const { return legendTexts_; }
    // The comment lines shown: the typed comments when there are any, else
    // the first item's notes.
    std::vector<std::string> CommentBlock() const;
    const std::vector<std::string>& dataBlock() const { return dataBlock_; }
    // Extents of the plotted X and Y quantities over every curve.
    Extent xExtent() const { return xExtent_; }
    Extent yExtent() const { return yExtent_; }
    Extent YExtentOf(std::size_t curve) const;

    // The window's title: the first item's title, at most 337 characters.
    std::string WindowTitle() const;

private:
    void Release();
    void Derive();
    void UpdateViews();

    GraphPreferences prefs_;
    GraphOptions options_;
    GraphTexts texts_;
    KindFlags flags_;
    std::vector<StackObject*> items_;
    std::vector<std::unique_ptr<PlotableStackObject>> owned_;
    std::vector<PlotableStackObject*> curves_;
    std::vector<std::string> legendTexts_;
    std::vector<std::string> dataBlock_;
    Extent xExtent_;
    Extent yExtent_;
    CGraphView* view_ = nullptr;
    QPointer<QWidget> window_;  // tells when the view has been deleted
};

// The program's graph preferences (section "Preferences"), read at start.
GraphPreferences& AppPreferences();

}  // namespace kov
