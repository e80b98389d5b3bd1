// SPDX-License-Identifier: MIT
// Enumerations, colours and event signatures of the GUI layer.
#pragma once

#include "platform/types.h"

#include <cstdint>
#include <functional>

namespace vx {

class TObject {
public:
    virtual ~TObject() = default;
};

// Colours: plain 0x00BBGGRR, or 0xFF0000nn for system colour nn.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clGrayText = 0xFF000011;
constexpr TColor clBtnText = 0xFF000012;
constexpr TColor clBtnHighlight = 0xFF000014;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clHighlightText = 0xFF00000E;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SHIFTJIS_CHARSET = 128;

inline constexpr uint32_t ssShift = 1u << 0;
inline constexpr uint32_t ssAlt = 1u << 1;
inline constexpr uint32_t ssCtrl = 1u << 2;
inline constexpr uint32_t ssLeft = 1u << 3;
inline constexpr uint32_t ssRight = 1u << 4;
inline constexpr uint32_t ssMiddle = 1u << 5;
inline constexpr uint32_t ssDouble = 1u << 6;
using TShiftState = uint32_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using enum TBevelCut;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;

inline constexpr uint32_t biSystemMenu = 1u << 0;
inline constexpr uint32_t biMinimize = 1u << 1;
inline constexpr uint32_t biMaximize = 1u << 2;
inline constexpr uint32_t biHelp = 1u << 3;
using TBorderIcons = uint32_t;

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
using enum TFormStyle;

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
using enum TPosition;

enum class TPopupMode { pmNone, pmAuto, pmExplicit };
using enum TPopupMode;

inline constexpr uint32_t fsBold = 1u << 0;
inline constexpr uint32_t fsItalic = 1u << 1;
inline constexpr uint32_t fsUnderline = 1u << 2;
inline constexpr uint32_t fsStrikeOut = 1u << 3;
using TFontStyles = uint32_t;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char16_t& Key)>;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

} // namespace vx
