// SPDX-License-Identifier: MIT
#include "gui/Text.h"

#include <cstdint>

namespace vx {

std::u16string Utf8To16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto b0 = uint8_t(text[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            extra = 1, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, cp = b0 & 0x0F, min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, cp = b0 & 0x07, min = 0x10000;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= size_t(extra); ++j) {
            if (i + j >= text.size() || (uint8_t(text[i + j]) & 0xC0) != 0x80) {
                break;
            }
            cp = cp << 6 | (uint8_t(text[i + j]) & 0x3F);
        }
        if (j <= size_t(extra) || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
            out.push_back(u'\uFFFD');
            i += j;
            continue;
        }
        i += j;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

std::string Utf16To8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | cp >> 6));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | cp >> 12));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | cp >> 18));
            out.push_back(char(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace vx

namespace vx {

namespace {
char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}
} // namespace

bool IsAccel(char16_t ch, std::u16string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        if (caption[i + 1] == u'&') {
            ++i; // an ampersand shown as such
            continue;
        }
        return Lower(caption[i + 1]) == Lower(ch);
    }
    return false;
}

} // namespace vx
