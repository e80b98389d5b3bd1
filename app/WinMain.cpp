// SPDX-License-Identifier: MIT
// The process entry of Orvalen.exe. Its arguments are not used: every start is the same.
#include "app/Orvalen.h"
#include "platform/api.h"

extern "C" int VX_WINAPI WinMain(wapi::HINSTANCE, wapi::HINSTANCE, char*, int) {
    return RunOrvalen();
}
