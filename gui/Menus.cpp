// SPDX-License-Identifier: MIT
#include "gui/Menus.h"

#include "gui/Form.h"
#include "gui/FormReader.h"

#include <algorithm>

namespace vx {

TMenuItem::~TMenuItem() {
    if (FParentItem != nullptr) {
        FParentItem->Remove(this);
    }
    for (TMenuItem* item : FItems) {
        item->FParentItem = nullptr;
    }
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->FParentItem != nullptr) {
        item->FParentItem->Remove(item);
    }
    item->FParentItem = this;
    FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    std::erase(FItems, item);
    item->FParentItem = nullptr;
}

void TMenuItem::Click() {
    if (OnClick && FEnabled) {
        OnClick(this);
    }
}

void TMenuItem::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "Caption") {
        SetCaption(reader.String(value));
    } else if (name == "Enabled") {
        SetEnabled(reader.Boolean(value));
    } else if (name == "Visible") {
        SetVisible(reader.Boolean(value));
    } else if (name == "OnClick") {
        OnClick = reader.Handler<TNotifyEvent>(value);
    } else {
        TComponent::ReadProperty(reader, name, value);
    }
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) {
        OnPopup(this);
    }
    std::vector<backend::MenuEntry> entries;
    std::vector<TMenuItem*> items;
    for (int i = 0; i < FItems->Count(); ++i) {
        TMenuItem* item = FItems->Items(i);
        if (item->Visible()) {
            items.push_back(item);
            entries.push_back({item->Caption(), int(items.size()), item->Enabled()});
        }
    }
    wapi::HWND owner = nullptr;
    if (auto* control = dynamic_cast<TControl*>(FPopupComponent)) {
        if (TForm* form = control->ParentForm()) {
            owner = form->Handle();
        }
    }
    const int chosen = backend::TrackPopupMenu(owner, entries, {X, Y});
    if (chosen > 0 && size_t(chosen) <= items.size()) {
        items[size_t(chosen) - 1]->Click();
    }
}

void TPopupMenu::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    if (name == "AutoPopup") {
        SetAutoPopup(reader.Boolean(value));
    } else if (name == "OnPopup") {
        OnPopup = reader.Handler<TNotifyEvent>(value);
    } else {
        TComponent::ReadProperty(reader, name, value);
    }
}

} // namespace vx
