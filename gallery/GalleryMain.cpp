// SPDX-License-Identifier: MIT
// The process entry of Gallery.exe.
#include "gallery/GalleryFrm.h"
#include "platform/api.h"

extern "C" int VX_WINAPI WinMain(wapi::HINSTANCE, wapi::HINSTANCE, char*, int) {
    return RunGallery();
}
