// SPDX-License-Identifier: MIT
// Conversions between the layer's UTF-16 text and UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// Invalid sequences become U+FFFD; nothing is dropped silently.
std::u16string Utf8To16(std::string_view text);
std::string Utf16To8(std::u16string_view text);

} // namespace vx

namespace vx {

// Whether `ch` is the accelerator of `caption`: the character after a single '&' ("&&" stands
// for an ampersand), compared without regard to case.
bool IsAccel(char16_t ch, std::u16string_view caption);

} // namespace vx
