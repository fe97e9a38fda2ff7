// kov-cli expr, calc and units.

#include "cli/AnalysisCommands.h"

#include <fnmatch.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

#include "analysis/Calculator.h"
#include "analysis/ExpressionEvaluator.h"
#include "analysis/ExpressionLibrary.h"
#include "analysis/UnitEditing.h"
#include "cli/CliContext.h"
#include "cli/SourceFlags.h"
#include "cli/StackPrinter.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/Stack.h"

namespace kov::cli {

namespace {

// ---- expr ----

struct ExprFlags {
    SourceFlags source;
    std::optional<std::string> name, kind, y, y2, xmin, xmax, step, points, complex, phase;
};

void AddExpr(CLI::App& app, Context& context, int& status) {
    auto flags = std::make_shared<ExprFlags>();
    auto* cmd = app.add_subcommand(
        "expr",
        "Make an item from expressions of x, as the Expression Evaluator's Do does. Settings "
        "not given keep their last values (in a script) or the dialog's start values");
    cmd->add_option("--name", flags->name, "Name of the new item (namePart1; case EXPRESSION)");
    cmd->add_option("--kind", flags->kind, "Result kind")
        ->check(CLI::IsMember({"wave", "spectrum", "scan", "xy", "probability", "histogram"},
                              CLI::ignore_case));
    cmd->add_option("--y", flags->y, "First expression: mag(x), or real(x) with realimag");
    cmd->add_option("--y2", flags->y2,
                    "Second expression: phase(x) or imag(x) (spectrum, scan and xy only)");
    cmd->add_option("--xmin", flags->xmin, "First x");
    cmd->add_option("--xmax", flags->xmax, "Last x (above xmin)");
    auto* step = cmd->add_option("--step", flags->step, "Spacing by step size");
    auto* points = cmd->add_option("--points", flags->points, "Spacing by number of points");
    step->excludes(points);
    cmd->add_option("--complex", flags->complex, "How y and y2 are read")
        ->check(CLI::IsMember({"magphase", "realimag"}, CLI::ignore_case));
    cmd->add_option("--phase", flags->phase, "Unit of a typed phase (magphase)")
        ->check(CLI::IsMember({"degrees", "radians"}, CLI::ignore_case));
    AddSourceFlags(cmd, flags->source, false);
    cmd->callback([&context, &status, flags] {
        ExpressionSettings& s = RunExpressionSettings();
        const ExprFlags& f = *flags;
        if (f.name) s.name = *f.name;
        if (f.y) s.first = *f.y;
        if (f.y2) s.second = *f.y2;
        if (f.xmin) s.xmin = *f.xmin;
        if (f.xmax) s.xmax = *f.xmax;
        if (f.step) {
            s.step = *f.step;
            s.byStep = true;
        }
        if (f.points) {
            s.points = *f.points;
            s.byStep = false;
        }
        if (f.complex) s.realImag = EqualsNoCase(*f.complex, "realimag");
        if (f.phase) s.degrees = EqualsNoCase(*f.phase, "degrees");
        if (f.kind) {
            static const std::pair<const char*, ExpressionKind> kinds[] = {
                {"wave", ExpressionKind::Wave},
                {"spectrum", ExpressionKind::Spectrum},
                {"scan", ExpressionKind::Scan},
                {"xy", ExpressionKind::XY},
                {"probability", ExpressionKind::Probability},
                {"histogram", ExpressionKind::Histogram}};
            for (const auto& [text, kind] : kinds)
                if (EqualsNoCase(*f.kind, text)) s.kind = kind;
        }
        ExpressionLibrary library;
        if (!DoExpression(context.workbench.stack(), context.ui, s, library)) {
            status = 1;
            return;
        }
        PrintResult(context, f.source);
    });
}

// ---- calc ----

struct CalcFlags {
    SourceFlags source;
    std::string op, a;
    std::optional<std::string> b;
    std::optional<double> constant;
    std::optional<std::string> newName;
    bool sliding = false, single = false, autoFundamental = false, noAutoFundamental = false;
    std::optional<float> fundamental, start, step, f1, f2;
    std::optional<int> cycles, sections, lastHarmonic;
    std::optional<std::string> window, item, series, filter, by;
    std::optional<double> shift, startValue, stopValue, sampleStep, increment;
    std::optional<long> startIndex, stopIndex, samplePoints;
};

int WindowCode(const std::string& name) {
    static const char* names[] = {"rectangular", "hanning", "welsh", "bartlett"};
    for (int i = 0; i < 4; ++i)
        if (EqualsNoCase(name, names[i])) return i;
    return 0;
}

// Copies the given flags into the records of the chosen operation, checking
// them as the option dialogs check their fields. False after a message.
bool ApplyOptions(Context& context, const CalcFlags& f, int row, CalculatorRecords& r) {
    Ui& ui = context.ui;
    switch (row) {
        case kRowFft:
        case kRowWindowFunction: {
            FFTParameters& p = r.fft;
            if (f.sliding) p.sliding = 1;
            if (f.single) p.sliding = 0;
            if (f.fundamental) p.fundamental = *f.fundamental;
            if (f.cycles) p.cycles = static_cast<std::int16_t>(*f.cycles);
            if (f.start) p.startTime = *f.start;
            if (f.window) p.window = WindowCode(*f.window);
            if (f.step) p.step = *f.step;
            if (f.item && !ReadSlidingItem(ui, *f.item, p.item)) return false;
            return true;
        }
        case kRowDft: {
            DFTParameters& p = r.dft;
            if (f.sliding) p.sliding = 1;
            if (f.single) p.sliding = 0;
            if (f.autoFundamental) p.autoFundamental = true;
            if (f.noAutoFundamental) p.autoFundamental = false;
            if (f.fundamental) p.fundamental = *f.fundamental;
            if (f.cycles) p.cycles = static_cast<std::int16_t>(*f.cycles);
            if (f.start) p.startTime = *f.start;
            if (f.lastHarmonic) p.lastHarmonic = static_cast<std::uint32_t>(*f.lastHarmonic);
            if (f.window) p.window = WindowCode(*f.window);
            if (f.step) p.step = *f.step;
            if (f.item) {
                int item = 0;
                if (!ReadSlidingItem(ui, *f.item, item)) return false;
                p.item = static_cast<std::uint32_t>(std::max(item, 0));
            }
            // An edit of the step or the item selects sliding in the dialog.
            if ((f.step || f.item) && !f.single) p.sliding = 1;
            return true;
        }
        case kRowIdft:
            if (f.cycles) r.idft.cycles = *f.cycles;
            if (f.series) r.idft.sine = EqualsNoCase(*f.series, "sine");
            return true;
        case kRowFilter: {
            static const char* types[] = {"high", "low", "band", "reject"};
            if (f.filter)
                for (int i = 0; i < 4; ++i)
                    if (EqualsNoCase(*f.filter, types[i])) r.filter.type = i;
            if (f.f1) r.filter.f1 = *f.f1;
            if (f.f2) r.filter.f2 = *f.f2;
            if (f.sections) r.filter.sections = *f.sections;
            return true;
        }
        case kRowTimeShift:
            if (f.shift) r.timeShift.shift = *f.shift;
            return true;
        case kRowSampling: {
            SamplingParameters s = r.sampling;
            if (f.by) s.byIndex = EqualsNoCase(*f.by, "index");
            if (f.startIndex) s.startIndex = *f.startIndex;
            if (f.stopIndex) s.stopIndex = *f.stopIndex;
            if (f.startValue) s.startValue = *f.startValue;
            if (f.stopValue) s.stopValue = *f.stopValue;
            if (f.sampleStep) {
                s.step = *f.sampleStep;
                s.byStep = true;
            }
            if (f.samplePoints) {
                s.points = *f.samplePoints;
                s.byStep = false;
            }
            if (!CheckSampling(ui, s)) return false;  // the sampling dialog's checks on OK
            r.sampling = s;
            return true;
        }
        case kRowProbDist:
            if (f.increment && !r.bins.SetIncrement(*f.increment)) {
                ui.MessageBox(str::kIncrementNotPositive, str::kShortProductName, Icon::Warning);
                return false;
            }
            return true;
        default:
            return true;
    }
}

void AddCalc(CLI::App& app, Context& context, int& status) {
    auto flags = std::make_shared<CalcFlags>();
    CalcFlags& f = *flags;
    std::string names;
    for (const OperationRow& row : OperationTable()) names += std::string("\"") + row.name + "\" ";
    auto* cmd = app.add_subcommand(
        "calc",
        "Run a calculator operation on stack items and push the result (case DERIVED), as the "
        "calculator's Do does. Option records keep their values for the rest of a script");
    cmd->add_option(
           "--op", f.op,
           "Operation, as the list shows it (a note in parentheses may be left out): " + names)
        ->required();
    cmd->add_option("--a", f.a, "First item: 1-based stack position or a glob over keys")
        ->required();
    cmd->add_option("--b", f.b, "Second item (curve mode)");
    cmd->add_option("--const", f.constant,
                    "Constant (constant mode: Add, Subtract, Multiply, "
                    "Divide)");
    cmd->add_option("--new-name", f.newName,
                    "Name parts P1,P2,P3,P4 (default: the first item's name parts; parts not "
                    "given are empty)");
    cmd->add_flag("--sliding", f.sliding, "FFT/DFT: sliding transform");
    cmd->add_flag("--single", f.single, "FFT/DFT: single transform");
    cmd->add_option("--fundamental", f.fundamental, "FFT/DFT: fundamental frequency, Hz");
    cmd->add_option("--cycles", f.cycles,
                    "FFT/DFT: cycles per window (negative: from the length); IDFT: cycles");
    cmd->add_option("--start", f.start, "FFT/DFT: starting time, s");
    cmd->add_option("--window", f.window, "FFT/DFT/Window Function: window type")
        ->check(CLI::IsMember({"rectangular", "hanning", "welsh", "bartlett"}, CLI::ignore_case));
    cmd->add_option("--step", f.step, "FFT/DFT: sliding step, s");
    cmd->add_option("--item", f.item, "FFT/DFT sliding output: harmonic N, rms, peak, cf or ff");
    cmd->add_flag("--auto-fundamental", f.autoFundamental, "DFT: find the fundamental first");
    cmd->add_flag("--no-auto-fundamental", f.noAutoFundamental,
                  "DFT: use the fundamental as given");
    cmd->add_option("--last-harmonic", f.lastHarmonic, "DFT: highest harmonic");
    cmd->add_option("--series", f.series, "IDFT: series type")
        ->check(CLI::IsMember({"sine", "cosine"}, CLI::ignore_case));
    cmd->add_option("--filter", f.filter, "Filter: type")
        ->check(CLI::IsMember({"high", "low", "band", "reject"}, CLI::ignore_case));
    cmd->add_option("--f1", f.f1, "Filter: F1, Hz");
    cmd->add_option("--f2", f.f2, "Filter: F2, Hz (band pass and band reject)");
    cmd->add_option("--sections", f.sections, "Filter: second-order sections");
    cmd->add_option("--shift", f.shift, "Time Shift: shift, s");
    cmd->add_option("--by", f.by, "Sampling: X range by index or by value")
        ->check(CLI::IsMember({"index", "value"}, CLI::ignore_case));
    cmd->add_option("--start-index", f.startIndex, "Sampling: start index");
    cmd->add_option("--stop-index", f.stopIndex, "Sampling: stop index");
    cmd->add_option("--start-value", f.startValue, "Sampling: start value");
    cmd->add_option("--stop-value", f.stopValue, "Sampling: stop value");
    auto* sampleStep = cmd->add_option("--sample-step", f.sampleStep, "Sampling: step size");
    auto* samplePoints =
        cmd->add_option("--sample-points", f.samplePoints, "Sampling: number of points");
    sampleStep->excludes(samplePoints);
    cmd->add_option("--increment", f.increment, "Prob Dist: bin increment (per unit)");
    AddSourceFlags(cmd, f.source, true);
    cmd->callback([&context, &status, flags] {
        const CalcFlags& f = *flags;
        status = LoadSource(context, f.source);
        if (status != 0) return;
        status = 1;
        int row = FindOperation(f.op);
        // "Negate" for "Negate (-X)": the name without its parenthesised note.
        for (int i = 0; row < 0 && i < kRowCount; ++i) {
            const std::string name = OperationTable()[static_cast<std::size_t>(i)].name;
            if (EqualsNoCase(Trim(name.substr(0, name.find(" ("))), f.op)) row = i;
        }
        if (row < 0) {
            context.err << "kov-cli: --op " << f.op << ": no such operation\n";
            return;
        }
        CalcRequest request;
        request.row = row;
        request.first = ResolveOne(context, f.a, "--a");
        if (!request.first) return;
        if (f.b) {
            request.second = ResolveOne(context, *f.b, "--b");
            if (!request.second) return;
            request.mode = OperandMode::Curve;
        }
        if (f.constant) {
            request.constant = *f.constant;
            if (!f.b) request.mode = OperandMode::Constant;
        }
        for (std::size_t i = 0; i < 4; ++i) request.nameParts[i] = request.first->namePart(i);
        if (f.newName) {
            std::string_view rest = *f.newName;
            for (std::size_t i = 0; i < 4; ++i) {
                const std::size_t comma = rest.find(',');
                request.nameParts[i] = std::string(rest.substr(0, comma));
                rest =
                    comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
            }
        }
        CalculatorRecords& records = RunCalculatorRecords();
        if (!ApplyOptions(context, f, row, records)) return;
        if (!DoCalculation(context.workbench.stack(), context.ui, request, records)) return;
        status = 0;
        PrintResult(context, f.source);
    });
}

// ---- units ----

struct UnitsFlags {
    SourceFlags source;
    std::vector<std::string> items;
    std::string axis = "y";
    std::optional<std::string> prefix, perUnit, base, factor;
    std::optional<int> unit;
};

void AddUnits(CLI::App& app, Context& context, int& status) {
    auto flags = std::make_shared<UnitsFlags>();
    UnitsFlags& f = *flags;
    auto* cmd = app.add_subcommand(
        "units",
        "Set the unit and the per-unit base of an axis of stack items, as the units dialogs' "
        "Apply does (items of another kind than the first are skipped)");
    cmd->add_option("--items", f.items, "Items: 1-based positions or globs over keys")
        ->required()
        ->expected(1, -1);
    cmd->add_option("--axis", f.axis, "Axis to edit")
        ->check(CLI::IsMember({"x", "y", "y2"}, CLI::ignore_case));
    cmd->add_option("--prefix", f.prefix, "Unit prefix")
        ->check(CLI::IsMember({"p", "n", "u", "m", "none", "k", "M", "G"}));
    cmd->add_option("--unit", f.unit, "Unit name id, 2121 (Magnitude,Mag,Mag) to 2145")
        ->check(CLI::Range(2121, 2145));
    cmd->add_option("--per-unit", f.perUnit, "Show the axis per unit")
        ->check(CLI::IsMember({"on", "off"}, CLI::ignore_case));
    cmd->add_option("--base", f.base, "Per-unit base value (typing it turns --per-unit on)");
    cmd->add_option("--factor", f.factor, "Per-unit base form factor")
        ->check(CLI::IsMember({"1", "sqrt2", "sqrt2/3"}));
    AddSourceFlags(cmd, f.source, true);
    cmd->callback([&context, &status, flags] {
        const UnitsFlags& f = *flags;
        status = LoadSource(context, f.source);
        if (status != 0) return;
        std::vector<StackObject*> selection;
        for (const std::string& sel : f.items) {
            const std::vector<StackObject*> found = Resolve(context.workbench.stack(), sel);
            if (found.empty()) {
                context.err << "kov-cli: --items " << sel << ": no such stack item\n";
                status = 1;
                return;
            }
            for (StackObject* item : found)
                if (std::find(selection.begin(), selection.end(), item) == selection.end())
                    selection.push_back(item);
        }
        // The units dialog: only items of the first item's kind stay selected.
        const std::size_t axis = EqualsNoCase(f.axis, "x") ? 0 : EqualsNoCase(f.axis, "y") ? 1 : 2;
        if (axis >= AxisCountOf(*selection.front())) {
            context.err << "kov-cli: --axis " << f.axis << ": the item has no such axis\n";
            status = 1;
            return;
        }
        if (f.prefix || f.unit) {
            UnitsEditor editor;
            editor.Load(selection.front());
            editor.ChooseAxis(axis);
            if (f.prefix) {
                static const char* letters[] = {"p", "n", "u", "m", "none", "k", "M", "G"};
                for (std::uint16_t i = 0; i < 8; ++i)
                    if (*f.prefix == letters[i])
                        editor.ChoosePrefix(static_cast<std::uint16_t>(kPrefixPico + i));
            }
            if (f.unit) editor.ChooseUnit(*f.unit - kFirstUnitId);
            editor.Apply(context.ui, selection);
        }
        if (f.perUnit || f.base || f.factor) {
            PerUnitEditor editor;
            editor.Load(selection.front());
            editor.ChooseAxis(axis, editor.Show());
            PerUnitEditor::Shown shown = editor.Show();
            if (f.base) {
                shown.baseText = *f.base;
                PerUnitEditor::BaseTyped(shown);
            }
            if (f.perUnit) shown.perUnitize = EqualsNoCase(*f.perUnit, "on");
            if (f.factor) shown.factor = *f.factor == "1" ? 0 : *f.factor == "sqrt2" ? 1 : 2;
            editor.Apply(context.ui, selection, shown);
        }
        status = 0;
        PrintResult(context, f.source);
    });
}

}  // namespace

void AddAnalysisCommands(CLI::App& app, Context& context, int& status) {
    AddExpr(app, context, status);
    AddCalc(app, context, status);
    AddUnits(app, context, status);
}

}  // namespace kov::cli
