// SPDX-License-Identifier: MIT
#include "controls/edit/EditValue.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

using namespace vx::edit;

namespace {

constexpr long double Inf = HUGE_VALL;

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text) {
        out += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return out;
}

// A number of `units` code units, for the length limits.
std::u16string Padded(std::u16string_view tail, std::size_t units, char16_t pad) {
    return std::u16string(units - tail.size(), pad) + std::u16string(tail);
}

} // namespace

TEST(ParseIntegerText, Table) {
    struct Case {
        std::u16string text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {u"1,234,567", 1234567},
        {u"42", 42},
        {u"-0", 0},
        {u",,,", 0},
        {u"-", 0},
        {u"-2147483648", -2147483647 - 1},
        {u"2147483648", -2147483647 - 1}, // digits wrap modulo 2^32
        {u"4294967296", 0},
        {Padded(u"42", 32, u','), 42},
        {u"", InvalidInteger},
        {u",-5", InvalidInteger},
        {u"5-", InvalidInteger},
        {u"--5", InvalidInteger},
        {u" 5", InvalidInteger},
        {u"12a", InvalidInteger},
        {u"1.0", InvalidInteger},
        {u"\uFF11", InvalidInteger}, // full-width one
        {u"-2147483647", InvalidInteger},
        {Padded(u"1,234,567", 33, u','), InvalidInteger},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIntegerText(c.text), c.expected) << Narrow(c.text);
    }
}

TEST(ParseRealText, Table) {
    struct Case {
        std::u16string text;
        long double expected;
    };
    const Case cases[] = {
        {u"1,234.5", 1234.5L},
        {u"1,2,3.4,5", static_cast<long double>(123.45)},
        {u"0.1", static_cast<long double>(0.1)}, // through double, not read as extended
        {u" 5", 5.0L},
        {u"\t\n 7", 7.0L},
        {u"12abc", 12.0L},
        {u"abc", 0.0L},
        {u"-", 0.0L},
        {u"+2", 2.0L},
        {u"+-2", 0.0L},
        {u".5", 0.5L},
        {u"5.", 5.0L},
        {u"-.5e1x", -5.0L},
        {u"1e3", 1000.0L},
        {u"1e", 1.0L},
        {u"1e+", 1.0L},
        {u"inf", 0.0L}, // decimal numbers only
        {u"nan", 0.0L},
        {u"0x1p3", 0.0L},
        {u"\uFF15", 0.0L}, // full-width five
        {u"1e400", Inf},
        {u"-1e400", -Inf},
        {u"1e-400", 0.0L},
        {u"1e-4932", 0.0L}, // even near the marker, parsing gives no InvalidReal
        {Padded(u"1", 64, u' '), 1.0L},
        {u"", InvalidReal},
        {Padded(u"1", 65, u' '), InvalidReal},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseRealText(c.text), c.expected) << Narrow(c.text);
    }
}

TEST(RoundValue, Table) {
    struct Case {
        long double x;
        TEditRound mode;
        long double expected;
    };
    const auto Revalue = TEditRound::Revalue;
    const auto Omit = TEditRound::Omit;
    const auto Round = TEditRound::Round;
    const Case cases[] = {
        {2.1L, Revalue, 3.0L},
        {-2.1L, Revalue, -2.0L},
        {3.0L, Revalue, 3.0L},
        {static_cast<long double>(1.1) * 100, Revalue, 111.0L}, // the stored excess counts
        {-2.9999999L, Revalue, -3.0L}, // negative values read the rendering
        {2.9L, Omit, 2.0L},
        {-2.9L, Omit, -2.0L},
        {2.9999999L, Omit, 3.0L},
        {-2.9999999L, Omit, -3.0L},
        {2.5L, Round, 3.0L},
        {2.4L, Round, 2.0L},
        {-2.5L, Round, -3.0L},
        {-2.4L, Round, -2.0L},
        {-2.7L, Round, -3.0L},
        {2.4999996L, Round, 3.0L},
        {static_cast<long double>(2.675) * 100, Round, 268.0L},
        {2.7L, static_cast<TEditRound>(7), 2.7L},
        {1e20L, Omit, 1e20L}, // beyond 2^63 values are integers
        {Inf, Round, Inf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundValue(c.x, c.mode), c.expected)
            << static_cast<double>(c.x) << " mode " << static_cast<int>(c.mode);
    }
}

TEST(FormatReal, Table) {
    struct Case {
        long double value;
        int digits;
        TEditRound mode;
        bool strip;
        std::u16string expected;
    };
    const auto Revalue = TEditRound::Revalue;
    const auto Omit = TEditRound::Omit;
    const auto Round = TEditRound::Round;
    // Values arrive through double, as from ParseRealText.
    auto d = [](double v) { return static_cast<long double>(v); };
    const Case cases[] = {
        {d(1234567.891), 2, Omit, true, u"1234567.89"},
        {d(2.5), 2, Omit, true, u"2.5"},
        {d(3), 2, Omit, true, u"3"},
        {d(0.125), 2, Omit, true, u"0.12"},
        {d(0.004), 2, Omit, true, u"0"},
        {d(-1.239), 2, Omit, true, u"-1.23"},
        {d(12.999), 2, Omit, true, u"12.99"},
        {d(100), 2, Omit, true, u"100"},
        {d(10.5), 2, Omit, false, u"10.50"},
        // The decisions follow the six-decimal rendering, not the stored value.
        {d(2.675), 2, Round, true, u"2.68"},
        {d(1.005), 2, Round, true, u"1.01"},
        {d(1.1), 2, Revalue, true, u"1.11"},
        {d(1.005), 2, Omit, true, u"1"},
        {d(2.7), 0, Round, true, u"3"},
        {d(2.7), 0, Omit, false, u"2"},
        {d(-2.7), 0, static_cast<TEditRound>(7), true, u"-2"},
        // A display of zero carries no sign.
        {d(-0.004), 2, Omit, true, u"0"},
        {d(-0.004), 2, Omit, false, u"0.00"},
        {d(-0.4), 0, Omit, true, u"0"},
        // Limits: a rendering over 64 units, or no finite value, holds no value.
        {d(1e40), 2, Omit, true, u"10000000000000000303786028427003666890752"},
        {d(1e62), 2, Omit, false, u""},
        {d(0.5), 63, Omit, true, u""},
        {d(0.5), 62, Omit, true, u"0.5"},
        {d(1e19), 0, Omit, true, u""},
        {Inf, 2, Omit, true, u""},
        {InvalidReal, 2, Omit, true, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatReal(c.value, c.digits, c.mode, c.strip), c.expected)
            << static_cast<double>(c.value) << " digits " << c.digits << " mode "
            << static_cast<int>(c.mode);
    }
}

TEST(FormatIntegerGrouped, Table) {
    struct Case {
        std::int32_t value;
        std::u16string expected;
    };
    const Case cases[] = {
        {0, u"0"},
        {999, u"999"},
        {1000, u"1,000"},
        {-123, u"-123"},
        {-1000, u"-1,000"},
        {1234567, u"1,234,567"},
        {2147483647, u"2,147,483,647"},
        {-2147483647 - 1, u"-2,147,483,648"},
        {InvalidInteger, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatIntegerGrouped(c.value), c.expected) << c.value;
    }
}

TEST(GroupRealText, Table) {
    struct Case {
        std::u16string text;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"1234567.89", u"1,234,567.89"},
        {u"-1234.5", u"-1,234.5"},
        {u"-123.45", u"-123.45"},
        {u"1234", u"1,234"},
        {u".5", u".5"},
        {u"1234.5678.9", u"1,234.5678.9"},
        {u"", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GroupRealText(c.text), c.expected) << Narrow(c.text);
    }
}

TEST(GroupRealText, ResultOverSixtyFourUnitsHoldsNoValue) {
    const std::u16string digits48(48, u'9'); // grouped: 48 digits and 15 commas
    EXPECT_EQ(GroupRealText(digits48).size(), 63u);
    EXPECT_EQ(GroupRealText(digits48 + u".").size(), 64u);
    EXPECT_EQ(GroupRealText(digits48 + u".5"), u""); // 65 units
    EXPECT_EQ(GroupRealText(digits48 + u"9"), u"");  // 65 units
}

TEST(EnterText, Table) {
    struct Case {
        std::u16string text;
        TEditDataType type;
        std::u16string format;
        std::u16string expected;
    };
    const auto Integer = TEditDataType::Integer;
    const auto Real = TEditDataType::Real;
    const auto String = TEditDataType::String;
    const Case cases[] = {
        {u"1,234,567", Integer, u"", u"1234567"},
        {u"1,234,567.89", Real, u"", u"1234567.89"},
        {u"12.999", Real, u"", u"12.99"},
        {u"abc", Integer, u"", u""},
        {u"abc", Real, u"", u"0"},
        {u"", Real, u"", u""},
        {u"-2147483648", Integer, u"", u"-2147483648"},
        {u"42", Integer, u"%05d", u"00042"},
        {u"1,234.5", Real, u"%.3Lf", u"1234.500"},
        {u"12a", Integer, u"%d", u""},
        {u" any,text ", String, u"%d", u" any,text "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EnterText(c.text, c.type, c.format), c.expected)
            << Narrow(c.text) << " type " << static_cast<int>(c.type);
    }
}

TEST(ExitText, Table) {
    struct Case {
        std::u16string text;
        TEditDataType type;
        std::u16string format;
        bool useComma;
        std::u16string expected;
    };
    const auto Integer = TEditDataType::Integer;
    const auto Real = TEditDataType::Real;
    const auto String = TEditDataType::String;
    const Case cases[] = {
        {u"1234567", Integer, u"", true, u"1,234,567"},
        {u"1234567", Integer, u"%05d", true, u"1,234,567"}, // the format is not consulted
        {u"12a", Integer, u"", true, u""},
        {u"1234567.891", Real, u"", true, u"1,234,567.89"},
        {u"abc", Real, u"", true, u"0"},
        {u"", Real, u"", true, u""},
        {u"1e50", Real, u"", true, u""}, // grouped display over 64 units
        {u"1e400", Real, u"", true, u""},
        {u"12a", Integer, u"", false, u"12a"},
        {u"abc", Real, u"", false, u"abc"},
        {u"42", Integer, u"%05d", false, u"00042"},
        {u"x", Integer, u"%05d", false, u""},
        {u"2.5", Real, u"%.2Lf", false, u"2.50"},
        {u"12a", String, u"%d", true, u"12a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExitText(c.text, c.type, c.format, c.useComma), c.expected)
            << Narrow(c.text) << " type " << static_cast<int>(c.type) << " comma " << c.useComma;
    }
}

TEST(ExitText, RoundTripOfTheWorkedExample) {
    const std::u16string shown = ExitText(u"1234567.891", TEditDataType::Real, u"", true);
    EXPECT_EQ(shown, u"1,234,567.89");
    EXPECT_EQ(EnterText(shown, TEditDataType::Real, u""), u"1234567.89");
}

// Formats go through ExitText: an accepted one shows the value, a refused one holds no value.
TEST(FormatCheck, AcceptedAndRefusedFormats) {
    struct Case {
        TEditDataType type;
        std::u16string format;
        std::u16string expected; // empty: refused
    };
    const auto Integer = TEditDataType::Integer;
    const auto Real = TEditDataType::Real;
    const Case cases[] = {
        // Integer: the value 42.
        {Integer, u"%d", u"42"},
        {Integer, u"%ld", u"42"},
        {Integer, u"%i", u"42"},
        {Integer, u"%li", u"42"},
        {Integer, u"%+d", u"+42"},
        {Integer, u"% d", u" 42"},
        {Integer, u"[%-5d]", u"[42   ]"},
        {Integer, u"%-05d|", u"42   |"},
        {Integer, u"%.4d", u"0042"},
        {Integer, u"%%%d%%", u"%42%"},
        {Integer, u"\u5408\u8A08 %d \u5186", u"\u5408\u8A08 42 \u5186"},
        {Integer, std::u16string(u"%d\0%d", 5), u"42"}, // a NUL ends the format
        {Integer, u"no value", u""},
        {Integer, u"%d %d", u""},
        {Integer, u"%*d", u""},
        {Integer, u"%.*d", u""},
        {Integer, u"%s", u""},
        {Integer, u"%n", u""},
        {Integer, u"%x", u""},
        {Integer, u"%u", u""},
        {Integer, u"%c", u""},
        {Integer, u"%lld", u""},
        {Integer, u"%hd", u""},
        {Integer, u"%#d", u""},
        {Integer, u"%'d", u""},
        {Integer, u"%Lf", u""},
        {Integer, u"50%", u""},
        {Integer, u"%5", u""},
        {Integer, u"%513d", u""},
        {Integer, u"%99999999999999999999d", u""},
        {Integer, u"%.513d", u""},
        // Real: the value 2.5.
        {Real, u"%.2Lf", u"2.50"},
        {Real, u"%Lf", u"2.500000"},
        {Real, u"%LF", u"2.500000"},
        {Real, u"%.1Le", u"2.5e+00"},
        {Real, u"%LE", u"2.500000E+00"},
        {Real, u"%Lg", u"2.5"},
        {Real, u"%LG", u"2.5"},
        {Real, u"%#.0Lf", u"2."},
        {Real, u"%08.3Lf kg", u"0002.500 kg"},
        {Real, u"%d", u""},
        {Real, u"%f", u""},
        {Real, u"%lf", u""},
        {Real, u"%La", u""},
        {Real, u"%Lf%Lf", u""},
        {Real, u"%.*Lf", u""},
        {Real, u"%.513Lf", u""},
    };
    for (const Case& c : cases) {
        const std::u16string value = c.type == Integer ? u"42" : u"2.5";
        EXPECT_EQ(ExitText(value, c.type, c.format, false), c.expected) << Narrow(c.format);
    }
}

TEST(FormatCheck, LimitsAreInclusiveAndOutputIsInFull) {
    EXPECT_EQ(ExitText(u"42", TEditDataType::Integer, u"%512d", false).size(), 512u);
    EXPECT_EQ(ExitText(u"2.5", TEditDataType::Real, u"%.512Lf", false).size(), 514u);
    // A format has no display limit: a huge real is shown in full.
    EXPECT_EQ(ExitText(u"1e300", TEditDataType::Real, u"%.2Lf", false).size(), 304u);
}

TEST(Extended, PrecisionIsInEffect) {
    // Everything above assumes the x87 unit computes with its full 64-bit significand.
    volatile long double one = 1.0L;
    EXPECT_NE(one + 0x1p-63L, one);
}

// A process-wide locale with a decimal comma must change nothing.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                return;
            }
        }
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(CommaLocale, ChangesNoResult) {
    EXPECT_EQ(ParseRealText(u"1,234.5"), 1234.5L);
    EXPECT_EQ(FormatReal(static_cast<long double>(2.675), 2, TEditRound::Round, true), u"2.68");
    EXPECT_EQ(ExitText(u"1234567.891", TEditDataType::Real, u"", true), u"1,234,567.89");
    EXPECT_EQ(ExitText(u"2.5", TEditDataType::Real, u"%.2Lf", false), u"2.50");
}
