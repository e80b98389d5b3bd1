// SPDX-License-Identifier: MIT
// Fonts by description, with stand-in faces where the named one is not installed.
#include "platform/win32/win.h"

#include <map>
#include <tuple>

namespace vx::win32 {
namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const std::u16string& face) {
    static auto& known = *new std::map<std::u16string, bool>;
    auto it = known.find(face);
    if (it != known.end()) {
        return it->second;
    }
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, Wide(face), LF_FACESIZE);
    bool found = false;
    ::HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &lf, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return known[face] = found;
}

// The forms name the faces of a Japanese Windows desktop. Where one is missing (as under
// Wine, or on a system without the Japanese fonts) the first installed face of the same
// kind stands in, so Japanese text still shows; otherwise the system picks by character set.
std::u16string FaceFor(const std::u16string& face) {
    static const std::u16string gothic[] = {
        u"MS UI Gothic", u"Meiryo UI",        u"Yu Gothic UI", u"IPAPGothic",
        u"IPAGothic",    u"Noto Sans CJK JP", u"VL PGothic",   u"Droid Sans Fallback"};
    static const std::u16string mincho[] = {u"Yu Mincho", u"IPAPMincho", u"IPAMincho",
                                            u"Noto Serif CJK JP"};
    static const std::map<std::u16string, std::pair<const std::u16string*, size_t>> kinds = {
        {u"ＭＳ Ｐゴシック", {gothic, std::size(gothic)}},
        {u"ＭＳ ゴシック", {gothic, std::size(gothic)}},
        {u"MS UI Gothic", {gothic, std::size(gothic)}},
        {u"Tahoma", {gothic, std::size(gothic)}},
        {u"Arial", {gothic, std::size(gothic)}},
        {u"ＭＳ 明朝", {mincho, std::size(mincho)}},
        {u"ＭＳ Ｐ明朝", {mincho, std::size(mincho)}},
    };
    if (FaceInstalled(face)) {
        return face;
    }
    auto kind = kinds.find(face);
    if (kind != kinds.end()) {
        for (size_t i = 0; i < kind->second.second; ++i) {
            if (FaceInstalled(kind->second.first[i])) {
                return kind->second.first[i];
            }
        }
    }
    return face;
}

} // namespace

HFONT FontFor(const backend::FontDesc& f) {
    using Key = std::tuple<std::u16string, int, bool, bool, bool, bool, int>;
    static auto& fonts = *new std::map<Key, HFONT>; // used until the last window goes
    const Key key{f.Name, f.Height, f.Bold, f.Italic, f.Underline, f.StrikeOut, f.Charset};
    auto it = fonts.find(key);
    if (it != fonts.end()) {
        return it->second;
    }
    LOGFONTW lf{};
    lf.lfHeight = f.Height;
    lf.lfWeight = f.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.Italic;
    lf.lfUnderline = f.Underline;
    lf.lfStrikeOut = f.StrikeOut;
    lf.lfCharSet = BYTE(f.Charset);
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, Wide(FaceFor(f.Name)), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    fonts[key] = font;
    return font;
}

} // namespace vx::win32
