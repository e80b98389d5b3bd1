// SPDX-License-Identifier: MIT
// The single-line edit of the in-memory machine: text, selection, caret and typing.
#include "platform/headless/state.h"

#include <algorithm>

namespace vx::headless::detail {

void NotifyChanged(Win& edit) {
    backend::Event e{.Kind = backend::EventKind::Changed, .Window = edit.Info.Handle};
    if (M().Sink != nullptr) {
        M().Sink->Dispatch(e);
    }
}

namespace {

void Replace(Win& w, const std::u16string& with) {
    const int len = int(w.Text.size());
    const int start = std::clamp(w.SelStart, 0, len);
    const int count = std::clamp(w.SelLength, 0, len - start);
    w.Text.replace(size_t(start), size_t(count), with);
    w.SelStart = start + int(with.size());
    w.SelLength = 0;
    NotifyChanged(w);
}

} // namespace

void EditDefault(Win& w, const backend::Event& e) {
    const int len = int(w.Text.size());
    if (e.Kind == backend::EventKind::Char) {
        if (e.Char == 0 || w.ReadOnly) {
            return;
        }
        if (e.Char == 8) { // Backspace: the selection, or the unit before the caret
            if (w.SelLength == 0 && w.SelStart > 0) {
                --w.SelStart;
                w.SelLength = 1;
            }
            if (w.SelLength > 0) {
                Replace(w, u"");
            }
        } else if (e.Char >= 32) {
            Replace(w, std::u16string(1, e.Char));
        }
        return;
    }
    if (e.Kind != backend::EventKind::KeyDown) {
        return;
    }
    switch (e.Key) {
    case 0x24: // Home
        w.SelStart = 0, w.SelLength = 0;
        break;
    case 0x23: // End
        w.SelStart = len, w.SelLength = 0;
        break;
    case 0x25: // Left
        w.SelStart = std::max(0, w.SelStart - 1), w.SelLength = 0;
        break;
    case 0x27: // Right
        w.SelStart = std::min(len, w.SelStart + w.SelLength + 1), w.SelLength = 0;
        break;
    case 0x2E: // Delete
        if (!w.ReadOnly) {
            if (w.SelLength == 0 && w.SelStart < len) {
                w.SelLength = 1;
            }
            if (w.SelLength > 0) {
                Replace(w, u"");
            }
        }
        break;
    default:
        break;
    }
}

} // namespace vx::headless::detail

namespace vx::backend {

using namespace vx::headless::detail;

std::u16string GetText(wapi::HWND edit) {
    const Win* w = Find(edit);
    return w != nullptr ? w->Text : u"";
}

void SetText(wapi::HWND edit, const std::u16string& text) {
    Win* w = Find(edit);
    if (w == nullptr) {
        return;
    }
    w->Text = text;
    w->SelStart = 0;
    w->SelLength = 0;
    w->Dirty = true;
    NotifyChanged(*w);
}

void GetSelection(wapi::HWND edit, int& start, int& length) {
    const Win* w = Find(edit);
    start = w != nullptr ? w->SelStart : 0;
    length = w != nullptr ? w->SelLength : 0;
}

void SetSelection(wapi::HWND edit, int start, int length) {
    Win* w = Find(edit);
    if (w == nullptr) {
        return;
    }
    const int len = int(w->Text.size());
    w->SelStart = std::clamp(start, 0, len);
    w->SelLength = std::clamp(length, 0, len - w->SelStart);
}

void SetReadOnly(wapi::HWND edit, bool readOnly) {
    if (Win* w = Find(edit)) {
        w->ReadOnly = readOnly;
    }
}

void SetColors(wapi::HWND control, TColor background, TColor text) {
    if (Win* w = Find(control)) {
        w->Background = background;
        w->TextColor = text;
        w->Dirty = true;
    }
}

void SetFont(wapi::HWND, const FontDesc&) {}

} // namespace vx::backend
