// The expression library: predefined names, evaluation and error codes.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/ExpressionLibrary.h"

namespace kov {
namespace {

class ExpressionLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        x = lib.DefineVariable("x");
        ASSERT_NE(x, 0);
        ASSERT_NE(lib.DefineVariable("pi = atn(1) * 4"), 0);
        ASSERT_NE(lib.DefineFunction("step(x,val)=iif(x>=val,1,0)"), 0);
    }
    double At(const std::string& expression, double value) {
        const auto e = lib.Parse(expression);
        EXPECT_NE(e, 0) << lib.ErrorMessage();
        lib.SetVariableValue(x, value);
        return lib.Evaluate(e);
    }
    // The message a failed parse leaves.
    std::string ParseError(const std::string& expression) {
        EXPECT_EQ(lib.Parse(expression), 0) << expression;
        return lib.ErrorMessage();
    }
    ExpressionLibrary lib;
    ExpressionLibrary::Handle x = 0;
};

TEST_F(ExpressionLibraryTest, PredefinedNamesAndEvaluation) {
    EXPECT_DOUBLE_EQ(At("pi", 0), std::numbers::pi);
    EXPECT_DOUBLE_EQ(At("sin(377 * x)", 0.01), std::sin(3.77));
    EXPECT_EQ(At("step(x,0.5)", 0.49), 0.0);
    EXPECT_EQ(At("step(x,0.5)", 0.5), 1.0);
    EXPECT_EQ(At("2^3 + x", 1), 9.0);
    EXPECT_EQ(lib.GetError(), 0);
}

TEST_F(ExpressionLibraryTest, ParseErrorsHaveTheirCodesAndTexts) {
    EXPECT_EQ(ParseError("sin(x"), "Mismatched parenthesis");
    EXPECT_EQ(lib.GetError(), 2);
    EXPECT_EQ(ParseError("volts * 2"), "Undefined variable: volts");
    EXPECT_EQ(ParseError("foo(x) + 1"), "Undefined function: foo");
    EXPECT_EQ(lib.GetError(), 11);
    EXPECT_EQ(ParseError("step(x)"), "Invalid number of function arguments for step");
    EXPECT_EQ(ParseError("2 +"), "Invalid expression");
}

TEST_F(ExpressionLibraryTest, EvaluationErrorsKeepRunning) {
    EXPECT_TRUE(std::isnan(At("sqrt(x)", -1)));
    EXPECT_EQ(lib.ErrorMessage(), "Invalid value for SQR");
    At("1 / x", 0);
    EXPECT_EQ(lib.ErrorMessage(), "Division by 0");
    At("log10(x)", 0);
    EXPECT_EQ(lib.GetError(), 19);
    EXPECT_EQ(At("sqrt(x)", 4), 2.0);
    EXPECT_EQ(lib.GetError(), 0);
}

TEST_F(ExpressionLibraryTest, ResetForgetsDefinitions) {
    lib.Reset();
    EXPECT_EQ(lib.Parse("x + 1"), 0);
    EXPECT_EQ(lib.GetError(), 3);
    EXPECT_EQ(lib.DefineFunction("twice(x)=2*x"), 0);
    EXPECT_EQ(ExpressionLibrary::ErrorText(501, ""), "UCalc DLL was not loaded");
    EXPECT_EQ(ExpressionLibrary::ErrorText(77, ""), "");
}

}  // namespace
}  // namespace kov
