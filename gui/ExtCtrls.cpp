// SPDX-License-Identifier: MIT
#include "gui/ExtCtrls.h"

#include "gui/FormReader.h"

namespace vx {
namespace {

TBevelCut ReadBevel(TReader& reader, const FormValue& value) {
    return TBevelCut(reader.Enum(value, {"bvNone", "bvLowered", "bvRaised", "bvSpace"}));
}

void Bevel(TCanvas& canvas, TRect& r, TBevelCut cut, int width) {
    switch (cut) {
    case bvNone:
    case bvSpace:
        break;
    case bvLowered:
        canvas.Frame3D(r, clBtnShadow, clBtnHighlight, width);
        break;
    case bvRaised:
        canvas.Frame3D(r, clBtnHighlight, clBtnShadow, width);
        break;
    }
}

} // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (FBevelOuter != value) {
        FBevelOuter = value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (FBevelInner != value) {
        FBevelInner = value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelWidth(int value) {
    if (FBevelWidth != value) {
        FBevelWidth = value;
        Invalidate();
    }
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment != value) {
        FAlignment = value;
        Invalidate();
    }
}

void TCustomPanel::Paint() {
    TCanvas& canvas = Canvas();
    TRect r = ClientRect();
    canvas.Brush.SetStyle(bsSolid);
    canvas.Brush.SetColor(FColor);
    canvas.FillRect(r);
    Bevel(canvas, r, FBevelOuter, FBevelWidth);
    Bevel(canvas, r, FBevelInner, FBevelWidth);
    if (!FCaption.empty()) {
        uint32_t flags = backend::TextSingleLine | backend::TextVCenter;
        if (FAlignment == taCenter) {
            flags |= backend::TextCenter;
        } else if (FAlignment == taRightJustify) {
            flags |= backend::TextRight;
        }
        canvas.Font.Assign(FFont);
        canvas.TextRect(r, FCaption, flags);
    }
}

void TCustomPanel::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "BevelOuter") {
        SetBevelOuter(ReadBevel(reader, value));
    } else if (name == "BevelInner") {
        SetBevelInner(ReadBevel(reader, value));
    } else if (name == "BevelWidth") {
        SetBevelWidth(reader.Integer(value));
    } else if (name == "Alignment") {
        SetAlignment(
            TAlignment(reader.Enum(value, {"taLeftJustify", "taRightJustify", "taCenter"})));
    } else if (name == "ParentBackground") {
        FParentBackground = reader.Boolean(value);
    } else {
        TCustomControl::ReadProperty(reader, name, value);
    }
}

TShape::TShape(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 65;
    FHeight = 65;
    Brush.OnChange = [this] { Invalidate(); };
    Pen.OnChange = [this] { Invalidate(); };
}

void TShape::SetShape(TShapeType value) {
    if (FShape != value) {
        FShape = value;
        Invalidate();
    }
}

void TShape::Paint(TCanvas& canvas) {
    canvas.Pen.SetColor(Pen.Color());
    canvas.Pen.SetWidth(Pen.Width());
    canvas.Brush.SetColor(Brush.Color());
    canvas.Brush.SetStyle(Brush.Style());
    canvas.Rectangle(ClientRect());
    canvas.Brush.SetStyle(bsSolid);
}

void TShape::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Shape") {
        SetShape(TShapeType(reader.Enum(value, {"stRectangle", "stSquare", "stRoundRect",
                                                "stRoundSquare", "stEllipse", "stCircle"})));
    } else if (name.starts_with("Brush.")) {
        Brush.ReadProperty(reader, name.substr(6), value);
    } else if (name.starts_with("Pen.")) {
        Pen.ReadProperty(reader, name.substr(4), value);
    } else {
        TGraphicControl::ReadProperty(reader, name, value);
    }
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
    FWidth = 105;
    FHeight = 105;
}

void TImage::SetIcon(std::string resource) {
    FIcon = std::move(resource);
    if (FAutoSize && !FIcon.empty()) {
        SetBounds(FLeft, FTop, 32, 32);
    }
    Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
    if (!FIcon.empty()) {
        canvas.DrawIcon(FIcon.c_str(), 0, 0);
    }
}

void TImage::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Picture.Icon") {
        SetIcon(reader.Ident(value));
    } else if (name == "AutoSize") {
        FAutoSize = reader.Boolean(value);
    } else if (name == "Transparent") {
        FTransparent = reader.Boolean(value);
    } else {
        TGraphicControl::ReadProperty(reader, name, value);
    }
}

} // namespace vx
