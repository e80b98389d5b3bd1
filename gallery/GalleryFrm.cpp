// SPDX-License-Identifier: MIT
#include "gallery/GalleryFrm.h"

#include "gui/Application.h"

TGalleryForm* GalleryForm = nullptr;

using namespace vx;

TGalleryForm::TGalleryForm(TComponent* Owner) : TForm(Owner) {
    Published("IntegerEdit", IntegerEdit);
    Published("RealEdit", RealEdit);
    Published("MailEdit", MailEdit);
    Published("ReadOnlyEdit", ReadOnlyEdit);
}

int RunGallery() {
    try {
        Application->Initialize();
        Application->MainFormOnTaskBar = true;
        edit::RegisterEditControls();
        Application->CreateForm(GalleryForm);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
