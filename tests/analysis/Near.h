#pragma once
// The one tolerance rule of the analysis tests: |actual - expected| within
// rel x |expected|, or within rel itself when expected is 0.

#include <gtest/gtest.h>

#include <cmath>

namespace kov::test {

inline ::testing::AssertionResult NearRel(double actual, double expected, double rel = 1e-9) {
    const double allowed = expected == 0.0 ? rel : rel * std::fabs(expected);
    if (std::fabs(actual - expected) <= allowed) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "actual " << actual << ", expected " << expected
                                         << " (relative tolerance " << rel << ")";
}

}  // namespace kov::test
