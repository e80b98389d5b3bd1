// SPDX-License-Identifier: MIT
// Forms: top-level windows laid out by a form description.
#pragma once

#include "gui/Control.h"
#include "gui/FormReader.h"

#include <any>
#include <map>
#include <string>

namespace vx {

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    [[nodiscard]] const char* ClassName() const override { return "TForm"; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseQueryEvent OnCloseQuery;

    // Reads the form description stored under ClassName(), binds the published fields and
    // handlers, then runs OnCreate. Throws EFormError when the description is missing or wrong.
    void InitializeFromDescription();

    [[nodiscard]] TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    [[nodiscard]] TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value) { FBorderIcons = value; }
    [[nodiscard]] TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value) { FFormStyle = value; }
    [[nodiscard]] TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    [[nodiscard]] bool AlphaBlend() const { return FAlphaBlend; }
    [[nodiscard]] int AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlend(bool value);
    void SetAlphaBlendValue(int value);
    [[nodiscard]] bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    // The group icon resource shown in the caption and the task bar, if any.
    [[nodiscard]] const std::string& Icon() const { return FIcon; }
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    [[nodiscard]] TRect ClientRect() const override;
    [[nodiscard]] TPoint ClientToScreen(TPoint point) const override;

    void SetVisible(bool value) override;
    [[nodiscard]] bool Showing() const override { return FVisible; }
    // Runs the form until ModalResult is set; closing it sets mrCancel.
    TModalResult ShowModal();
    [[nodiscard]] TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    [[nodiscard]] bool Modal() const { return FModal; }
    // Asks OnCloseQuery; a modal form ends its run with mrCancel, the main form ends the
    // application, any other form hides.
    void Close();
    bool CloseQuery();

    // The canvas of the form's window.
    TCanvas& Canvas();

    void ReadProperty(TReader& reader, std::string_view name, const FormValue& value) override;

    template <class Event> Event FindHandler(const std::string& name) const;

    // Keys arrive here first when KeyPreview is set; they return whether the key was used up.
    void PreviewKeyDown(uint16_t& key, TShiftState shift);
    void PreviewChar(char16_t& key);
    // Tab, Enter and Escape go to the controls as CM_DIALOGKEY first (the default and the
    // cancel button answer them); a Tab that none used moves the focus. Clears a used key.
    void DialogKey(uint16_t& key, TShiftState shift);
    // Offers a typed character to the controls' accelerators; true if one took it.
    bool DialogChar(char16_t ch);
    // The focus moved to `control`: every control hears of it through CM_FOCUSCHANGED.
    void FocusChanged(TWinControl* control);
    // The control that has (or last had) the focus in this form.
    [[nodiscard]] TWinControl* ActiveControl() const { return FActiveControl; }
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool forward);

protected:
    void CreateParams(backend::WindowParams& params) override;
    void CreateHandle() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Registers a handler that the form description may bind to an event by name.
    template <class Form, class... Args>
    void Handler(const std::string& name, void (Form::*method)(Args...));
    // Registers a field that is set to the description's component of that name.
    template <class T> void Published(const std::string& name, T*& field);

    virtual void DoShow();
    virtual void DoHide();
    void TextChanged() override;

private:
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
    bool FKeyPreview = false;
    std::string FIcon;
    TModalResult FModalResult = mrNone;
    TWinControl* FActiveControl = nullptr;
    bool FModal = false;
    std::map<std::string, std::any> FHandlers;
    std::vector<std::pair<std::string, std::function<bool(TComponent*)>>> FFields;

    [[nodiscard]] backend::WindowParams FrameParams() const;
    void ApplyPosition();
    void CreateComponents(const FormNode& node, TComponent* parent, TReader& reader,
                          std::vector<std::pair<TComponent*, const FormNode*>>& created);
};

template <class Form, class... Args>
void TForm::Handler(const std::string& name, void (Form::*method)(Args...)) {
    auto* self = static_cast<Form*>(this);
    FHandlers[name] = std::function<void(Args...)>(
        [self, method](Args... args) { (self->*method)(std::forward<Args>(args)...); });
}

template <class T> void TForm::Published(const std::string& name, T*& field) {
    FFields.emplace_back(name, [&field](TComponent* c) {
        field = dynamic_cast<T*>(c);
        return field != nullptr;
    });
}

template <class Event> Event TForm::FindHandler(const std::string& name) const {
    auto it = FHandlers.find(name);
    if (it == FHandlers.end()) {
        return nullptr;
    }
    const Event* handler = std::any_cast<Event>(&it->second);
    return handler != nullptr ? *handler : nullptr;
}

template <class Event> Event TReader::Handler(const FormValue& v) const {
    Event e = FRoot.FindHandler<Event>(Ident(v));
    if (!e) {
        Fail(v, "no handler " + v.Ident + " of the right kind");
    }
    return e;
}

} // namespace vx
