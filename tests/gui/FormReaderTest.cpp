// SPDX-License-Identifier: MIT
// Form descriptions: what is read, and how a bad one is refused.
#include "gui/FormReader.h"
#include "gui/Application.h"
#include "gui/ExtCtrls.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Text.h"
#include "gui/Timer.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace hl = vx::headless;
using namespace vx;

namespace {

TEST(FormDescriptionTest, ReadsNestedObjectsAndEveryKindOfValue) {
    const FormNode root = ParseFormDescription("object F: TFoo // a comment\n"
                                               "  Caption = 'it''s 範囲'\n"
                                               "  Left = -300\n"
                                               "  Color = $00FF8080\n"
                                               "  Icons = [biSystemMenu, biHelp]\n"
                                               "  Empty = []\n"
                                               "  Font.Style = [fsBold]\n"
                                               "  OnCreate = FormCreate\n"
                                               "  object A: TBar\n"
                                               "    object B: TBaz\n"
                                               "    end\n"
                                               "  end\n"
                                               "end\n");
    EXPECT_EQ(root.Name, "F");
    EXPECT_EQ(root.ClassName, "TFoo");
    ASSERT_EQ(root.Properties.size(), 7u);
    EXPECT_EQ(root.Properties[0].Value.Text, u"it's 範囲");
    EXPECT_EQ(root.Properties[1].Value.Int, -300);
    EXPECT_EQ(root.Properties[2].Value.Int, 0x00FF8080);
    EXPECT_EQ(root.Properties[3].Value.Items, (std::vector<std::string>{"biSystemMenu", "biHelp"}));
    EXPECT_TRUE(root.Properties[4].Value.Items.empty());
    EXPECT_EQ(root.Properties[5].Name, "Font.Style");
    EXPECT_EQ(root.Properties[6].Value.Ident, "FormCreate");
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].Children[0].Name, "B");
    EXPECT_EQ(root.Children[0].Children[0].Line, 10);
}

struct BadText {
    const char* Name;
    std::string Text;
    const char* Message;
};

void PrintTo(const BadText& c, std::ostream* os) {
    *os << c.Name;
}

class FormDescriptionErrors : public ::testing::TestWithParam<BadText> {};

TEST_P(FormDescriptionErrors, AreRefusedNamingTheLine) {
    try {
        ParseFormDescription(GetParam().Text);
        FAIL() << "accepted";
    } catch (const EFormError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().Message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormDescriptionErrors,
    ::testing::Values(
        BadText{"Empty", "", "line 1: a name was expected"},
        BadText{"NotAnObject", "thing F: T\nend\n", "line 1: 'object' was expected"},
        BadText{"MissingEnd", "object F: T\n  Left = 1\n", "line 3: 'end' is missing"},
        BadText{"MissingColon", "object F T\nend\n", "line 1: ':' was expected"},
        BadText{"UnclosedString", "object F: T\n  Caption = 'abc\nend\n", "line 2: a string"},
        BadText{"MissingValue", "object F: T\n  Left =\nend\n", "line 2: a value was expected"},
        BadText{"UnclosedSet", "object F: T\n  S = [a, b\nend\n", "line 3: ']' was expected"},
        BadText{"NumberTooLarge", "object F: T\n  Left = 99999999999999999999\nend\n",
                "line 2: a number is too large"},
        BadText{"BareMinus", "object F: T\n  Left = -\nend\n", "line 2: a number was expected"},
        BadText{"TrailingText", "object F: T\nend\nobject G: T\nend\n", "text after the final"},
        BadText{"TooDeep",
                [] {
                    std::string s;
                    for (int i = 0; i < 40; ++i) {
                        s += "object A: T\n";
                    }
                    return s;
                }(),
                "nested too deeply"}),
    [](const ::testing::TestParamInfo<BadText>& info) { return info.param.Name; });

// A form that names its parts and handlers, read through the real creation path.
class SampleForm : public TForm {
public:
    explicit SampleForm(TComponent* owner) : TForm(owner) {
        Published("Tick", Tick);
        Published("Caption1", Caption1);
        Handler("FormCreate", &SampleForm::FormCreate);
        Handler("TickTimer", &SampleForm::TickTimer);
        Handler("FormCloseQuery", &SampleForm::FormCloseQuery);
    }
    [[nodiscard]] const char* ClassName() const override { return "TSampleForm"; }
    TTimer* Tick = nullptr;
    TLabel* Caption1 = nullptr;
    int Created = 0;
    int Ticks = 0;
    void FormCreate(TObject*) { ++Created; }
    void TickTimer(TObject*) { ++Ticks; }
    void FormCloseQuery(TObject*, bool&) {}
};

class FormLoading : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        RecreateApplication();
    }
    void TearDown() override {
        RecreateApplication();
        hl::Reset();
    }
    static std::u16string CreateError(const std::string& text) {
        hl::SetTextResource("TSampleForm", text);
        SampleForm* form = nullptr;
        try {
            Application->CreateForm(form);
        } catch (const Exception& e) {
            EXPECT_EQ(form, nullptr) << "a failed form is not left behind";
            return e.Message();
        }
        return u"";
    }
};

TEST_F(FormLoading, BindsFieldsAndHandlersThenRunsOnCreate) {
    hl::SetTextResource("TSampleForm", "object Sample: TSampleForm\n"
                                       "  OnCreate = FormCreate\n"
                                       "  object Caption1: TLabel\n"
                                       "    Caption = 'hello'\n"
                                       "    Font.Style = [fsBold, fsUnderline]\n"
                                       "  end\n"
                                       "  object Tick: TTimer\n"
                                       "    Interval = 40\n"
                                       "    OnTimer = TickTimer\n"
                                       "  end\n"
                                       "end\n");
    SampleForm* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Created, 1);
    EXPECT_EQ(form->Caption1->Caption(), u"hello");
    EXPECT_EQ(form->Caption1->Font().Style(), fsBold | fsUnderline);
    EXPECT_FALSE(form->Caption1->ParentFont());
    EXPECT_EQ(form->Caption1->Parent(), form);
    EXPECT_EQ(Application->MainForm(), form);
    hl::Advance(120);
    hl::Pump();
    EXPECT_EQ(form->Ticks, 1) << "ticks are delivered one at a time by the loop";
}

TEST_F(FormLoading, RefusesDescriptionsThatDoNotFitTheForm) {
    const std::string head = "object Sample: TSampleForm\n";
    const std::string parts = "  object Caption1: TLabel\n  end\n  object Tick: TTimer\n  end\n";
    struct Case {
        std::string Text;
        const char16_t* Message;
    } cases[] = {
        {"object Sample: TOtherForm\nend\n", u"is for class TOtherForm"},
        {head + parts + "  Colour = clRed\nend\n", u"TSampleForm has no property Colour"},
        {head + parts + "  OnCreate = Missing\nend\n", u"no handler Missing"},
        {head + parts + "  OnCloseQuery = FormCreate\nend\n",
         u"no handler FormCreate of the right kind"},
        {head + parts + "  object X: TNoSuchClass\n  end\nend\n", u"unknown class TNoSuchClass"},
        {head + "  object Caption1: TTimer\n  end\n  object Tick: TTimer\n  end\nend\n",
         u"no suitable component Caption1"},
        {head + parts + "  object Tick: TTimer\n  end\nend\n", u"a second component named Tick"},
        {head + parts + "  Left = 'x'\nend\n", u"a 32-bit integer was expected"},
        {head + parts + "  Color = clPurpleish\nend\n", u"unknown colour clPurpleish"},
        {head + parts + "  BorderIcons = [biSideways]\nend\n", u"unknown set member biSideways"},
        {head + parts + "  PopupMenu = Tick\nend\n", u"Tick is not a popup menu"},
        {head + "  object T: TTimer\n    object L: TLabel\n    end\n  end\n" + parts + "end\n",
         u"L cannot be placed on T"},
    };
    for (const Case& c : cases) {
        const std::u16string message = CreateError(c.Text);
        EXPECT_NE(message.find(c.Message), std::u16string::npos) << Utf16To8(message) << "\n for:\n"
                                                                 << c.Text;
    }
    EXPECT_EQ(Application->ComponentCount(), 0);
}

} // namespace
