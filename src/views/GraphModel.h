#pragma once
// The graph windows' logic that is not drawing: the graph preferences kept in
// KOV.ini, the rules of the "Plot Quantity Select" dialog, titles, axis
// titles, legend texts, the comment block, plotted values, axis extents and
// the per-pixel-column min/max decimation that keeps big curves interactive.
// Plain C++ (no Qt), so that it is tested directly.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stack/PlotableStackObject.h"

namespace kov {

class Profile;
class Stack;

// ---------------------------------------------------------------- preferences

// The scale options of one axis ("bAutoX", "bSymmetricX", "bZeroX", "fMinX",
// "fMaxX", "fGridX", "uTicX" and the Y equivalents).
struct AxisScale {
    bool autoRange = true;
    bool symmetric = false;
    bool zero = false;
    double min = 0.0;
    double max = 0.0;
    double grid = 10.0;
    int tics = 10;
};

// Scale options of a graph: both axes and the scale choices.
struct ScaleOptions {
    AxisScale x;
    AxisScale y;
    bool logX = false;
    bool probX = false;
    bool logY = false;
    bool polar = false;
};

// Grid styles ("eGrid").
enum GridStyle { kGridThin = 0, kGridThick = 1, kGridDotted = 2, kGridDashed = 3 };

struct GridOptions {
    int style = kGridDashed;
    bool front = false;
    bool majorX = true;
    bool minorX = false;
    bool majorY = true;
    bool minorY = false;
};

inline constexpr int kCurveColorCount = 16;

// A colour as stored in KOV.ini: 0x00BBGGRR.
using ColorRef = std::uint32_t;
inline constexpr int ColorRed(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int ColorGreen(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int ColorBlue(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
inline constexpr ColorRef MakeColorRef(int r, int g, int b) {
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Every setting of the section "Preferences".
struct GraphPreferences {
    int initialDB = 0;
    int initialCB = 0;
    int legendActive = 1;
    int lineStyles = 1;
    int filterPoints = 0;
    int pngX = 640;
    int pngY = 480;
    double wmfX = 6.0;
    double wmfY = 4.0;
    int wmfInches = 1;
    double baseFrequency = 60.0;
    ColorRef colorBackground = 0xFFFFFF;
    ColorRef colorDesktop = 0xFFFFFF;
    ColorRef colorForeground = 0x000000;
    ColorRef colorText = 0x000000;
    ColorRef colorXAxis = 0x000000;
    ColorRef colorYAxis = 0x000000;
    std::array<ColorRef, kCurveColorCount> curveColors = DefaultCurveColors();
    GridOptions grid;
    ScaleOptions scale;
    int dateExport = 1;
    int nullGap = 0;
    int magDur = 0;
    int evenHarmonics = 0;
    int highestHarmonic = 25;

    static constexpr std::array<ColorRef, kCurveColorCount> DefaultCurveColors() {
        return {0x000000, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0x0000FF, 0xFFFF00, 0xC0C0C0,
                0x505050, 0x800080, 0x008000, 0x808080, 0x808000, 0x800000, 0x000080, 0x008080};
    }
    // Reads every key of section "Preferences"; a missing key keeps its default.
    void Load(const Profile& profile);
    // Writes every key of section "Preferences".
    void Save(Profile& profile) const;
    // The picture size of metafile-like exports and printing, in hundredths of
    // an inch ("WmfX"/"WmfY" read as inches, or millimetres when "WmfInches" is 0).
    int ExportWidthHundredths() const;
    int ExportHeightHundredths() const;
    // All colours back to their defaults (the dialog's "Defaults").
    void ResetColors();
};

inline constexpr const char* kPreferencesSection = "Preferences";

// ------------------------------------------------------------ graph selection

enum GraphMode {
    kModeSuperimpose = 0,
    kModeStackedGraphs = 1,
    kModeStackedAxes = 2,
    kModeLeftRightAxes = 3,
    kModeAutoWindows = 4,
};
inline constexpr int kMaxStackedGraphs = 6;

// What is plotted of an item on an axis.
enum PlotQuantity {
    kQuantityBaseline = 0,
    kQuantityMagnitude = 1,
    kQuantityPhase = 2,
    kQuantityReal = 3,
    kQuantityImaginary = 4,
};
// "Baseline", "Magnitude", "Phase", "Real", "Imaginary" for 0..4.
const char* QuantityName(int quantity);
// The quantity of a combo box text: the first of "Magnitude", "Phase", "Real",
// "Imaginary", "Baseline" that the text contains; none gives 0.
int QuantityFromText(std::string_view text);

// X scale choices of the dialog.
enum XScaleChoice { kXLinear = 0, kXLog = 1, kXProb = 2 };

// The choices of "Plot Quantity Select" while the user clicks.
struct GraphSelection {
    int mode = kModeSuperimpose;
    int xQuantity = kQuantityBaseline;
    int yQuantity = kQuantityMagnitude;
    int xScale = kXLinear;
    bool logY = false;
    bool polar = false;
};
// Ticking "Polar Grid": a chosen mode 1-3 falls back to 0, log and
// probability X are cleared.
void PolarTicked(GraphSelection& s, bool ticked);
// Choosing a mode: modes 1-3 clear "Polar Grid".
void ModeChosen(GraphSelection& s, int mode);
// Which controls are enabled for the current choices.
struct SelectionEnables {
    std::array<bool, 5> modes{true, true, true, true, true};
    bool xLog = true;
    bool xProb = true;
    bool polar = true;
};
SelectionEnables EnablesFor(const GraphSelection& s);
// The dialog's start: mode 0, X "Baseline", Y "Magnitude", scales of the preferences.
GraphSelection InitialSelection(const GraphPreferences& prefs);
// True when OK may close the dialog; false for stacked graphs of more than 6 items.
bool SelectionCountAllowed(int mode, std::size_t count);

// The items the selection dialog offers, kind by kind: waveforms, spectra,
// scans, trends, histograms, probability curves, X-Y, magnitude-duration, 3-D
// histograms; statistic items never.
std::vector<StackObject*> GraphableItems(const Stack& stack);

// ----------------------------------------------------------- titles and texts

// The kind flags of a graph, from its first item and quantities.
struct KindFlags {
    bool discrete = false;  // histograms and spectra
    bool hist3d = false;
    bool magDur = false;
    bool exactX = false;
    bool xBaselineFlag = false;  // spectra and scans with X quantity 0
    bool yBaselineFlag = false;  // spectra and scans with Y quantity 0
};
KindFlags FlagsFor(const StackObject& first, int xQuantity, int yQuantity);

// The title of an axis from the item's unit descriptor for the plotted
// quantity (0: X descriptor, 2: angle descriptor, any other: Y descriptor);
// "X Axis" or "Y Axis" when the unit gives no text.
std::string AxisTitle(const StackObject& item, int quantity, bool xAxis);
// The legend text: shortLabel (at most 35 characters), then " (unit)" when
// the Y unit gives a text.
std::string LegendText(const StackObject& item);
// The comment block of the first item: its note lines (each cut to 126
// characters) split at newlines, carriage returns, tabs and "|"; empty lines
// and lines of 255 characters or more are skipped; at most 10 lines.
std::vector<std::string> CommentLines(const std::vector<std::string>& notes);
// The note lines as one comment text: each cut to 126 characters, joined with "\r\n".
std::string CommentText(const std::vector<std::string>& notes);
// A comment text split into the lines of the comment block, as CommentLines.
std::vector<std::string> SplitComments(std::string_view text);
inline constexpr std::size_t kMaxCommentLines = 10;
// The data block: the summary table's rows, cells joined by tabs.
std::vector<std::string> DataBlockLines(const StackObject& item);

// ------------------------------------------------------------ plotted values

// Display value of quantity q of sample i (X values for 0; magnitudes, angles
// in degrees, real and imaginary parts otherwise), in the item's display units.
double PlottedValue(const PlotableStackObject& item, int quantity, std::size_t i);
// Extent of a quantity over the item's samples, display units; {0,0} when empty.
struct Extent {
    double min = 0.0;
    double max = 0.0;
    bool valid = false;
    void Include(double v);
    void Include(const Extent& e);
};
Extent QuantityExtent(const PlotableStackObject& item, int quantity);
// True when the plotted X values are in ascending order (waveforms, spectra,
// trends...), so that a range of them can be found by binary search.
bool AscendingX(const PlotableStackObject& item, int xQuantity);

// The probability axis: the inverse of the standard normal distribution
// function. Plotted X values are percentages; p is a fraction in (0, 1).
double InverseNormal(double p);
// The transformed coordinate of a percentage, NaN outside (0, 100).
double ProbabilityCoordinate(double percent);

// ---------------------------------------------------------------- decimation

// A curve ready to draw: parallel X and Y values in display units.
struct PlotPoints {
    std::vector<double> x;
    std::vector<double> y;
};

// Where the minimum and the maximum of every block of kBlock samples of an
// item's magnitudes (or angles) lie, so that a pixel column spanning many
// blocks reads two values per block instead of every sample. Built once per
// curve in one pass; the item's arrays are immutable, so it stays valid until
// the item is refreshed.
class BlockExtremes {
public:
    static constexpr std::size_t kBlock = 1024;
    // False (and nothing built) for quantities other than magnitude and phase.
    bool Build(const PlotableStackObject& item, int yQuantity);
    bool built() const { return values_ != nullptr; }
    // Index of the minimum and the maximum of the values in [a, b), a < b.
    void Find(std::size_t a, std::size_t b, std::size_t& iMin, std::size_t& iMax) const;

private:
    const float* values_ = nullptr;
    std::size_t count_ = 0;
    std::vector<std::uint32_t> minIndex_;
    std::vector<std::uint32_t> maxIndex_;
};

// The points to draw for the part of an item between xMin and xMax (plotted X
// in display units) over `columns` pixel columns. When the range holds more
// than a few points per column, each column keeps the minimum and maximum of
// its samples, in the order they occur, so that spikes survive; with
// `exactJoins` (FilterPoints off) it keeps the column's first and last sample
// too, so that the lines between columns are the ones the full data draws.
// One sample beyond each end of the range is kept so that the curve reaches
// the edges. Items whose X is not ascending are returned whole.
// `blocks`, when given and built for the same item and quantity, speeds up
// wide columns.
PlotPoints DecimateRange(const PlotableStackObject& item, int xQuantity, int yQuantity, double xMin,
                         double xMax, int columns, bool exactJoins,
                         const BlockExtremes* blocks = nullptr);

}  // namespace kov
