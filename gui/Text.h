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
