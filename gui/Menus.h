// SPDX-License-Identifier: MIT
#pragma once

#include "gui/Component.h"

#include <vector>

namespace vx {

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
    ~TMenuItem() override;
    [[nodiscard]] const char* ClassName() const override { return "TMenuItem"; }

    TNotifyEvent OnClick;
    [[nodiscard]] const std::u16string& Caption() const { return FCaption; }
    void SetCaption(std::u16string value) { FCaption = std::move(value); }
    [[nodiscard]] bool IsLine() const { return FCaption == u"-"; }
    [[nodiscard]] bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    [[nodiscard]] bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    [[nodiscard]] int Count() const { return int(FItems.size()); }
    [[nodiscard]] TMenuItem* Items(int index) const { return FItems.at(size_t(index)); }
    virtual void Click();

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

private:
    std::u16string FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParentItem = nullptr;
    std::vector<TMenuItem*> FItems; // not owned: items belong to the form
    friend class TPopupMenu;
};

// A menu shown at a screen point, typically on a right click.
class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    [[nodiscard]] const char* ClassName() const override { return "TPopupMenu"; }

    TNotifyEvent OnPopup;
    [[nodiscard]] TMenuItem& Items() { return *FItems; }
    void Add(TMenuItem* item) { FItems->Add(item); }
    [[nodiscard]] bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control whose right click opened the menu.
    [[nodiscard]] TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
    // Shows the menu modally; the chosen item's OnClick runs before this returns.
    virtual void Popup(int X, int Y);

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

private:
    TMenuItem* FItems; // owned through the component list
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

} // namespace vx
