// SPDX-License-Identifier: MIT
// The magnifier window: shows a rectangle of the desktop, stretched over its client area.
#pragma once

#include "gui/Form.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Timer.h"
#include "platform/api.h"

class TMainForm : public vx::TForm {
public:
    explicit TMainForm(vx::TComponent* Owner);
    [[nodiscard]] const char* ClassName() const override { return "TMainForm"; }

    vx::TTimer* DrawTimer = nullptr;
    vx::TPopupMenu* PopupMenu = nullptr;
    vx::TMenuItem* SelectRangeMenu = nullptr;
    vx::TMenuItem* N2 = nullptr;
    vx::TMenuItem* VersionMenu = nullptr;
    vx::TLabel* MessageLabel = nullptr;

    void FormCreate(vx::TObject* Sender);
    void FormShow(vx::TObject* Sender);
    void DrawTimerTimer(vx::TObject* Sender);
    void FormDblClick(vx::TObject* Sender);
    void FormCloseQuery(vx::TObject* Sender, bool& CanClose);
    void SelectRangeMenuClick(vx::TObject* Sender);
    void VersionMenuClick(vx::TObject* Sender);

    // For a capture worker: the screen position of the overlay's client origin, and the
    // notification after each capture (nothing to do here).
    [[nodiscard]] vx::TPoint GetOverlayOrigin() const;
    void DrawCaptured() {}

    // The range in the overlay's client coordinates.
    vx::TRect FRangeRect{};

private:
    wapi::HWND FDesktopWnd = nullptr;
    wapi::HDC FDesktopDC = nullptr;
    bool FDrawEnabled = false;
};

extern TMainForm* MainForm;
