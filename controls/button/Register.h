// SPDX-License-Identifier: MIT
// Makes the library's buttons known to form descriptions.
#pragma once

namespace vx::button {

// Registers TCuteButton, TBitBtn2, TBorderSpeedButton and TSpeedButton2.
void RegisterButtonControls();

} // namespace vx::button
