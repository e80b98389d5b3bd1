// SPDX-License-Identifier: MIT
#include "gallery/GalleryFrm.h"

#include "controls/button/Register.h"
#include "gui/Application.h"
#include "gui/Text.h"

#include <string>

TGalleryForm* GalleryForm = nullptr;

using namespace vx;

TGalleryForm::TGalleryForm(TComponent* Owner) : TForm(Owner) {
    Published("IntegerEdit", IntegerEdit);
    Published("RealEdit", RealEdit);
    Published("MailEdit", MailEdit);
    Published("ReadOnlyEdit", ReadOnlyEdit);
    Published("DefaultButton", DefaultButton);
    Published("PictureLeftButton", PictureLeftButton);
    Published("PictureCentreButton", PictureCentreButton);
    Published("PictureRightButton", PictureRightButton);
    Published("GlyphButton", GlyphButton);
    Published("LongButton", LongButton);
    Handler("FormCreate", &TGalleryForm::FormCreate);
    Handler("ButtonClick", &TGalleryForm::ButtonClick);
    Handler("MenuItemClick", &TGalleryForm::MenuItemClick);
    Handler("LongButtonLongPress", &TGalleryForm::LongButtonLongPress);
}

void TGalleryForm::FormCreate(TObject*) {
    // A small diamond on white; white is the transparent colour (the bottom-left pixel).
    TPicture picture;
    TBitmap& bitmap = picture.Bitmap();
    bitmap.SetSize(16, 16);
    TCanvas& c = bitmap.Canvas();
    c.Brush.SetColor(clWhite);
    c.FillRect({0, 0, 16, 16});
    c.Brush.SetColor(0x2060D0);
    for (int row = 0; row < 16; ++row) {
        const int half = row < 8 ? row : 15 - row;
        c.FillRect({7 - half, row, 9 + half, row + 1});
    }
    const std::pair<button::TCuteButton*, TAlignment> layouts[] = {
        {PictureLeftButton, taLeftJustify},
        {PictureCentreButton, taCenter},
        {PictureRightButton, taRightJustify},
    };
    for (const auto& [button, alignment] : layouts) {
        button->SetAlignment(alignment);
        button->SetPicture(picture);
    }
    GlyphButton->SetGlyph(bitmap);
}

void TGalleryForm::ShowEvent(const std::string& what) {
    SetCaption(Utf8To16("Vexelo Gallery: " + what + " " + std::to_string(++FEvents)));
}

void TGalleryForm::ButtonClick(TObject* Sender) {
    ShowEvent(dynamic_cast<TComponent*>(Sender)->Name() + " clicked");
}

void TGalleryForm::MenuItemClick(TObject* Sender) {
    ShowEvent(dynamic_cast<TComponent*>(Sender)->Name() + " chosen");
}

void TGalleryForm::LongButtonLongPress(TObject*, TMouseButton, TShiftState, int, int) {
    ShowEvent("LongButton long press");
}

int RunGallery() {
    try {
        Application->Initialize();
        Application->MainFormOnTaskBar = true;
        edit::RegisterEditControls();
        button::RegisterButtonControls();
        Application->CreateForm(GalleryForm);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
