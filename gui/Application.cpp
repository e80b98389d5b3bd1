// SPDX-License-Identifier: MIT
#include "gui/Application.h"

#include "gui/Dispatch.h"
#include "gui/Text.h"
#include "gui/Thread.h"

namespace vx {

TApplication* Application = nullptr;

namespace {

std::unique_ptr<TApplication>& Instance() {
    static std::unique_ptr<TApplication> instance = [] {
        auto app = std::make_unique<TApplication>();
        Application = app.get();
        return app;
    }();
    return instance;
}

// The application object exists before any code of the program runs, as the program expects.
const bool created = (Instance(), true);

} // namespace

void RecreateApplication() {
    Instance().reset();
    Application = nullptr;
    Instance() = std::make_unique<TApplication>();
    Application = Instance().get();
}

class TApplication::Sink final : public EventRouter {};

TApplication::TApplication() : TComponent(nullptr), FSink(std::make_unique<Sink>()) {
    backend::SetEventSink(FSink.get());
}

TApplication::~TApplication() {
    DestroyComponents();
    backend::SetEventSink(nullptr);
}

void TApplication::Initialize() {}

void TApplication::Run() {
    if (FMainForm != nullptr) {
        FMainForm->SetVisible(true);
    }
    while (!FTerminated) {
        HandleMessage();
    }
}

// Procedures handed over by worker threads count as messages: they are served before the loop
// waits, and a hand-over wakes a waiting loop (backend::WakeMainThread).
void TApplication::HandleMessage() {
    if (CheckSynchronize() > 0) {
        return;
    }
    if (backend::ProcessMessage(true) == backend::Pumped::Quit) {
        FTerminated = true;
    }
    CheckSynchronize();
}

void TApplication::ProcessMessages() {
    for (;;) {
        const bool served = CheckSynchronize() > 0;
        const backend::Pumped p = backend::ProcessMessage(false);
        if (p == backend::Pumped::Quit) {
            FTerminated = true;
            return;
        }
        if (p == backend::Pumped::Nothing && !served) {
            return;
        }
    }
}

void TApplication::Terminate() {
    backend::PostQuit();
}

void TApplication::ShowException(const Exception& e) {
    backend::ShowMessageBox(FMainForm != nullptr ? FMainForm->HandleIfAllocated() : nullptr,
                            e.Message(), Title);
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const Exception& e) {
        ShowException(e);
    } catch (const std::exception& e) {
        ShowException(Exception(Utf8To16(e.what())));
    } catch (...) {
        ShowException(Exception(u""));
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent == FMainForm) {
        FMainForm = nullptr;
    }
}

} // namespace vx
