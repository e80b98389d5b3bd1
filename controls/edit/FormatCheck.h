// SPDX-License-Identifier: MIT
#pragma once

// Checks a caller's printf-style format before any value goes near the C formatter: the format
// must hold exactly one conversion of the data type's kind, so the formatter never reads a missing
// or mistyped argument.

#include "controls/edit/EditValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace vx::edit {

inline constexpr int MaxFormatWidth = 512;
inline constexpr int MaxFormatPrecision = 512;

// A checked format: literal text around one conversion. The literals are kept as UTF-16 ("%%"
// already turned into "%"), the conversion is rebuilt in ASCII for the narrow formatter:
// "%" flags width .precision, then "d" or "i" for Integer (an "l" is dropped, the value is
// always passed as int) or "L" and one of "fFeEgG" for Real.
struct ValueFormat {
    std::u16string prefix;
    std::string conversion;
    std::u16string suffix;
};

// Accepted: flags "-+ 0" (and "#" for Real only), a width and a precision of at most 512, then
// "%d" "%i" "%ld" "%li" for Integer, or "%Lf" "%LF" "%Le" "%LE" "%Lg" "%LG" for Real. Refused:
// no conversion or more than one, '*', any other conversion or length modifier, a lone '%' at the
// end, and any data type but Integer and Real. A NUL unit ends the format, as it would for a C
// string.
std::optional<ValueFormat> CheckFormat(std::u16string_view format, TEditDataType dataType);

} // namespace vx::edit
