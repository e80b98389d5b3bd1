// SPDX-License-Identifier: MIT
#include "gui/Graphics.h"

#include "gui/Bitmap.h"
#include "gui/FormReader.h"

namespace vx {

TFontStyles TFont::Style() const {
    return (FDesc.Bold ? fsBold : 0) | (FDesc.Italic ? fsItalic : 0) |
           (FDesc.Underline ? fsUnderline : 0) | (FDesc.StrikeOut ? fsStrikeOut : 0);
}

void TFont::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TFont::SetName(const std::u16string& value) {
    if (FDesc.Name != value) {
        FDesc.Name = value;
        Changed();
    }
}

void TFont::SetHeight(int value) {
    if (FDesc.Height != value) {
        FDesc.Height = value;
        Changed();
    }
}

void TFont::SetColor(TColor value) {
    if (FDesc.Color != value) {
        FDesc.Color = value;
        Changed();
    }
}

void TFont::SetCharset(int value) {
    if (FDesc.Charset != value) {
        FDesc.Charset = value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles value) {
    if (Style() != value) {
        FDesc.Bold = (value & fsBold) != 0;
        FDesc.Italic = (value & fsItalic) != 0;
        FDesc.Underline = (value & fsUnderline) != 0;
        FDesc.StrikeOut = (value & fsStrikeOut) != 0;
        Changed();
    }
}

void TFont::Assign(const TFont& other) {
    if (!(FDesc == other.FDesc)) {
        FDesc = other.FDesc;
        Changed();
    }
}

void TFont::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Name") {
        SetName(reader.String(value));
    } else if (name == "Height") {
        SetHeight(reader.Integer(value));
    } else if (name == "Color") {
        SetColor(reader.Color(value));
    } else if (name == "Charset") {
        SetCharset(reader.Charset(value));
    } else if (name == "Style") {
        SetStyle(reader.Flags(value, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}));
    } else {
        reader.Fail(value, "TFont has no property " + std::string(name));
    }
}

void TBrush::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        if (OnChange) {
            OnChange();
        }
    }
}

void TBrush::SetStyle(TBrushStyle value) {
    if (FStyle != value) {
        FStyle = value;
        if (OnChange) {
            OnChange();
        }
    }
}

void TBrush::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Color") {
        SetColor(reader.Color(value));
    } else if (name == "Style") {
        SetStyle(reader.Enum(value, {"bsSolid", "bsClear"}) == 0 ? bsSolid : bsClear);
    } else {
        reader.Fail(value, "TBrush has no property " + std::string(name));
    }
}

void TPen::SetColor(TColor value) {
    if (FColor != value) {
        FColor = value;
        if (OnChange) {
            OnChange();
        }
    }
}

void TPen::SetWidth(int value) {
    if (FWidth != value) {
        FWidth = value;
        if (OnChange) {
            OnChange();
        }
    }
}

void TPen::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Color") {
        SetColor(reader.Color(value));
    } else if (name == "Width") {
        SetWidth(reader.Integer(value));
    } else {
        reader.Fail(value, "TPen has no property " + std::string(name));
    }
}

TRect TCanvas::Shift(TRect r) const {
    return {r.Left + FOrigin.X, r.Top + FOrigin.Y, r.Right + FOrigin.X, r.Bottom + FOrigin.Y};
}

void TCanvas::FillRect(TRect rect) {
    if (Brush.Style() != bsClear) {
        backend::FillRect(Handle(), Shift(rect), Brush.Color());
    }
}

void TCanvas::Rectangle(TRect rect) {
    std::optional<TColor> fill;
    if (Brush.Style() != bsClear) {
        fill = Brush.Color();
    }
    backend::DrawRectangle(Handle(), Shift(rect), Pen.Color(), Pen.Width(), fill);
}

void TCanvas::TextRect(TRect rect, const std::u16string& text, uint32_t flags) {
    backend::DrawText(Handle(), text, Shift(rect), Font.Desc(), flags);
}

void TCanvas::TextOut(int x, int y, const std::u16string& text) {
    const TPoint size = TextExtent(text);
    TextRect({x, y, x + size.X, y + size.Y}, text, backend::TextSingleLine | backend::TextNoPrefix);
}

TPoint TCanvas::TextExtent(const std::u16string& text) {
    return backend::MeasureText(Handle(), text, Font.Desc());
}

void TCanvas::DrawIcon(const char* resource, int x, int y) {
    backend::DrawIconResource(Handle(), resource, {x + FOrigin.X, y + FOrigin.Y});
}

} // namespace vx

namespace vx {

void TCanvas::Frame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
    backend::DrawFrame3D(Handle(), Shift(rect), topLeft, bottomRight, width);
    rect = {rect.Left + width, rect.Top + width, rect.Right - width, rect.Bottom - width};
}

void TCanvas::DrawFocusRect(TRect rect) {
    backend::DrawFocusRect(Handle(), Shift(rect));
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) {
        return;
    }
    const TColor key =
        backend::GetPixel(backend::BitmapDc(bitmap.Handle()), {0, bitmap.Height() - 1});
    backend::DrawBitmap(Handle(), bitmap.Handle(), {x + FOrigin.X, y + FOrigin.Y}, bitmap.Width(),
                        bitmap.Height(), key);
}

} // namespace vx
