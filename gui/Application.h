// SPDX-License-Identifier: MIT
// The application object: creates the forms, runs the message loop and shows exceptions.
#pragma once

#include "gui/Component.h"
#include "gui/Exception.h"
#include "gui/Form.h"

#include <memory>

namespace vx {

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    [[nodiscard]] const char* ClassName() const override { return "TApplication"; }

    // When set, the task-bar button belongs to the main form.
    bool MainFormOnTaskBar = false;
    std::u16string Title = u"Orvalen";

    void Initialize();
    // Creates a form owned by the application and sets `reference` to it before its
    // description is read; the first form created becomes the main form.
    template <class T> void CreateForm(T*& reference);
    [[nodiscard]] TForm* MainForm() const { return FMainForm; }

    // Shows the main form and handles messages until the application terminates.
    void Run();
    void HandleMessage();
    void ProcessMessages();
    void Terminate();
    [[nodiscard]] bool Terminated() const { return FTerminated; }

    void ShowException(const Exception& e);
    // Shows the exception being handled; called from a catch block.
    void HandleException();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    class Sink;
    std::unique_ptr<Sink> FSink;
};

// The one application object of the process.
extern TApplication* Application;

// Replaces the application object with a fresh one, destroying every form; used at
// process exit and between independent runs in one process.
void RecreateApplication();

template <class T> void TApplication::CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    try {
        form->InitializeFromDescription();
    } catch (...) {
        reference = nullptr;
        delete form;
        throw;
    }
    if (FMainForm == nullptr) {
        FMainForm = form;
    }
}

} // namespace vx
