// The Expression Evaluator's Do: checks, range write-back, kinds and phases.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analysis/ExpressionEvaluator.h"
#include "analysis/ExpressionLibrary.h"
#include "analysis/SpectrumStackObject.h"
#include "platform/RecordingUi.h"
#include "stack/Stack.h"

namespace kov {
namespace {

class ExpressionDo : public ::testing::Test {
protected:
    PlotableStackObject* Do() {
        return dynamic_cast<PlotableStackObject*>(DoExpression(stack, ui, settings, library));
    }
    RecordingUi ui;
    Stack stack{ui};
    ExpressionLibrary library;
    ExpressionSettings settings;
};

TEST_F(ExpressionDo, DefaultsMakeAWaveformOfSin377x) {
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr) << ui.LastText();
    EXPECT_EQ(item->kind(), kKindWave);
    EXPECT_EQ(item->caseName(), "EXPRESSION");
    EXPECT_EQ(item->namePart1(), "expr");
    EXPECT_EQ(item->typeTag(), "WAVE");
    ASSERT_EQ(item->pointCount(), 101u);
    EXPECT_EQ(item->xValues[100], 100.0f);
    EXPECT_NEAR(item->yValues[3], std::sin(377.0 * 3), 1e-6);
    EXPECT_FALSE(item->y2Values);
    EXPECT_TRUE(ui.messages.empty());
    // The same name again is taken.
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Name is already in use");
    EXPECT_EQ(ui.messages.back().caption, "Error");
    EXPECT_EQ(ui.messages.back().icon, Icon::Error);
}

TEST_F(ExpressionDo, RangeFieldsAreRewritten) {
    settings.xmin = " 0 ";
    settings.xmax = "1";
    settings.step = "0.3";
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->pointCount(), 4u);
    EXPECT_EQ(settings.step, "0.3");
    EXPECT_EQ(settings.points, "4");
    EXPECT_EQ(settings.xmin, "0");

    settings.name = "pts";
    settings.byStep = false;
    settings.points = "11";
    item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->pointCount(), 11u);
    EXPECT_EQ(settings.step, "0.1");
}

TEST_F(ExpressionDo, SpectrumPhaseInDegreesIsStoredInRadians) {
    settings.kind = ExpressionKind::Spectrum;
    settings.first = "1";
    settings.second = "90";
    settings.xmax = "10";
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->typeTag(), "SPEC");
    ASSERT_TRUE(item->y2Values);
    for (std::size_t i = 0; i < item->pointCount(); ++i) {
        EXPECT_EQ(item->yValues[i], 1.0f);
        EXPECT_NEAR(item->y2Values[i], std::numbers::pi / 2, 1e-6);
    }
    // Real/Imag: (0, 2) is 2 at 90 degrees whatever the phase unit.
    settings.name = "ri";
    settings.realImag = true;
    settings.first = "0";
    settings.second = "2";
    item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->yValues[0], 2.0f);
    EXPECT_NEAR(item->y2Values[0], std::numbers::pi / 2, 1e-6);
}

TEST_F(ExpressionDo, StepAndPiArePredefined) {
    settings.first = "step(x,0.5) * pi";
    settings.xmax = "1";
    settings.step = "0.25";
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->yValues[1], 0.0f);
    EXPECT_FLOAT_EQ(item->yValues[2], static_cast<float>(std::numbers::pi));
}

TEST_F(ExpressionDo, NameAndRangeMessages) {
    settings.name = "  ";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "The Name may not be left blank.");
    settings.name = std::string(65, 'n');
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "The Name can only be 64 characters long");
    settings.name = std::string(64, 'n');
    settings.xmax = "0";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Xmax must be greater than Xmin");
    settings.xmax = "1";
    settings.step = "0";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "X Step must be greater than zero");
    settings.byStep = false;
    settings.points = "1";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Number of Points must be at least 2");
    settings.points = "3";
    ASSERT_NE(Do(), nullptr);
    EXPECT_EQ(stack.size(), 1u);
}

TEST_F(ExpressionDo, ParseErrorsBlockAndEvaluationErrorsWarnOnce) {
    settings.first = "sin(x";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Mismatched parenthesis");
    EXPECT_EQ(ui.messages.back().caption, "Error");
    // The library is reset after every Do: definitions do not pile up.
    settings.first = "sqrt(x - 50)";
    ui.messages.clear();
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Invalid value for SQR");
    EXPECT_EQ(ui.messages[0].caption, "Warning");
    EXPECT_EQ(ui.messages[0].icon, Icon::None);
    EXPECT_EQ(item->yValues[54], 2.0f);
    settings.name = "two";
    settings.kind = ExpressionKind::XY;
    settings.second = "volts";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Undefined variable: volts");
}

TEST_F(ExpressionDo, WholeCountsOfStepsSurviveRoundingAndHugeCountsAreRefused) {
    settings.xmax = "0.3";
    settings.step = "0.1";  // 0.3 / 0.1 is 2.9999999999999996 in doubles
    PlotableStackObject* item = Do();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->pointCount(), 4u);
    settings.name = "huge";
    settings.xmax = "100";
    settings.step = "1e-9";
    EXPECT_EQ(Do(), nullptr);
    EXPECT_EQ(ui.LastText(), "Too many points: at most 100000000 can be made.");
}

}  // namespace
}  // namespace kov
