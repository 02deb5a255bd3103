#include "app/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace {

struct ParseCase {
    const wchar_t* text;
    std::optional<double> expected;
};

TEST(NumberTextTest, ParsesTheLongestLeadingDecimalNumber) {
    const ParseCase cases[] = {
        {L"200", 200.0},
        {L"12,5", 12.0},          // a decimal comma ends the number
        {L"7 mm", 7.0},
        {L"  \t-3.5", -3.5},
        {L"+.25", 0.25},
        {L"5.", 5.0},
        {L"1e3", 1000.0},
        {L"2.5E-1x", 0.25},
        {L"1e", 1.0},             // an exponent without digits is not part of the number
        {L"1e+", 1.0},
        {L"3.175.2", 3.175},
        {L"0x10", 0.0},           // no hexadecimal
        {L"1e-400", 0.0},         // too small to hold
        {L"", std::nullopt},
        {L"abc", std::nullopt},
        {L",", std::nullopt},
        {L".", std::nullopt},
        {L"-", std::nullopt},
        {L"+-5", std::nullopt},
        {L"e5", std::nullopt},
        {L"inf", std::nullopt},
        {L"nan", std::nullopt},
        {L"1e999", std::nullopt}, // too large to be a length
        {L"\x0662", std::nullopt},  // digits of other scripts are not decimal digits here
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "text #" << (&c - cases));
        const std::optional<double> parsed = parseLeadingNumber(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value());
        if (parsed) {
            EXPECT_DOUBLE_EQ(*parsed, *c.expected);
        }
    }
}

TEST(NumberTextTest, ParsesTheLeadingInteger) {
    const struct {
        const wchar_t* text;
        std::optional<int32_t> expected;
    } cases[] = {
        {L"3", 3},
        {L" +7abc", 7},
        {L"-2", -2},
        {L"10", 10},
        {L"4.9", 4},
        {L"99999999999", 2147483647},
        {L"-99999999999", -2147483647 - 1},
        {L"", std::nullopt},
        {L"x1", std::nullopt},
        {L"- 1", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text #" << (&c - cases));
        EXPECT_EQ(parseLeadingInteger(c.text), c.expected);
    }
}

TEST(NumberTextTest, FormatsWithFourDecimalsAndNoTrailingZeros) {
    const struct {
        double value;
        const wchar_t* expected;
    } cases[] = {
        {200.0, L"200"},
        {0.15, L"0.15"},
        {3.175, L"3.175"},
        {150.0 / 25.4, L"5.9055"},
        {0.15 / 25.4, L"0.0059"},
        {200.0 / 25.4, L"7.874"},
        {7.874 * 25.4, L"199.9996"},
        {0.0, L"0"},
        {10.0, L"10"},           // zeros before the point stay
        {0.00004, L"0"},
        {-0.00004, L"0"},        // never "-0"
        {-2.5, L"-2.5"},
        {1234567.89, L"1234567.89"},
        {0.99999, L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value);
        EXPECT_EQ(formatPanelNumber(c.value), c.expected);
    }
}

TEST(NumberTextTest, WhatIsWrittenReadsBackWithinHalfTheLastDecimal) {
    for (double value : {0.1, 3.175, 12.0, 199.9996, 0.0059, 987.65432}) {
        const std::optional<double> back = parseLeadingNumber(formatPanelNumber(value));
        ASSERT_TRUE(back.has_value());
        EXPECT_LE(std::abs(*back - value), 0.00005) << value;
    }
}

}  // namespace
