// SPDX-License-Identifier: MIT
// A form that shows the library's controls with representative settings.
#pragma once

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
};

extern TGalleryForm* GalleryForm;

// Registers the library's controls, creates the gallery and runs it until it is closed.
int RunGallery();
