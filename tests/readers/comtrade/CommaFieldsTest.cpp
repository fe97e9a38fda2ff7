// The comma-field tokenizer and its lenient number conversions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "readers/CommaFields.h"

namespace kov {
namespace {

std::vector<std::string> Split(std::string_view line) {
    std::vector<std::string> out;
    CommaFields f(line);
    std::string_view v;
    while (f.Next(v)) out.emplace_back(v);
    return out;
}

TEST(CommaFields, SplitsAtCommasOnlyAndKeepsLeadingBlanks) {
    EXPECT_EQ(Split("a, b ,c d"), (std::vector<std::string>{"a", " b", "c d"}));
    EXPECT_EQ(Split("1\t2;3"), (std::vector<std::string>{"1\t2;3"}));
}

TEST(CommaFields, EmptyFieldsAreEmptyStrings) {
    EXPECT_EQ(Split("a,,b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(Split(",,"), (std::vector<std::string>{"", "", ""}));
}

TEST(CommaFields, FieldAfterTrailingCommaComesBackEmpty) {
    EXPECT_EQ(Split("a,b,\r\n"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(Split("a,b,"), (std::vector<std::string>{"a", "b", ""}));
}

TEST(CommaFields, LineEndsAtCrOrLf) {
    EXPECT_EQ(Split("x,y\r\nz,w"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(Split("x,y\rz"), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(Split("x\n"), (std::vector<std::string>{"x"}));
}

TEST(CommaFields, EmptyLineHasNoField) {
    EXPECT_TRUE(Split("").empty());
    EXPECT_TRUE(Split("\r\n").empty());
    CommaFields f("");
    double target = 7.0;
    EXPECT_FALSE(f.NextReal(target));
    EXPECT_EQ(target, 7.0);  // an absent field leaves its target alone
}

TEST(CommaFields, NextRealAndIntegerConvertLeniently) {
    CommaFields f("1.5e3, -42x,abc,,7");
    double r = -1;
    std::int64_t i = -1;
    ASSERT_TRUE(f.NextReal(r));
    EXPECT_EQ(r, 1500.0);
    ASSERT_TRUE(f.NextInteger(i));
    EXPECT_EQ(i, -42);
    ASSERT_TRUE(f.NextReal(r));
    EXPECT_EQ(r, 0.0);
    ASSERT_TRUE(f.NextInteger(i));
    EXPECT_EQ(i, 0);
    ASSERT_TRUE(f.Skip());
    EXPECT_TRUE(f.AtEnd());
    EXPECT_FALSE(f.Skip());
}

TEST(CommaFields, FieldToRealReadsTheLeadingNumber) {
    EXPECT_EQ(FieldToReal("  0.027621359"), 0.027621359);
    EXPECT_EQ(FieldToReal("+.5"), 0.5);
    EXPECT_EQ(FieldToReal("5."), 5.0);
    EXPECT_EQ(FieldToReal("-3.40282347E+38"), -3.40282347e38);
    EXPECT_EQ(FieldToReal("12e"), 12.0);  // no exponent digits: not an exponent
    EXPECT_EQ(FieldToReal("1200Hz"), 1200.0);
    EXPECT_EQ(FieldToReal("e5"), 0.0);
    EXPECT_EQ(FieldToReal("."), 0.0);
    EXPECT_EQ(FieldToReal("nan"), 0.0);
    EXPECT_EQ(FieldToReal("inf"), 0.0);
    EXPECT_EQ(FieldToReal("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(FieldToReal("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(FieldToReal("1e-999"), 0.0);
}

TEST(CommaFields, FieldToIntegerReadsLeadingDigitsAndSaturates) {
    EXPECT_EQ(FieldToInteger(" 933"), 933);
    EXPECT_EQ(FieldToInteger("-7.9"), -7);
    EXPECT_EQ(FieldToInteger("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(FieldToInteger("x1"), 0);
    EXPECT_TRUE(FieldIsNumber(" -1"));
    EXPECT_FALSE(FieldIsNumber("-"));
    EXPECT_EQ(TrimField(" \tab c \t"), "ab c");
}

}  // namespace
}  // namespace kov
