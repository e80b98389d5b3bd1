// SPDX-License-Identifier: MIT
#pragma once

#include "gui/CustomControl.h"

#include <string>

namespace vx {

// A container with bevelled edges and an optional centred caption.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TCustomPanel"; }

    [[nodiscard]] TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    [[nodiscard]] TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    [[nodiscard]] int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    [[nodiscard]] TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    // Draws the panel's face, bevels and caption.
    void Paint() override;

    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    TAlignment FAlignment = taCenter;
    bool FParentBackground = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
    [[nodiscard]] const char* ClassName() const override { return "TPanel"; }
};

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
using enum TShapeType;

// A rectangle drawn with the shape's pen and brush.
class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TShape"; }

    TBrush Brush;
    TPen Pen;
    [[nodiscard]] TShapeType Shape() const { return FShape; }
    void SetShape(TShapeType value);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    TShapeType FShape = stRectangle;
};

// Shows an icon from the executable's resources.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TImage"; }

    [[nodiscard]] const std::string& Icon() const { return FIcon; }
    void SetIcon(std::string resource);
    [[nodiscard]] bool Transparent() const { return FTransparent; }

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    std::string FIcon;
    bool FAutoSize = false;
    bool FTransparent = false;
};

} // namespace vx
