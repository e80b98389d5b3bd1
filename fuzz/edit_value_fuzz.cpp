// SPDX-License-Identifier: MIT
// Feeds arbitrary UTF-16 texts and formats to the edit value logic.
//
// Input layout: byte 0 picks the data type (bits 0-1, 3 is no known type), useComma (bit 2),
// stripZeros (bit 3) and the rounding mode (bits 4-5, 3 is no known mode); byte 1 the digits of
// FormatReal (0 to 69); byte 2 where the UTF-16 units that follow split into text and format.
// The units are little-endian pairs.
#include "controls/edit/EditValue.h"
#include "controls/edit/FormatCheck.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

using namespace vx::edit;

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool IsAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const auto dataType = static_cast<TEditDataType>(data[0] & 3);
    const bool useComma = (data[0] & 4) != 0;
    const bool stripZeros = (data[0] & 8) != 0;
    const auto mode = static_cast<TEditRound>((data[0] >> 4) & 3);
    const int digits = data[1] % 70;
    std::u16string units;
    for (std::size_t i = 3; i + 1 < size; i += 2) {
        units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    const std::size_t split = data[2] % (units.size() + 1);
    const std::u16string text = units.substr(0, split);
    const std::u16string format = units.substr(split);

    const std::int32_t integer = ParseIntegerText(text);
    if (integer != InvalidInteger) {
        const std::u16string grouped = FormatIntegerGrouped(integer);
        Require(grouped.size() <= MaxIntegerDisplayLength);
        Require(ParseIntegerText(grouped) == integer);
    }

    // Arbitrary bit patterns too, including encodings the x87 unit calls invalid.
    long double raw = 0.0L;
    std::memcpy(&raw, data, std::min<std::size_t>(size, 10));
    for (const long double x : {ParseRealText(text), raw}) {
        RoundValue(x, mode);
        const std::u16string shown = FormatReal(x, digits, mode, stripZeros);
        Require(shown.size() <= MaxRealDisplayLength);
        if (!shown.empty()) {
            const long double back = ParseRealText(shown);
            Require(back != InvalidReal && back == back);
        }
    }

    Require(GroupRealText(text).size() <= MaxRealDisplayLength);
    const std::u16string entered = EnterText(text, dataType, format);
    const std::u16string exited = ExitText(text, dataType, format, useComma);
    if (dataType == TEditDataType::String) {
        Require(entered == text && exited == text);
    }
    if (useComma && dataType == TEditDataType::Real) {
        Require(exited.size() <= MaxRealDisplayLength);
    }
    if (const auto checked = CheckFormat(format, dataType)) {
        Require(IsAscii(checked->conversion) && checked->conversion.size() <= 16);
    }
    return 0;
}
