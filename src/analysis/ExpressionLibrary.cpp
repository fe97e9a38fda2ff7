#include "analysis/ExpressionLibrary.h"

#include <muParser.h>

#include <algorithm>
#include <cmath>

#include "platform/Text.h"

namespace kov {

namespace {

// Domain errors of the checked functions, recorded during an evaluation.
thread_local int domainError = 0;

double Checked(int code, bool bad, double value) {
    if (bad && domainError == 0) domainError = code;
    return value;
}
double Sqrt(double v) {
    return Checked(17, v < 0, std::sqrt(v));
}
double Log2(double v) {
    return Checked(18, v <= 0, std::log2(v));
}
double Log10(double v) {
    return Checked(19, v <= 0, std::log10(v));
}
double Ln(double v) {
    return Checked(20, v <= 0, std::log(v));
}
double Asin(double v) {
    return Checked(21, v < -1 || v > 1, std::asin(v));
}
double Acos(double v) {
    return Checked(22, v < -1 || v > 1, std::acos(v));
}
double Acosh(double v) {
    return Checked(28, v < 1, std::acosh(v));
}
double Atanh(double v) {
    return Checked(29, v <= -1 || v >= 1, std::atanh(v));
}
double Atn(double v) {
    return std::atan(v);
}
double Step(double x, double val) {
    return x >= val ? 1.0 : 0.0;
}

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

ExpressionLibrary::ExpressionLibrary() = default;
ExpressionLibrary::~ExpressionLibrary() = default;

std::string ExpressionLibrary::ErrorText(int code, const std::string& data) {
    switch (code) {
        case 1:
            return data;
        case 2:
            return "Mismatched parenthesis";
        case 3:
            return "Undefined variable: " + data;
        case 4:
            return "Invalid binary number";
        case 5:
            return "Invalid octal number";
        case 6:
            return "Invalid hexadecimal number";
        case 7:
            return "Factorial overflow";
        case 8:
            return "Mismatched quotes";
        case 9:
            return "Invalid expression";
        case 10:
            return "Definition space is full";
        case 11:
            return "Undefined function: " + data;
        case 12:
            return "Invalid number of function arguments for " + data;
        case 13:
            return "Incorrect argument type for " + data;
        case 14:
            return "Division by 0";
        case 15:
            return "Integer division by 0 (with \\ or DIV)";
        case 16:
            return "Invalid exponent value";
        case 17:
            return "Invalid value for SQR";
        case 18:
            return "Invalid value for LOG2";
        case 19:
            return "Invalid value for LOG10";
        case 20:
            return "Invalid value for LOG or LN";
        case 21:
            return "Invalid value for ASIN";
        case 22:
            return "Invalid value for ACOS";
        case 23:
            return "Invalid value for SEC";
        case 24:
            return "Invalid value for CSC";
        case 25:
            return "Invalid value for COT";
        case 26:
            return "Invalid value for COTH";
        case 27:
            return "Invalid value for CSCH";
        case 28:
            return "Invalid value for ACOSH";
        case 29:
            return "Invalid value for ATANH";
        case 30:
            return "Invalid value for ACOTH";
        case 31:
            return "Invalid value for ASECH";
        case 32:
            return "Invalid value for ACSCH";
        case 501:
            return "UCalc DLL was not loaded";
        default:
            return "";
    }
}

void ExpressionLibrary::Fail(int code, std::string data) {
    error_ = code;
    errorData_ = std::move(data);
}

std::unique_ptr<mu::Parser> ExpressionLibrary::NewParser() {
    auto parser = std::make_unique<mu::Parser>();
    // Checked versions replace muparser's own so domain errors are reported.
    parser->DefineFun("sqrt", Sqrt);
    parser->DefineFun("log2", Log2);
    parser->DefineFun("log10", Log10);
    parser->DefineFun("log", Ln);
    parser->DefineFun("ln", Ln);
    parser->DefineFun("asin", Asin);
    parser->DefineFun("acos", Acos);
    parser->DefineFun("acosh", Acosh);
    parser->DefineFun("atanh", Atanh);
    parser->DefineFun("atn", Atn);
    if (stepDefined_) parser->DefineFun("step", Step);
    for (auto& [name, value] : variables_) parser->DefineVar(name, &value);
    return parser;
}

ExpressionLibrary::Handle ExpressionLibrary::Compile(const std::string& expression,
                                                     mu::Parser*& out) {
    auto parser = NewParser();
    try {
        parser->SetExpr(expression);
        parser->Eval();  // parses; also catches what only shows when evaluated once
    } catch (const mu::Parser::exception_type& e) {
        const std::string token = e.GetToken();
        switch (e.GetCode()) {
            case mu::ecUNEXPECTED_PARENS:
            case mu::ecMISSING_PARENS:
                Fail(2);
                break;
            case mu::ecUNASSIGNABLE_TOKEN: {
                // An unknown name: a function when "(" follows it.
                const auto pos = static_cast<std::size_t>(e.GetPos());
                std::size_t end = pos;
                while (end < expression.size() && IsNameChar(expression[end])) ++end;
                const std::string name = expression.substr(pos, end - pos);
                std::size_t next = end;
                while (next < expression.size() && expression[next] == ' ') ++next;
                if (next < expression.size() && expression[next] == '(')
                    Fail(11, name);
                else
                    Fail(3, name.empty() ? token : name);
                break;
            }
            case mu::ecTOO_MANY_PARAMS:
            case mu::ecTOO_FEW_PARAMS:
                Fail(12, token);
                break;
            case mu::ecUNTERMINATED_STRING:
                Fail(8);
                break;
            case mu::ecUNEXPECTED_EOF:
            case mu::ecUNEXPECTED_OPERATOR:
            case mu::ecUNEXPECTED_ARG_SEP:
            case mu::ecUNEXPECTED_ARG:
            case mu::ecUNEXPECTED_VAL:
            case mu::ecUNEXPECTED_VAR:
            case mu::ecUNEXPECTED_FUN:
            case mu::ecVAL_EXPECTED:
                Fail(9);
                break;
            default:
                Fail(1, e.GetMsg());
                break;
        }
        return 0;
    }
    out = parser.get();
    expressions_.push_back(std::move(parser));
    return static_cast<Handle>(expressions_.size());
}

ExpressionLibrary::Handle ExpressionLibrary::DefineVariable(const std::string& definition) {
    Fail(0);
    const auto eq = definition.find('=');
    const std::string name = Trim(definition.substr(0, eq));
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameChar)) {
        Fail(9);
        return 0;
    }
    double value = 0.0;
    if (eq != std::string::npos) {
        mu::Parser* parser = nullptr;
        if (Compile(definition.substr(eq + 1), parser) == 0) return 0;
        value = Evaluate(static_cast<Handle>(expressions_.size()));
        expressions_.pop_back();
        if (error_ != 0) return 0;
    }
    variables_.emplace_back(name, value);
    return static_cast<Handle>(variables_.size());
}

ExpressionLibrary::Handle ExpressionLibrary::DefineFunction(const std::string& definition) {
    Fail(0);
    std::string compact;
    for (char c : definition)
        if (c != ' ') compact += ToLowerAscii(c);
    if (compact != "step(x,val)=iif(x>=val,1,0)") {
        Fail(9);
        return 0;
    }
    stepDefined_ = true;
    return 1;
}

ExpressionLibrary::Handle ExpressionLibrary::Parse(const std::string& expression) {
    Fail(0);
    mu::Parser* parser = nullptr;
    return Compile(expression, parser);
}

void ExpressionLibrary::SetVariableValue(Handle variable, double value) {
    Fail(0);
    if (variable < 1 || static_cast<std::size_t>(variable) > variables_.size()) {
        Fail(9);
        return;
    }
    variables_[static_cast<std::size_t>(variable) - 1].second = value;
}

double ExpressionLibrary::Evaluate(Handle expression) {
    Fail(0);
    if (expression < 1 || static_cast<std::size_t>(expression) > expressions_.size()) {
        Fail(9);
        return 0.0;
    }
    domainError = 0;
    double value = 0.0;
    try {
        value = expressions_[static_cast<std::size_t>(expression) - 1]->Eval();
    } catch (const mu::Parser::exception_type& e) {
        Fail(1, e.GetMsg());
        return 0.0;
    }
    if (domainError != 0)
        Fail(domainError);
    else if (std::isinf(value))
        Fail(14);
    return value;
}

void ExpressionLibrary::Reset() {
    expressions_.clear();
    variables_.clear();
    stepDefined_ = false;
    Fail(0);
}

}  // namespace kov
