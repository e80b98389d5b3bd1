// SPDX-License-Identifier: MIT
#include "controls/edit/FormatCheck.h"

namespace vx::edit {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Reads a run of digits; false when the number exceeds `limit`.
bool ReadBounded(std::u16string_view format, std::size_t& i, int limit, int& value) {
    value = 0;
    for (; i < format.size() && IsDigit(format[i]); ++i) {
        value = value * 10 + (format[i] - u'0');
        if (value > limit) {
            return false;
        }
    }
    return true;
}

// Parses one conversion starting just after its '%' and rebuilds it in ASCII; `i` ends after it.
std::optional<std::string> ReadConversion(std::u16string_view format, std::size_t& i,
                                          TEditDataType dataType) {
    const bool real = dataType == TEditDataType::Real;
    // '#' with %d is undefined behaviour in C, so it is a flag for reals only.
    const std::u16string_view flags = real ? u"-+ #0" : u"-+ 0";
    std::string out = "%";
    for (; i < format.size() && flags.find(format[i]) != std::u16string_view::npos; ++i) {
        const char flag = static_cast<char>(format[i]);
        if (out.find(flag) == std::string::npos) {
            out += flag;
        }
    }
    int width = 0;
    if (!ReadBounded(format, i, MaxFormatWidth, width)) {
        return std::nullopt;
    }
    if (width > 0) {
        out += std::to_string(width);
    }
    if (i < format.size() && format[i] == u'.') {
        ++i;
        int precision = 0;
        if (!ReadBounded(format, i, MaxFormatPrecision, precision)) {
            return std::nullopt;
        }
        out += '.' + std::to_string(precision);
    }
    const std::u16string_view conversions = real ? u"fFeEgG" : u"di";
    if (real) {
        if (i >= format.size() || format[i] != u'L') {
            return std::nullopt;
        }
        ++i;
        out += 'L';
    } else if (i < format.size() && format[i] == u'l') {
        ++i; // "%ld" is the same 32-bit integer; the value is passed as int either way
    }
    if (i >= format.size() || conversions.find(format[i]) == std::u16string_view::npos) {
        return std::nullopt;
    }
    out += static_cast<char>(format[i++]);
    return out;
}

} // namespace

std::optional<ValueFormat> CheckFormat(std::u16string_view format, TEditDataType dataType) {
    if (dataType != TEditDataType::Integer && dataType != TEditDataType::Real) {
        return std::nullopt;
    }
    format = format.substr(0, format.find(u'\0'));
    ValueFormat result;
    bool seen = false;
    std::size_t i = 0;
    while (i < format.size()) {
        const char16_t c = format[i++];
        std::u16string& literal = seen ? result.suffix : result.prefix;
        if (c != u'%') {
            literal += c;
        } else if (i < format.size() && format[i] == u'%') {
            literal += u'%';
            ++i;
        } else if (seen) {
            return std::nullopt; // a second conversion would read a missing argument
        } else {
            auto conversion = ReadConversion(format, i, dataType);
            if (!conversion) {
                return std::nullopt;
            }
            result.conversion = std::move(*conversion);
            seen = true;
        }
    }
    if (!seen) {
        return std::nullopt;
    }
    return result;
}

} // namespace vx::edit
