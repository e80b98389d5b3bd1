// SPDX-License-Identifier: MIT
// The about dialog: product, version, rights notice and two web links.
#pragma once

#include "gui/ExtCtrls.h"
#include "gui/Form.h"
#include "gui/StdCtrls.h"

class TVersionForm : public vx::TForm {
public:
    explicit TVersionForm(vx::TComponent* Owner);
    [[nodiscard]] const char* ClassName() const override { return "TVersionForm"; }

    vx::TButton* OKButton = nullptr;
    vx::TLabel* Label3 = nullptr;
    vx::TLabel* URLLabel = nullptr;
    vx::TLabel* Label7 = nullptr;
    vx::TLabel* Label8 = nullptr;
    vx::TLabel* Label9 = nullptr;
    vx::TLabel* Label10 = nullptr;
    vx::TLabel* Label11 = nullptr;
    vx::TShape* Shape1 = nullptr;
    vx::TImage* Image2 = nullptr;

    void FormCreate(vx::TObject* Sender);
    void FormShow(vx::TObject* Sender);
    void URLLabelClick(vx::TObject* Sender);
    void FormKeyPress(vx::TObject* Sender, char16_t& Key);
};

extern TVersionForm* VersionForm;
