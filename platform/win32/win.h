// SPDX-License-Identifier: MIT
// <windows.h> for the win32 backend: our headers first, then the system's, minus the macros
// that would rename our own functions.
#pragma once

#include "platform/backend.h"

#include <windows.h>

#undef CreateWindow
#undef DrawText

namespace vx::win32 {

inline ::HWND W(wapi::HWND h) {
    return reinterpret_cast<::HWND>(h);
}
inline wapi::HWND H(::HWND h) {
    return reinterpret_cast<wapi::HWND>(h);
}
inline ::HDC D(wapi::HDC h) {
    return reinterpret_cast<::HDC>(h);
}
inline const wchar_t* Wide(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}

// Fonts are made once per description and live as long as the process.
HFONT FontFor(const backend::FontDesc& font);

// Hands an event to the GUI layer; false when no one listens.
bool SendToSink(backend::Event& event);
void SetSink(backend::EventSink* sink);
uint32_t KeyShiftState();
// Hands a key or character message to the GUI layer. True when it was used up (or a refused
// character dropped); a character the layer changed comes back in `wp`.
bool SendKey(::HWND hwnd, UINT msg, WPARAM& wp);

// The system's edit, subclassed; and the colours its parent answers for it.
::HWND CreateEdit(const backend::WindowParams& params);
bool ControlColor(::HWND control, ::HDC dc, LRESULT& brush);

} // namespace vx::win32
