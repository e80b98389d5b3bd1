// SPDX-License-Identifier: MIT
#include "app/VersionFrm.h"

#include "platform/api.h"

TVersionForm* VersionForm = nullptr;

using namespace vx;

TVersionForm::TVersionForm(TComponent* Owner) : TForm(Owner) {
    Published("OKButton", OKButton);
    Published("Label3", Label3);
    Published("URLLabel", URLLabel);
    Published("Label7", Label7);
    Published("Label8", Label8);
    Published("Label9", Label9);
    Published("Label10", Label10);
    Published("Label11", Label11);
    Published("Shape1", Shape1);
    Published("Image2", Image2);
    Handler("FormCreate", &TVersionForm::FormCreate);
    Handler("FormShow", &TVersionForm::FormShow);
    Handler("URLLabelClick", &TVersionForm::URLLabelClick);
    Handler("FormKeyPress", &TVersionForm::FormKeyPress);
}

void TVersionForm::FormCreate(TObject*) {}

void TVersionForm::FormShow(TObject*) {}

void TVersionForm::URLLabelClick(TObject* Sender) {
    const wapi::HWND owner = Handle();
    auto* label = dynamic_cast<TLabel*>(Sender);
    const std::u16string caption = label != nullptr ? label->Caption() : std::u16string();
    // The caption is only ever the item to open: no command line, no format string.
    wapi::ShellExecuteW(owner, u"open", caption.c_str(), u"", u"", wapi::SW_SHOW);
}

void TVersionForm::FormKeyPress(TObject*, char16_t& Key) {
    if (Key == 27) {
        Close();
    }
}
