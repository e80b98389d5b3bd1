// SPDX-License-Identifier: MIT
#pragma once

// Value logic of the validated edit: parsing integer and real texts, rounding, fixed-decimal
// formatting, comma grouping and the texts shown on entering and leaving the edit. Touches no
// window; the decimal point is always '.', the group separator always ',', and no locale setting
// is consulted.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace vx::edit {

static_assert(std::numeric_limits<long double>::digits == 64 &&
                  std::numeric_limits<long double>::max_exponent == 16384,
              "long double must be the x87 80-bit extended format");

enum class TEditDataType : std::int32_t { String, Integer, Real };

// Any other value of the enumeration leaves a value unchanged.
enum class TEditRound : std::int32_t { Revalue, Omit, Round };

// Parse result of a text that holds no integer; a typed -2147483647 collides with it on purpose.
inline constexpr std::int32_t InvalidInteger = -2147483647;

// Parse result of a text that holds no real: 2^-16382, the smallest normal extended value. Parsing
// goes through double, which cannot produce it, so no typed text collides with it.
inline constexpr long double InvalidReal = std::numeric_limits<long double>::min();

inline constexpr std::size_t MaxIntegerTextLength = 32; // longer integer texts hold no value
inline constexpr std::size_t MaxRealTextLength = 64;    // longer real texts hold no value
inline constexpr std::size_t MaxRealDisplayLength = 64; // FormatReal and GroupRealText results
inline constexpr std::size_t MaxIntegerDisplayLength = 32;

// Commas are skipped anywhere, '-' counts only as the very first unit, anything else is invalid.
// Digits accumulate modulo 2^32; no digits at all give 0.
std::int32_t ParseIntegerText(std::u16string_view text);

// Commas removed, then the longest leading decimal number (after ASCII white space) converted to
// double and widened; no number at all gives 0. Overflow gives an infinity, underflow a zero.
long double ParseRealText(std::u16string_view text);

// Rounds to an integer; the decisions read the six-decimal "%Lf" rendering of x, except Revalue on
// non-negative values, which takes the ceiling of the stored value.
long double RoundValue(long double x, TEditRound mode);

// value rounded at `digits` decimals by `mode` and rendered in fixed point (digits <= 0: as an
// integer). A value that is not finite or whose rendering needs more than MaxRealDisplayLength
// units, before zeros are stripped, gives the empty text; so does a rounded value of 2^63 or more
// at 0 digits. A rendering that shows zero carries no minus sign.
std::u16string FormatReal(long double value, int digits, TEditRound mode, bool stripZeros);

// Decimal with ',' between groups of three digits; InvalidInteger gives the empty text.
std::u16string FormatIntegerGrouped(std::int32_t value);

// Groups the part of a fixed-point text before its first '.'; a result longer than
// MaxRealDisplayLength units gives the empty text.
std::u16string GroupRealText(std::u16string_view text);

// The text to show while the edit has the focus.
std::u16string EnterText(std::u16string_view text, TEditDataType dataType,
                         std::u16string_view formatStr);

// The text to show after the focus has left the edit.
std::u16string ExitText(std::u16string_view text, TEditDataType dataType,
                        std::u16string_view formatStr, bool useComma);

} // namespace vx::edit
