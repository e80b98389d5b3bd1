// SPDX-License-Identifier: MIT
// Behaviour of the GUI layer that the program relies on: timers, modal runs, closing,
// exceptions in handlers and references that must not dangle.
#include "gui/Application.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Timer.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace hl = vx::headless;
using namespace vx;

namespace {

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        RecreateApplication();
    }
    void TearDown() override {
        RecreateApplication();
        hl::Reset();
    }
    static void Run(uint64_t ms) {
        const uint64_t end = hl::Now() + ms;
        while (hl::Now() < end) {
            hl::Advance(1);
            hl::Pump();
        }
    }
};

TEST_F(GuiTest, SwitchingATimerOffAndOnStartsAWholeInterval) {
    TTimer timer(nullptr);
    std::vector<uint64_t> ticks;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) { ticks.push_back(hl::Now()); });
    Run(150);
    timer.SetEnabled(false);
    timer.SetEnabled(true); // at 150: the next tick is due at 250, not 200
    Run(150);
    timer.SetInterval(30); // at 300: due at 330
    Run(40);
    EXPECT_EQ(ticks, (std::vector<uint64_t>{100, 250, 330}));
    timer.SetEnabled(false);
    Run(200);
    EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(GuiTest, ExceptionInAHandlerIsShownAndTheLoopGoesOn) {
    auto* form = new TForm(Application);
    auto* timer = new TTimer(form);
    int calls = 0;
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) {
        if (++calls == 1) {
            throw Exception(u"first tick failed");
        }
        if (calls == 3) {
            Application->Terminate();
        }
    });
    Application->Run();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(hl::MessageBoxes(), (std::vector<std::u16string>{u"first tick failed"}));
}

TEST_F(GuiTest, ModalRunEndsWithTheResultAndClosingGivesCancel) {
    auto* main = new TForm(Application);
    auto* dialog = new TForm(Application);
    main->SetVisible(true);
    struct Case {
        std::function<void()> Action;
        TModalResult Expected;
    } cases[] = {
        {[&] { dialog->SetModalResult(mrOk); }, mrOk},
        {[&] { dialog->Close(); }, mrCancel},
        {[&] { hl::RequestClose(dialog->Handle()); }, mrCancel},
    };
    for (const Case& c : cases) {
        bool mainDisabled = false;
        hl::After(5, [&] {
            mainDisabled = !hl::Window(main->Handle())->Enabled;
            c.Action();
        });
        EXPECT_EQ(dialog->ShowModal(), c.Expected);
        EXPECT_TRUE(mainDisabled) << "other forms are disabled during the run";
        EXPECT_TRUE(hl::Window(main->Handle())->Enabled);
        EXPECT_FALSE(dialog->Visible());
    }
    EXPECT_TRUE(main->Visible()) << "closing a modal form never ends the application";
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(GuiTest, ClosingTheMainFormAsksOnCloseQueryAndEndsTheLoop) {
    hl::SetTextResource("TForm", "object Main: TForm\nend\n");
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    int asked = 0;
    main->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asked > 1; };
    hl::At(10, [&] { hl::RequestClose(main->Handle()); });
    hl::At(20, [&] { hl::RequestClose(main->Handle()); });
    Application->Run();
    EXPECT_EQ(asked, 2) << "the first refusal kept the application running";
    EXPECT_GE(hl::Now(), 20u);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(GuiTest, PopupMenuReferenceIsClearedWhenTheMenuGoes) {
    auto* form = new TForm(Application);
    auto* menu = new TPopupMenu(form);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetPopupMenu(menu);
    form->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(label->PopupMenu(), nullptr);
    EXPECT_EQ(form->PopupMenu(), nullptr);
    hl::RightClick(form->ClientToScreen({5, 5}));
    form->SetVisible(true);
    hl::Pump(); // a right click finds no menu and nothing breaks
    EXPECT_TRUE(hl::ShownMenus().empty());
}

} // namespace
