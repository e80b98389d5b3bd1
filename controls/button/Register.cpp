// SPDX-License-Identifier: MIT
#include "controls/button/Register.h"

#include "controls/button/BitBtn2.h"
#include "controls/button/Borderspeedbutton.h"
#include "controls/button/CuteBtn.h"
#include "controls/button/Speedbutton2.h"
#include "gui/Classes.h"

namespace vx::button {

void RegisterButtonControls() {
    RegisterComponentClass<TCuteButton>("TCuteButton");
    RegisterComponentClass<TBitBtn2>("TBitBtn2");
    RegisterComponentClass<TBorderSpeedButton>("TBorderSpeedButton");
    RegisterComponentClass<TSpeedButton2>("TSpeedButton2");
}

} // namespace vx::button
