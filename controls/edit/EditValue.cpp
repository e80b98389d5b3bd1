// SPDX-License-Identifier: MIT
#include "controls/edit/EditValue.h"

#include "controls/edit/FormatCheck.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

// mingw's own formatter, not msvcrt's: msvcrt knows no 80-bit long double.
#if defined(__MINGW32__)
#define VX_SNPRINTF __mingw_snprintf
#else
#define VX_SNPRINTF std::snprintf
#endif

namespace vx::edit {
namespace {

// At and above 2^63 every extended value is an integer; below it the integer part fits uint64.
constexpr long double TwoTo63 = 9223372036854775808.0L;

// The C formatter writes the locale's decimal point, which a process-wide setlocale may have
// changed. Its numeric output holds nothing but alphanumerics, sign, space and that point, so each
// run of other bytes is the point and becomes '.'.
std::string NormaliseRadix(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool inRun = false;
    for (const char c : text) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') || c == '+' || c == '-' || c == ' ';
        if (plain) {
            out += c;
        } else if (!inRun) {
            out += '.';
        }
        inRun = !plain;
    }
    return out;
}

// Runs the C formatter with a checked, internal conversion; measures first, so any length fits.
template <typename... Args> std::string Render(const char* conversion, Args... args) {
    char small[64];
    const int n = VX_SNPRINTF(small, sizeof small, conversion, args...);
    if (n < 0) {
        return {};
    }
    std::string text;
    if (static_cast<std::size_t>(n) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(n));
    } else {
        text.resize(static_cast<std::size_t>(n));
        VX_SNPRINTF(text.data(), text.size() + 1, conversion, args...);
    }
    return NormaliseRadix(text);
}

std::u16string Widen(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The integer part of a "%Lf" rendering of a value below 2^63, back as an exact extended value.
long double Cut(const std::string& rendering) {
    const bool negative = !rendering.empty() && rendering[0] == '-';
    std::uint64_t magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < rendering.size() && IsDigit(rendering[i]); ++i) {
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(rendering[i] - '0');
    }
    const auto cut = static_cast<long double>(magnitude);
    return negative ? -cut : cut;
}

// Drops the minus sign of a rendering that shows zero ("-0", "-0.00"): a display need not tell
// negative zero or a tiny negative value cut to zero from zero.
void DropSignOfZero(std::string& text) {
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
        text.erase(0, 1);
    }
}

std::string StripZeros(std::string text) {
    std::size_t i = text.size() - 1;
    while (i > 0 && text[i] == '0') {
        --i;
    }
    text.resize(IsDigit(text[i]) ? i + 1 : i);
    return text;
}

template <typename T>
std::u16string ApplyFormat(std::u16string_view formatStr, TEditDataType dataType, T value) {
    const auto format = CheckFormat(formatStr, dataType);
    if (!format) {
        return {};
    }
    return format->prefix + Widen(Render(format->conversion.c_str(), value)) + format->suffix;
}

} // namespace

std::int32_t ParseIntegerText(std::u16string_view text) {
    if (text.empty() || text.size() > MaxIntegerTextLength) {
        return InvalidInteger;
    }
    const bool negative = text[0] == u'-';
    std::uint32_t magnitude = 0;
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u',') {
            continue;
        }
        if (c < u'0' || c > u'9') {
            return InvalidInteger;
        }
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(c - u'0'); // wraps by design
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

long double ParseRealText(std::u16string_view text) {
    if (text.empty() || text.size() > MaxRealTextLength) {
        return InvalidReal;
    }
    std::string ascii; // commas removed; units outside ASCII can be no part of a number
    for (const char16_t c : text) {
        if (c != u',') {
            ascii += c < 0x80 ? static_cast<char>(c) : '?';
        }
    }
    std::size_t i = ascii.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) {
        return 0.0L;
    }
    const bool negative = ascii[i] == '-';
    if (ascii[i] == '-' || ascii[i] == '+') {
        ++i;
    }
    // Decimal numbers only: from_chars would also take "inf" and "nan", which no edit should hold.
    const std::string_view rest = std::string_view(ascii).substr(i);
    const bool startsNumber = (!rest.empty() && IsDigit(rest[0])) ||
                              (rest.size() > 1 && rest[0] == '.' && IsDigit(rest[1]));
    if (!startsNumber) {
        return 0.0L;
    }
    const char* first = rest.data();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, rest.data() + rest.size(), value);
    if (error == std::errc::result_out_of_range) {
        // At most 64 units: the digits alone lie within 10^+-64, so only a negative exponent can
        // underflow and only a non-negative one can overflow. strtod gives 0 and HUGE_VAL.
        const std::string_view number(first, static_cast<std::size_t>(end - first));
        const bool tiny = number.find("e-") != std::string_view::npos ||
                          number.find("E-") != std::string_view::npos;
        value = tiny ? 0.0 : HUGE_VAL;
    }
    return static_cast<long double>(negative ? -value : value);
}

long double RoundValue(long double x, TEditRound mode) {
    if (mode != TEditRound::Revalue && mode != TEditRound::Omit && mode != TEditRound::Round) {
        return x;
    }
    // Such values (and infinities, NaN) are integers already: every mode keeps them.
    if (!(std::fabs(x) < TwoTo63)) {
        return x;
    }
    const std::string rendering = Render("%Lf", x); // always holds '.' and six decimals here
    const char first = rendering[rendering.find('.') + 1];
    const bool up = first >= '5' && first <= '9';
    switch (mode) {
    case TEditRound::Revalue:
        return x >= 0 ? std::ceil(x) : Cut(rendering);
    case TEditRound::Omit:
        return Cut(rendering);
    case TEditRound::Round:
        if (x >= 0) {
            return up ? std::ceil(x) : Cut(rendering);
        }
        return up ? std::floor(x) : std::ceil(x);
    }
    return x;
}

std::u16string FormatReal(long double value, int digits, TEditRound mode, bool stripZeros) {
    // More digits than the area holds can never fit; stopping here also keeps the scale finite.
    if (value == InvalidReal || digits > static_cast<int>(MaxRealDisplayLength)) {
        return {};
    }
    std::string text;
    if (digits > 0) {
        long double scale = 1.0L;
        for (int i = 0; i < digits; ++i) {
            scale *= 10.0L;
        }
        const long double rounded = RoundValue(value * scale, mode) / scale;
        if (!std::isfinite(rounded)) {
            return {};
        }
        text = Render("%.*Lf", digits, rounded);
        if (text.size() > MaxRealDisplayLength) {
            return {};
        }
        if (stripZeros) {
            text = StripZeros(std::move(text));
        }
    } else {
        const long double rounded = RoundValue(value, mode);
        if (!(std::fabs(rounded) < TwoTo63)) {
            return {}; // no 64-bit integer holds it
        }
        text = std::to_string(static_cast<long long>(rounded));
    }
    DropSignOfZero(text);
    return Widen(text);
}

std::u16string FormatIntegerGrouped(std::int32_t value) {
    if (value == InvalidInteger) {
        return {};
    }
    return GroupRealText(Widen(std::to_string(value)));
}

std::u16string GroupRealText(std::u16string_view text) {
    const std::size_t point = std::min(text.find(u'.'), text.size());
    std::u16string out;
    for (std::size_t i = 0; i < point; ++i) {
        out += text[i];
        const std::size_t rest = point - i - 1;
        if (rest > 0 && rest % 3 == 0 && text[i] != u'-') {
            out += u',';
        }
    }
    out += text.substr(point);
    if (out.size() > MaxRealDisplayLength) {
        return {};
    }
    return out;
}

std::u16string EnterText(std::u16string_view text, TEditDataType dataType,
                         std::u16string_view formatStr) {
    switch (dataType) {
    case TEditDataType::Integer: {
        const std::int32_t value = ParseIntegerText(text);
        if (value == InvalidInteger) {
            return {};
        }
        if (!formatStr.empty()) {
            return ApplyFormat(formatStr, dataType, value);
        }
        return Widen(std::to_string(value));
    }
    case TEditDataType::Real: {
        const long double value = ParseRealText(text);
        if (value == InvalidReal) {
            return {};
        }
        if (!formatStr.empty()) {
            return ApplyFormat(formatStr, dataType, value);
        }
        return FormatReal(value, 2, TEditRound::Omit, true);
    }
    case TEditDataType::String:
        break;
    }
    return std::u16string(text);
}

std::u16string ExitText(std::u16string_view text, TEditDataType dataType,
                        std::u16string_view formatStr, bool useComma) {
    const bool typed = dataType == TEditDataType::Integer || dataType == TEditDataType::Real;
    if (!typed) {
        return std::u16string(text);
    }
    if (useComma) {
        if (dataType == TEditDataType::Integer) {
            return FormatIntegerGrouped(ParseIntegerText(text));
        }
        return GroupRealText(FormatReal(ParseRealText(text), 2, TEditRound::Omit, true));
    }
    if (!formatStr.empty()) {
        return EnterText(text, dataType, formatStr);
    }
    return std::u16string(text);
}

} // namespace vx::edit
