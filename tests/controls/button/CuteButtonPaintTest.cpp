// SPDX-License-Identifier: MIT
// What one repaint of the cute button draws: the face, the bevel rings, the caption rectangle
// and its flags, the picture beside the caption, the disabled emboss and the focus rectangle,
// compared primitive by primitive on a 75 x 25 button.
#include "gui/Text.h"
#include "tests/support/CuteButtonFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace vx;
using namespace vx::button;
using namespace vxtest;

namespace {

constexpr TColor HL = clBtnHighlight;
constexpr TColor SH = clBtnShadow;
constexpr TColor Face = clBtnFace;
// The font colours that the drawn text resolves to.
const TColor Ink = backend::ResolveColor(clWindowText);
const TColor Light = backend::ResolveColor(clBtnHighlight);
const TColor Dark = backend::ResolveColor(clBtnShadow);

std::string Line(const char* format, auto... args) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, args...);
    return buf;
}

std::string Fill(int l, int t, int r, int b, TColor c) {
    return Line("FillRect %d,%d,%d,%d %08x", l, t, r, b, c);
}
std::string Ring(int l, int t, int r, int b, TColor top, TColor bottom, int w = 1) {
    return Line("Frame3D %d,%d,%d,%d %08x/%08x w%d", l, t, r, b, top, bottom, w);
}
std::string Text(int l, int t, int r, int b, unsigned flags, TColor c = Ink,
                 const std::string& text = "OK") {
    return Line("DrawText %d,%d,%d,%d flags %02x ink %06x \"%s\"", l, t, r, b, flags, c,
                text.c_str());
}
std::string Bitmap(int x, int y, int w, int h, int64_t transparent) {
    return Line("DrawBitmap %d,%d %dx%d key %lld", x, y, w, h, (long long)transparent);
}
std::string Focus(int l, int t, int r, int b) {
    return Line("FocusRect %d,%d,%d,%d", l, t, r, b);
}

std::string Describe(const headless::ApiCall& c) {
    const auto& a = c.Args;
    const auto i = [&a](size_t k) { return int(a[k]); };
    if (c.Name == "FillRect") {
        return Fill(i(0), i(1), i(2), i(3), TColor(a[4]));
    }
    if (c.Name == "Frame3D") {
        return Ring(i(0), i(1), i(2), i(3), TColor(a[4]), TColor(a[5]), i(6));
    }
    if (c.Name == "DrawText") {
        return Text(i(0), i(1), i(2), i(3), unsigned(a[8]), TColor(a[7]), Utf16To8(c.Texts[0]));
    }
    if (c.Name == "DrawBitmap") {
        return Bitmap(i(0), i(1), i(2), i(3), a[4]);
    }
    return Focus(i(0), i(1), i(2), i(3));
}

// The rest state: the face, and the raised inner ring at the edge.
std::vector<std::string> AtRest(std::vector<std::string> after) {
    std::vector<std::string> calls{Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH)};
    calls.insert(calls.end(), after.begin(), after.end());
    return calls;
}

// A 16 x 16 picture (unless told otherwise) whose bottom-left pixel is lime, the rest red;
// and a font whose captions are 10 pixels a character, so "OK" is 20 wide.
void GivePicture(TCuteButton& b, int w = 16, int h = 16) {
    TBitmap& bitmap = b.Picture().Bitmap();
    bitmap.SetSize(w, h);
    bitmap.Canvas().Brush.SetColor(clRed);
    bitmap.Canvas().FillRect({0, 0, w, h});
    bitmap.Canvas().Brush.SetColor(clLime);
    bitmap.Canvas().FillRect({0, h - 1, 1, h});
    b.Font().SetHeight(-16);
}
constexpr int64_t Lime = clLime;

struct PaintCase {
    const char* Name;
    std::function<void(TCuteButton&)> Setup;
    std::vector<std::string> Expected;
};

void PrintTo(const PaintCase& c, std::ostream* os) {
    *os << c.Name;
}

class CuteButtonPaint : public CuteButtonFixture,
                        public ::testing::WithParamInterface<PaintCase> {};

TEST_P(CuteButtonPaint, DrawsExactlyThesePrimitives) {
    button->SetCaption(u"OK");
    GetParam().Setup(*button);
    hl::Pump();
    hl::ClearApiLog();
    button->Invalidate();
    hl::Pump();
    std::vector<std::string> drawn;
    for (const headless::ApiCall& c : ButtonCalls()) {
        drawn.push_back(Describe(c));
    }
    EXPECT_EQ(drawn, GetParam().Expected);
}

std::string CaseName(const ::testing::TestParamInfo<PaintCase>& info) {
    return info.param.Name;
}

const auto Nothing = [](TCuteButton&) {};
const auto Focused = [](TCuteButton& b) { b.SetFocus(); };
const auto Pressed = [](TCuteButton& b) { b.SetBevelOuter(bvLowered); };

const PaintCase RingsCases[] = {
    {"AtRest", Nothing, AtRest({Text(2, 2, 73, 23, 0x25)})},
    {"Pressed",
     Pressed,
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, SH, HL), Ring(1, 1, 74, 24, HL, SH),
      Text(4, 4, 73, 23, 0x25)}},
    {"Focused",
     Focused,
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH), Ring(1, 1, 74, 24, HL, SH),
      Text(2, 2, 73, 23, 0x25)}},
    {"InnerLoweredAlone",
     [](TCuteButton& b) { b.SetBevelInner(bvLowered); },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, SH, HL), Text(2, 2, 73, 23, 0x25)}},
    {"FlatAtRest",
     [](TCuteButton& b) { b.SetFlat(true); },
     {Fill(0, 0, 75, 25, Face), Text(1, 1, 74, 24, 0x25)}},
    {"FlatFocused",
     [](TCuteButton& b) {
         b.SetFlat(true);
         b.SetFocus();
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH), Text(1, 1, 74, 24, 0x25)}},
    {"SpaceOuterDrawsNothingAndDoesNotShift", [](TCuteButton& b) { b.SetBevelOuter(bvSpace); },
     AtRest({Text(2, 2, 73, 23, 0x25)})},
    {"WideBevelsPressed",
     [](TCuteButton& b) {
         b.SetBevelWidth(2);
         b.SetBevelOuter(bvLowered);
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, SH, HL, 2), Ring(2, 2, 73, 23, HL, SH, 2),
      Text(6, 6, 71, 21, 0x25)}},
    {"OwnBevelColours",
     [](TCuteButton& b) {
         b.SetBevelHighlightColor(clRed);
         b.SetBevelShadowColor(clBlue);
         b.SetBevelOuter(bvLowered);
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, clBlue, clRed),
      Ring(1, 1, 74, 24, clRed, clBlue), Text(4, 4, 73, 23, 0x25)}},
    {"OwnFaceColour",
     [](TCuteButton& b) { b.SetColor(clYellow); },
     {Fill(0, 0, 75, 25, clYellow), Ring(0, 0, 75, 25, HL, SH), Text(2, 2, 73, 23, 0x25)}}};
INSTANTIATE_TEST_SUITE_P(Rings, CuteButtonPaint, ::testing::ValuesIn(RingsCases), CaseName);

// Sets alignment, layout and margins.
auto Place(TAlignment a, TTextLayout l, int mx = -1, int my = -1) {
    return [=](TCuteButton& b) {
        b.SetAlignment(a);
        b.SetLayout(l);
        b.SetMarginX(mx);
        b.SetMarginY(my);
    };
}

const PaintCase CaptionCases[] = {
    {"LeftTop", Place(taLeftJustify, tlTop), AtRest({Text(2, 2, 73, 23, 0x20)})},
    {"RightBottom", Place(taRightJustify, tlBottom), AtRest({Text(2, 2, 73, 23, 0x2A)})},
    {"LeftTopMargins", Place(taLeftJustify, tlTop, 6, 3), AtRest({Text(8, 5, 73, 23, 0x20)})},
    {"RightBottomMargins", Place(taRightJustify, tlBottom, 6, 3),
     AtRest({Text(2, 2, 67, 20, 0x2A)})},
    {"CentredIgnoresMargins", Place(taCenter, tlCenter, 6, 6), AtRest({Text(2, 2, 73, 23, 0x25)})},
    {"MarginThenPressedShift",
     [](TCuteButton& b) {
         Place(taLeftJustify, tlCenter, 6)(b);
         b.SetBevelOuter(bvLowered);
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, SH, HL), Ring(1, 1, 74, 24, HL, SH),
      Text(10, 4, 73, 23, 0x24)}}};
INSTANTIATE_TEST_SUITE_P(Caption, CuteButtonPaint, ::testing::ValuesIn(CaptionCases), CaseName);

// The caption "OK" is 20 wide; T is (2, 2, 73, 23) before the picture moves it.
const PaintCase PictureCases[] = {
    {"Left",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taLeftJustify);
     },
     AtRest({Bitmap(6, 4, 16, 16, Lime), Text(26, 2, 73, 23, 0x24)})},
    {"Centred", [](TCuteButton& b) { GivePicture(b); },
     AtRest({Bitmap(23, 4, 16, 16, Lime), Text(14, 2, 85, 23, 0x25)})},
    {"Right",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taRightJustify);
     },
     AtRest({Bitmap(41, 4, 16, 16, Lime), Text(6, 2, 77, 23, 0x26)})},
    // 71 - 80 = -9, and -9 div 2 is -4: PX = 10 - 4 - 16 + 4.
    {"CentredUnderACaptionWiderThanTheButton",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetCaption(u"ABCDEFGH");
     },
     AtRest({Bitmap(-6, 4, 16, 16, Lime), Text(14, 2, 85, 23, 0x25, Ink, "ABCDEFGH")})},
    {"CentredOddSized", [](TCuteButton& b) { GivePicture(b, 15, 10); },
     AtRest({Bitmap(23, 7, 15, 10, Lime), Text(13, 2, 84, 23, 0x25)})},
    {"CentredVerticallyWhateverTheLayout",
     [](TCuteButton& b) {
         GivePicture(b);
         Place(taLeftJustify, tlTop, -1, 5)(b);
     },
     AtRest({Bitmap(6, 7, 16, 16, Lime), Text(26, 7, 73, 23, 0x20)})},
    {"LeftWithOwnGroupSpaces",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taLeftJustify);
         b.SetGrpLeftSpace(1);
         b.SetGrpRightSpace(9);
     },
     AtRest({Bitmap(3, 4, 16, 16, Lime), Text(28, 2, 73, 23, 0x24)})},
    {"RightWithOwnGroupSpaces",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taRightJustify);
         b.SetGrpLeftSpace(1);
         b.SetGrpRightSpace(9);
     },
     AtRest({Bitmap(38, 4, 16, 16, Lime), Text(11, 2, 82, 23, 0x26)})},
    {"AssignedFromAnotherPicture",
     [](TCuteButton& b) {
         TPicture source;
         TBitmap& bitmap = source.Bitmap();
         bitmap.SetSize(16, 16);
         bitmap.Canvas().Brush.SetColor(clWhite);
         bitmap.Canvas().FillRect({0, 0, 16, 16});
         b.SetPicture(source);
         b.Font().SetHeight(-16);
     },
     AtRest({Bitmap(23, 4, 16, 16, clWhite), Text(14, 2, 85, 23, 0x25)})}};
INSTANTIATE_TEST_SUITE_P(Picture, CuteButtonPaint, ::testing::ValuesIn(PictureCases), CaseName);

const PaintCase DisabledCases[] = {
    {"EmbossedOnTheDisabledColour",
     [](TCuteButton& b) {
         b.SetUseDisabledColor(true);
         b.SetEnabled(false);
     },
     {Fill(0, 0, 75, 25, clGray), Ring(0, 0, 75, 25, HL, SH), Text(3, 3, 74, 24, 0x25, Light),
      Text(2, 2, 73, 23, 0x25, Dark)}},
    {"EmbossedOnTheOwnColour", [](TCuteButton& b) { b.SetEnabled(false); },
     AtRest({Text(3, 3, 74, 24, 0x25, Light), Text(2, 2, 73, 23, 0x25, Dark)})},
    {"EnabledAgainDrawsOnce",
     [](TCuteButton& b) {
         b.SetUseDisabledColor(true);
         b.SetEnabled(false);
         b.SetEnabled(true);
     },
     AtRest({Text(2, 2, 73, 23, 0x25)})},
    // The highlight copy is placed before the picture moves the caption.
    {"EmbossedBesideAPicture",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taLeftJustify);
         b.SetEnabled(false);
     },
     AtRest({Text(3, 3, 74, 24, 0x24, Light), Bitmap(6, 4, 16, 16, Lime),
             Text(26, 2, 73, 23, 0x24, Dark)})}};
INSTANTIATE_TEST_SUITE_P(Disabled, CuteButtonPaint, ::testing::ValuesIn(DisabledCases), CaseName);

const PaintCase FocusRectCases[] = {
    {"AroundTheCaption",
     [](TCuteButton& b) {
         b.SetShowFocusRect(true);
         b.SetFocus();
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH), Ring(1, 1, 74, 24, HL, SH),
      Text(2, 2, 73, 23, 0x25), Focus(4, 4, 71, 21)}},
    {"NotWithoutTheFocus", [](TCuteButton& b) { b.SetShowFocusRect(true); },
     AtRest({Text(2, 2, 73, 23, 0x25)})},
    {"AroundTheCaptionBesideAPicture",
     [](TCuteButton& b) {
         GivePicture(b);
         b.SetAlignment(taLeftJustify);
         b.SetShowFocusRect(true);
         b.SetFocus();
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH), Ring(1, 1, 74, 24, HL, SH),
      Bitmap(6, 4, 16, 16, Lime), Text(26, 2, 73, 23, 0x24), Focus(28, 4, 71, 21)}},
    {"FlatButton",
     [](TCuteButton& b) {
         b.SetFlat(true);
         b.SetShowFocusRect(true);
         b.SetFocus();
     },
     {Fill(0, 0, 75, 25, Face), Ring(0, 0, 75, 25, HL, SH), Text(1, 1, 74, 24, 0x25),
      Focus(3, 3, 72, 22)}}};
INSTANTIATE_TEST_SUITE_P(FocusRect, CuteButtonPaint, ::testing::ValuesIn(FocusRectCases), CaseName);

} // namespace
