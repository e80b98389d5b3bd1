// SPDX-License-Identifier: MIT
// A form that shows the library's controls with representative settings.
#pragma once

#include "controls/button/BitBtn2.h"
#include "controls/button/Borderspeedbutton.h"
#include "controls/button/CuteBtn.h"
#include "controls/button/Speedbutton2.h"
#include "controls/edit/BaseEdit.h"
#include "gui/Form.h"
#include "gui/StdCtrls.h"

class TGalleryForm : public vx::TForm {
public:
    explicit TGalleryForm(vx::TComponent* Owner);
    [[nodiscard]] const char* ClassName() const override { return "TGalleryForm"; }

    vx::edit::TBaseEdit* IntegerEdit = nullptr;
    vx::edit::TBaseEdit* RealEdit = nullptr;
    vx::edit::TBaseEdit* MailEdit = nullptr;
    vx::edit::TBaseEdit* ReadOnlyEdit = nullptr;
    vx::button::TCuteButton* DefaultButton = nullptr;
    vx::button::TCuteButton* PictureLeftButton = nullptr;
    vx::button::TCuteButton* PictureCentreButton = nullptr;
    vx::button::TCuteButton* PictureRightButton = nullptr;
    vx::button::TBitBtn2* GlyphButton = nullptr;
    vx::button::TBorderSpeedButton* LongButton = nullptr;

    void FormCreate(vx::TObject* Sender);
    // Every button's click and every menu choice shows in the caption, with a running count.
    // LongButton shows only its long press, which its click would at once overwrite.
    void ButtonClick(vx::TObject* Sender);
    void MenuItemClick(vx::TObject* Sender);
    void LongButtonLongPress(vx::TObject* Sender, vx::TMouseButton Button, vx::TShiftState Shift,
                             int X, int Y);

private:
    int FEvents = 0;
    void ShowEvent(const std::string& what);
};

extern TGalleryForm* GalleryForm;

// Registers the library's controls, creates the gallery and runs it until it is closed.
int RunGallery();
