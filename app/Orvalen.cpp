// SPDX-License-Identifier: MIT
#include "app/Orvalen.h"

#include "app/MainFrm.h"
#include "app/SelectRangeFrm.h"
#include "app/VersionFrm.h"
#include "gui/Application.h"

using namespace vx;

int RunOrvalen() {
    try {
        Application->Initialize();
        Application->MainFormOnTaskBar = true;
        Application->CreateForm(MainForm);
        Application->CreateForm(SelectRangeForm);
        Application->CreateForm(VersionForm);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        // Anything else is shown as an exception without a message.
        try {
            throw Exception(u"");
        } catch (const Exception& e) {
            Application->ShowException(e);
        }
    }
    return 0;
}
