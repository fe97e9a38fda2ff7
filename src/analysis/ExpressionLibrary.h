#pragma once
// The expression library behind the Expression Evaluator: formulas of one
// variable x, parsed and evaluated by muparser. Its interface follows the
// calls the evaluator makes (define a variable, define a function, parse,
// set a value, evaluate, read the last error, reset), and its errors are
// reported as the evaluator's error codes:
//   1  the library's own text            12 "Invalid number of function arguments for " + symbol
//   2  "Mismatched parenthesis"           14 "Division by 0"
//   3  "Undefined variable: " + symbol    17 "Invalid value for SQR"
//   8  "Mismatched quotes"                18-22 LOG2, LOG10, LOG or LN, ASIN, ACOS
//   9  "Invalid expression"               28, 29 ACOSH, ATANH
//   11 "Undefined function: " + symbol
// (ErrorText gives every code's text.)

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace mu {
class Parser;
}

namespace kov {

class ExpressionLibrary {
public:
    ExpressionLibrary();
    ~ExpressionLibrary();
    ExpressionLibrary(const ExpressionLibrary&) = delete;
    ExpressionLibrary& operator=(const ExpressionLibrary&) = delete;

    using Handle = int;  // 0 when the call failed

    // "x" defines a variable; "pi = atn(1) * 4" defines one with the value
    // of the expression after "=".
    Handle DefineVariable(const std::string& definition);
    // "step(x,val)=iif(x>=val,1,0)" defines the unit step; functions are
    // built in, so a definition of any other function is refused (error 9).
    Handle DefineFunction(const std::string& definition);
    Handle Parse(const std::string& expression);
    void SetVariableValue(Handle variable, double value);
    double Evaluate(Handle expression);

    // Code of the last call's error (0 for none) and its symbol or own text.
    int GetError() const { return error_; }
    const std::string& GetErrorData() const { return errorData_; }
    // The message of the last error, as the evaluator shows it.
    std::string ErrorMessage() const { return ErrorText(error_, errorData_); }
    // Forgets every definition and parsed expression.
    void Reset();

    static std::string ErrorText(int code, const std::string& data);

private:
    std::unique_ptr<mu::Parser> NewParser();
    void Fail(int code, std::string data = {});
    Handle Compile(const std::string& expression, mu::Parser*& parser);

    std::deque<std::pair<std::string, double>> variables_;  // stable addresses for muparser
    std::vector<std::unique_ptr<mu::Parser>> expressions_;
    bool stepDefined_ = false;
    int error_ = 0;
    std::string errorData_;
};

}  // namespace kov
