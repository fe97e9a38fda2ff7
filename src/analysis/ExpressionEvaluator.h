#pragma once
// "&Do" of the Expression Evaluator as a core function: a new stack item made
// from formulas of x over a range. The dialog (or kov-cli) keeps the settings
// as typed texts and calls DoExpression, which rewrites the four range fields.

#include <string>

namespace kov {

class ExpressionLibrary;
class Stack;
class StackObject;
class Ui;

enum class ExpressionKind { Wave, Spectrum, Scan, XY, Probability, Histogram };

// "WAVE", "SPEC", "SCAN", "XY", "PROB", "HIST".
const char* ExpressionKindTag(ExpressionKind kind);
// Spectrum, scan and X-Y items use the second expression (phase or second y).
bool UsesSecondExpression(ExpressionKind kind);

// The settings of the dialog, kept for the whole run (start values as below).
struct ExpressionSettings {
    std::string name = "expr";
    std::string first = "sin(377 * x)";
    std::string second = "0";
    std::string xmin = "0";
    std::string xmax = "100";
    std::string step = "1";
    std::string points = "101";
    bool byStep = true;     // spacing by step size; false: by number of points
    bool realImag = false;  // complex numbers as Real/Imag; false: Mag/Phase
    bool degrees = true;    // phase output in degrees; false: radians
    ExpressionKind kind = ExpressionKind::Wave;
};
ExpressionSettings& RunExpressionSettings();

// Steps 1-9: trims the texts; checks the name (blank, longer than 64, in use
// with case "EXPRESSION") and the range (Xmax above Xmin, step above 0 or at
// least 2 points), rewriting Xmin, Xmax and the step with "%G" and the points
// with "%ld"; defines x, pi and step(x,val); parses; evaluates at
// x_0 = Xmin, x_{i+1} = x_i + step in single precision (the first evaluation
// error is shown once, title "Warning", and the run goes on); converts phases
// (degrees / 57.29578) or Real/Imag to magnitude and phase; pushes the item,
// named (case "EXPRESSION", name, "", "", "", kind tag). Resets the library
// in every case. Returns the pushed item or nullptr.
StackObject* DoExpression(Stack& stack, Ui& ui, ExpressionSettings& settings,
                          ExpressionLibrary& library);

}  // namespace kov
