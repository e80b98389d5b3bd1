// SPDX-License-Identifier: MIT
// The validated edit: its key filter, and what each focus change does to text and colour.
#include "controls/edit/BaseEdit.h"
#include "gui/Application.h"
#include "platform/headless/headless.h"

#include <gtest/gtest.h>

namespace hl = vx::headless;
using namespace vx;
using namespace vx::edit;

namespace {

struct FilterRow {
    TEditKeyFilter Filter;
    std::u16string Accepted;
    std::u16string Refused;
};

TEST(AcceptKeyTest, EachFilterAcceptsItsRowAndTheControlCharacters) {
    const FilterRow rows[] = {
        {TEditKeyFilter::None, u"aZ9 -_@あ１\u00e9", u""},
        {TEditKeyFilter::Alphanumeric, u"aZ09-_", u" .@/あ１"},
        {TEditKeyFilter::Number, u"09.", u"-/ a１"},
        {TEditKeyFilter::RealNumber, u"09.-", u"/ ,a１"},
        {TEditKeyFilter::PostCode, u"09-", u"./ a１"},
        {TEditKeyFilter::Date, u"09/", u"-. a１"},
        {TEditKeyFilter::Code, u"aZ09%*+-._", u"/@ ,!１"},
        {TEditKeyFilter::Telephone, u"09-", u"./ +１"},
        {TEditKeyFilter::Mail, u"a7z@.~!#$%&'*+-/=?^_`{|}", u"A Z\"(),:;<>[\\]１"},
        {TEditKeyFilter(42), u"aZ9 -あ", u""},
    };
    // Backspace, Tab, Enter, Escape, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z and the rest of 1..31.
    std::u16string controls;
    for (char16_t c = 1; c < 32; ++c) {
        controls += c;
    }
    for (const FilterRow& row : rows) {
        const int f = int(row.Filter);
        for (char16_t c : row.Accepted + controls) {
            EXPECT_TRUE(TBaseEdit::AcceptKey(row.Filter, c, false)) << f << " " << int(c);
        }
        for (char16_t c : row.Refused) {
            EXPECT_FALSE(TBaseEdit::AcceptKey(row.Filter, c, false)) << f << " " << int(c);
        }
        EXPECT_FALSE(TBaseEdit::AcceptKey(row.Filter, 0, false)) << f;
        EXPECT_FALSE(TBaseEdit::AcceptKey(row.Filter, 13, true)) << f << " Enter ignored";
        EXPECT_TRUE(TBaseEdit::AcceptKey(row.Filter, 8, true)) << f;
    }
}

// An edit and a neighbour to take the focus away, on a shown form.
class BaseEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        RecreateApplication();
        form = new TForm(Application);
        form->SetBounds(0, 0, 400, 200);
        edit = new TBaseEdit(form);
        edit->SetParent(form);
        other = new TBaseEdit(form);
        other->SetParent(form);
        other->SetTop(40);
        edit->OnChange = [this](TObject*) { ++changes; };
        edit->OnExit = [this](TObject*) { seenOnExit = edit->Text(); };
        edit->OnEnter = [this](TObject*) { seenOnEnter = edit->Text(); };
        form->SetVisible(true);
        other->SetFocus();
        hl::Pump();
    }
    void TearDown() override {
        RecreateApplication();
        hl::Reset();
    }

    void Enter() {
        changes = 0;
        edit->SetFocus();
        hl::Pump();
    }
    void Leave() {
        changes = 0;
        other->SetFocus();
        hl::Pump();
    }
    void Type(std::u16string_view text) {
        for (char16_t c : text) {
            hl::Char(c);
        }
        hl::Pump();
    }

    TForm* form = nullptr;
    TBaseEdit* edit = nullptr;
    TBaseEdit* other = nullptr;
    int changes = 0;
    std::u16string seenOnExit, seenOnEnter;
};

TEST_F(BaseEditTest, RefusedKeysAreDroppedAndOnKeyPressSeesOnlyAcceptedOnes) {
    edit->SetKeyFilter(TEditKeyFilter::Mail);
    std::u16string seen;
    edit->OnKeyPress = [&](TObject* sender, char16_t& key) {
        EXPECT_EQ(sender, edit);
        seen += key;
        if (key == u'x') {
            key = 0; // a handler may drop an accepted key
        }
        if (key == u'y') {
            key = u'z'; // or change it
        }
    };
    Enter();
    Type(u"aA7 @x.~yＱ");
    EXPECT_EQ(edit->Text(), u"a7@.~z");
    EXPECT_EQ(seen, u"a7@x.~y");
    Type(u"\b");
    EXPECT_EQ(edit->Text(), u"a7@.~") << "Backspace passes every filter";
}

TEST_F(BaseEditTest, IgnoreEnterDropsEnterBeforeTheHandler) {
    int handled = 0;
    edit->OnKeyPress = [&](TObject*, char16_t&) { ++handled; };
    edit->SetIgnoreEnter(true);
    Enter();
    Type(u"\r");
    EXPECT_EQ(handled, 0);
    edit->SetIgnoreEnter(false);
    Type(u"\r");
    EXPECT_EQ(handled, 1);
}

struct Transition {
    const char* Name;
    TEditDataType Type;
    bool UseComma;
    std::u16string Format;
    std::u16string Typed;
    std::u16string AfterExit;
    std::u16string AfterEnter;
};

void PrintTo(const Transition& c, std::ostream* os) {
    *os << c.Name;
}

class BaseEditTransitions : public BaseEditTest,
                            public ::testing::WithParamInterface<Transition> {};

TEST_P(BaseEditTransitions, RewriteTheTextAndColourOnEachFocusChange) {
    const Transition& c = GetParam();
    edit->SetDataType(c.Type);
    edit->SetUseComma(c.UseComma);
    edit->SetFormatStr(c.Format);
    Enter();
    EXPECT_EQ(edit->Color(), edit->FocusColor());
    Type(c.Typed);
    Leave();
    EXPECT_EQ(edit->Text(), c.AfterExit);
    EXPECT_EQ(seenOnExit, c.AfterExit) << "OnExit sees the display form";
    EXPECT_EQ(edit->Color(), edit->NormalColor());
    EXPECT_EQ(changes, c.AfterExit == c.Typed ? 0 : 1);
    Enter();
    EXPECT_EQ(edit->Text(), c.AfterEnter);
    EXPECT_EQ(seenOnEnter, c.AfterEnter) << "OnEnter sees the edit form";
    EXPECT_EQ(changes, c.AfterEnter == c.AfterExit ? 0 : 1);
    EXPECT_EQ(edit->SelLength(), int(c.AfterEnter.size())) << "AutoSelect selects it all";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BaseEditTransitions,
    ::testing::Values(Transition{"IntegerWithComma", TEditDataType::Integer, true, u"", u"1234567",
                                 u"1,234,567", u"1234567"},
                      Transition{"IntegerPlainKeepsBadTextUntilEntered", TEditDataType::Integer,
                                 false, u"", u"12a", u"12a", u""},
                      Transition{"IntegerWithFormat", TEditDataType::Integer, false, u"%05d", u"42",
                                 u"00042", u"00042"},
                      Transition{"RealWithComma", TEditDataType::Real, true, u"", u"1234567.891",
                                 u"1,234,567.89", u"1234567.89"},
                      Transition{"RealWithCommaOfNoNumber", TEditDataType::Real, true, u"", u"abc",
                                 u"0", u"0"},
                      Transition{"RealPlainCutsOnEntry", TEditDataType::Real, false, u"", u"12.999",
                                 u"12.999", u"12.99"},
                      Transition{"StringStaysAsTyped", TEditDataType::String, true, u"%d", u"1234x",
                                 u"1234x", u"1234x"},
                      Transition{"UnsafeFormatShowsNoValue", TEditDataType::Integer, false, u"%s%n",
                                 u"42", u"", u""}),
    [](const ::testing::TestParamInfo<Transition>& info) { return info.param.Name; });

TEST_F(BaseEditTest, ReadOnlyKeepsItsTextAndColourButLosesTheSelection) {
    edit->SetDataType(TEditDataType::Integer);
    edit->SetText(u"12a");
    edit->SetReadOnly(true);
    EXPECT_EQ(edit->Color(), edit->ReadOnlyColor()) << "before the first focus change too";
    Enter();
    EXPECT_EQ(edit->Text(), u"12a");
    EXPECT_EQ(edit->Color(), edit->ReadOnlyColor());
    EXPECT_EQ(edit->SelLength(), 0) << "AutoSelect selects nothing in a read-only edit";
    Type(u"9");
    EXPECT_EQ(edit->Text(), u"12a") << "nothing can be typed";
    edit->SetSelStart(1);
    edit->SetSelLength(2);
    Leave();
    EXPECT_EQ(edit->Text(), u"12a");
    EXPECT_EQ(edit->Color(), edit->ReadOnlyColor());
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(BaseEditTest, EmptyTextIsNotSelectedAndCorrectTextIsNotReassigned) {
    edit->SetDataType(TEditDataType::Integer);
    edit->SetUseComma(true);
    Enter();
    EXPECT_EQ(edit->SelLength(), 0);
    EXPECT_EQ(changes, 0);
    Leave();
    EXPECT_EQ(changes, 0) << "the empty text is already in display form";
    edit->SetText(u"1,000");
    Enter();
    EXPECT_EQ(edit->Text(), u"1000");
    Leave();
    EXPECT_EQ(edit->Text(), u"1,000");
    EXPECT_EQ(changes, 1);
}

TEST_F(BaseEditTest, TabMovesTheFocusWithoutTypingATab) {
    edit->SetDataType(TEditDataType::Integer);
    edit->SetUseComma(true);
    Enter();
    Type(u"9876");
    hl::PressKey(0x09, u'\t');
    hl::Pump();
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(edit->Text(), u"9,876");
    EXPECT_EQ(other->Text(), u"");
    hl::KeyDown(0x10);
    hl::PressKey(0x09, u'\t');
    hl::KeyUp(0x10);
    hl::Pump();
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(edit->Text(), u"9876");
}

} // namespace
