// SPDX-License-Identifier: MIT
// Fonts, brushes, pens and the canvas that draws with them.
#pragma once

#include "gui/Types.h"
#include "platform/backend.h"

#include <functional>
#include <string>
#include <string_view>

namespace vx {

class TReader;
struct FormValue;

class TFont {
public:
    std::function<void()> OnChange;

    [[nodiscard]] const std::u16string& Name() const { return FDesc.Name; }
    [[nodiscard]] int Height() const { return FDesc.Height; }
    [[nodiscard]] TColor Color() const { return FDesc.Color; }
    [[nodiscard]] int Charset() const { return FDesc.Charset; }
    [[nodiscard]] TFontStyles Style() const;
    void SetName(const std::u16string& value);
    void SetHeight(int value);
    void SetColor(TColor value);
    void SetCharset(int value);
    void SetStyle(TFontStyles value);
    void Assign(const TFont& other);
    [[nodiscard]] const backend::FontDesc& Desc() const { return FDesc; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value);

private:
    backend::FontDesc FDesc;
    void Changed();
};

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

class TBrush {
public:
    std::function<void()> OnChange;
    [[nodiscard]] TColor Color() const { return FColor; }
    [[nodiscard]] TBrushStyle Style() const { return FStyle; }
    void SetColor(TColor value);
    void SetStyle(TBrushStyle value);
    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value);

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class TPen {
public:
    std::function<void()> OnChange;
    [[nodiscard]] TColor Color() const { return FColor; }
    [[nodiscard]] int Width() const { return FWidth; }
    void SetColor(TColor value);
    void SetWidth(int value);
    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
};

// Draws on a device context. Coordinates are shifted by Origin, so a graphic control can
// paint in its own coordinates on its parent's surface.
class TCanvas {
public:
    virtual ~TCanvas() = default;
    TFont Font;
    TBrush Brush;
    TPen Pen;

    // The device context; a control's canvas obtains its window's on first use.
    virtual wapi::HDC Handle() { return FHandle; }
    // The device context as it stands, without obtaining one.
    [[nodiscard]] wapi::HDC CurrentHandle() const { return FHandle; }
    void SetHandle(wapi::HDC dc) { FHandle = dc; }
    void SetOrigin(TPoint origin) { FOrigin = origin; }

    void FillRect(TRect rect);
    void Rectangle(TRect rect);
    void TextRect(TRect rect, const std::u16string& text, uint32_t flags);
    void TextOut(int x, int y, const std::u16string& text);
    TPoint TextExtent(const std::u16string& text);
    void DrawIcon(const char* resource, int x, int y);
    // Draws `width` rings inside `rect` and shrinks it by as much on every side.
    void Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width);
    void DrawFocusRect(TRect rect);
    // Draws a bitmap at its own size, leaving out the colour of its bottom-left pixel.
    void DrawTransparent(int x, int y, const class TBitmap& bitmap);

protected:
    wapi::HDC FHandle = nullptr;

private:
    TPoint FOrigin{};
    TRect Shift(TRect r) const;
};

} // namespace vx
