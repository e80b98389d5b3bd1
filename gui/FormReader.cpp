// SPDX-License-Identifier: MIT
#include "gui/FormReader.h"

#include "gui/Form.h"
#include "gui/Text.h"

#include <cctype>
#include <limits>

namespace vx {
namespace {

// Nesting deeper than this is certainly not a form, and would only exhaust the stack.
constexpr int MaxDepth = 32;

class Parser {
public:
    explicit Parser(std::string_view text) : FText(text) {}

    FormNode Document() {
        FormNode root = Object(0);
        SkipBlank();
        if (FPos != FText.size()) {
            Fail("text after the final 'end'");
        }
        return root;
    }

private:
    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;

    [[noreturn]] void Fail(const std::string& what) const {
        throw EFormError(Utf8To16("Form description, line " + std::to_string(FLine) + ": " + what));
    }

    void SkipBlank() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n') {
                ++FLine;
                ++FPos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++FPos;
            } else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/') {
                while (FPos < FText.size() && FText[FPos] != '\n') {
                    ++FPos;
                }
            } else {
                return;
            }
        }
    }

    static bool IdentStart(char c) { return std::isalpha(uint8_t(c)) != 0 || c == '_'; }
    static bool IdentPart(char c) { return std::isalnum(uint8_t(c)) != 0 || c == '_'; }

    std::string Ident() {
        SkipBlank();
        if (FPos >= FText.size() || !IdentStart(FText[FPos])) {
            Fail("a name was expected");
        }
        const size_t start = FPos;
        while (FPos < FText.size() && IdentPart(FText[FPos])) {
            ++FPos;
        }
        return std::string(FText.substr(start, FPos - start));
    }

    // A dotted property name such as Font.Style.
    std::string PropertyName() {
        std::string name = Ident();
        while (FPos < FText.size() && FText[FPos] == '.') {
            ++FPos;
            name += '.';
            name += Ident();
        }
        return name;
    }

    void Expect(char c) {
        SkipBlank();
        if (FPos >= FText.size() || FText[FPos] != c) {
            Fail(std::string("'") + c + "' was expected");
        }
        ++FPos;
    }

    FormNode Object(int depth) {
        if (depth > MaxDepth) {
            Fail("objects nested too deeply");
        }
        SkipBlank();
        const int line = FLine;
        if (Ident() != "object") {
            Fail("'object' was expected");
        }
        FormNode node;
        node.Line = line;
        node.Name = Ident();
        Expect(':');
        node.ClassName = Ident();
        for (;;) {
            SkipBlank();
            if (FPos >= FText.size()) {
                Fail("'end' is missing");
            }
            const size_t mark = FPos;
            const int markLine = FLine;
            const std::string word = Ident();
            if (word == "end") {
                return node;
            }
            if (word == "object") {
                FPos = mark;
                FLine = markLine;
                node.Children.push_back(Object(depth + 1));
                continue;
            }
            FPos = mark;
            FLine = markLine;
            FormProperty prop;
            prop.Name = PropertyName();
            Expect('=');
            prop.Value = Value();
            node.Properties.push_back(std::move(prop));
        }
    }

    FormValue Value() {
        const int line = FLine;
        SkipBlank();
        FormValue v;
        v.Line = FLine;
        if (FPos >= FText.size() || FLine != line) {
            FLine = line;
            Fail("a value was expected");
        }
        const char c = FText[FPos];
        if (c == '\'') {
            v.Type = FormValue::Kind::String;
            v.Text = Utf8To16(QuotedString());
        } else if (c == '-' || c == '$' || std::isdigit(uint8_t(c)) != 0) {
            v.Type = FormValue::Kind::Integer;
            v.Int = Number();
        } else if (c == '[') {
            ++FPos;
            v.Type = FormValue::Kind::Set;
            SkipBlank();
            if (FPos < FText.size() && FText[FPos] == ']') {
                ++FPos;
                return v;
            }
            for (;;) {
                v.Items.push_back(Ident());
                SkipBlank();
                if (FPos < FText.size() && FText[FPos] == ',') {
                    ++FPos;
                    continue;
                }
                Expect(']');
                return v;
            }
        } else {
            v.Type = FormValue::Kind::Ident;
            v.Ident = Ident();
        }
        return v;
    }

    std::string QuotedString() {
        std::string out;
        ++FPos; // opening quote
        for (;;) {
            if (FPos >= FText.size() || FText[FPos] == '\n') {
                Fail("a string is not closed on its line");
            }
            const char c = FText[FPos++];
            if (c != '\'') {
                out += c;
            } else if (FPos < FText.size() && FText[FPos] == '\'') {
                out += '\'';
                ++FPos;
            } else {
                return out;
            }
        }
    }

    int64_t Number() {
        const bool negative = FText[FPos] == '-';
        if (negative) {
            ++FPos;
        }
        int base = 10;
        if (FPos < FText.size() && FText[FPos] == '$') { // hexadecimal, as colours are written
            base = 16;
            ++FPos;
        }
        int64_t value = 0;
        size_t digits = 0;
        while (FPos < FText.size() && std::isxdigit(uint8_t(FText[FPos])) != 0) {
            const char d = FText[FPos];
            const int digit =
                std::isdigit(uint8_t(d)) != 0 ? d - '0' : (std::tolower(d) - 'a' + 10);
            if (digit >= base) {
                break;
            }
            if (value > (std::numeric_limits<int64_t>::max() - digit) / base) {
                Fail("a number is too large");
            }
            value = value * base + digit;
            ++digits;
            ++FPos;
        }
        if (digits == 0) {
            Fail("a number was expected");
        }
        return negative ? -value : value;
    }
};

} // namespace

FormNode ParseFormDescription(std::string_view text) {
    return Parser(text).Document();
}

void TReader::Fail(const FormValue& v, const std::string& what) const {
    throw EFormError(
        Utf8To16("Form " + FRoot.Name() + ", line " + std::to_string(v.Line) + ": " + what));
}

void TReader::Unknown(const TComponent& c, std::string_view name, const FormValue& v) const {
    Fail(v, std::string(c.ClassName()) + " has no property " + std::string(name));
}

int32_t TReader::Integer(const FormValue& v) const {
    if (v.Type != FormValue::Kind::Integer || v.Int < std::numeric_limits<int32_t>::min() ||
        v.Int > std::numeric_limits<int32_t>::max()) {
        Fail(v, "a 32-bit integer was expected");
    }
    return int32_t(v.Int);
}

bool TReader::Boolean(const FormValue& v) const {
    return Enum(v, {"False", "True"}) == 1;
}

std::u16string TReader::String(const FormValue& v) const {
    if (v.Type != FormValue::Kind::String) {
        Fail(v, "a string was expected");
    }
    return v.Text;
}

const std::string& TReader::Ident(const FormValue& v) const {
    if (v.Type != FormValue::Kind::Ident) {
        Fail(v, "a name was expected");
    }
    return v.Ident;
}

const std::vector<std::string>& TReader::Set(const FormValue& v) const {
    if (v.Type != FormValue::Kind::Set) {
        Fail(v, "a set was expected");
    }
    return v.Items;
}

TColor TReader::Color(const FormValue& v) const {
    struct Named {
        std::string_view Name;
        TColor Value;
    };
    static constexpr Named names[] = {
        {"clBlack", clBlack},
        {"clMaroon", clMaroon},
        {"clGreen", clGreen},
        {"clNavy", clNavy},
        {"clGray", clGray},
        {"clSilver", clSilver},
        {"clRed", clRed},
        {"clLime", clLime},
        {"clBlue", clBlue},
        {"clAqua", clAqua},
        {"clYellow", clYellow},
        {"clWhite", clWhite},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clBtnHighlight", clBtnHighlight},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
        {"clNone", clNone},
        {"clDefault", clDefault},
    };
    if (v.Type == FormValue::Kind::Integer) {
        if (v.Int < 0 || v.Int > 0xFFFFFFFFLL) {
            Fail(v, "a colour was expected");
        }
        return TColor(v.Int);
    }
    for (const Named& n : names) {
        if (n.Name == Ident(v)) {
            return n.Value;
        }
    }
    Fail(v, "unknown colour " + v.Ident);
}

int TReader::Charset(const FormValue& v) const {
    if (v.Type == FormValue::Kind::Integer) {
        return Integer(v);
    }
    const std::string& name = Ident(v);
    if (name == "ANSI_CHARSET") {
        return ANSI_CHARSET;
    }
    if (name == "DEFAULT_CHARSET") {
        return DEFAULT_CHARSET;
    }
    if (name == "SHIFTJIS_CHARSET") {
        return SHIFTJIS_CHARSET;
    }
    Fail(v, "unknown character set " + name);
}

int TReader::Enum(const FormValue& v, std::initializer_list<std::string_view> names) const {
    const std::string& name = Ident(v);
    int i = 0;
    for (std::string_view n : names) {
        if (n == name) {
            return i;
        }
        ++i;
    }
    Fail(v, "unknown value " + name);
}

uint32_t TReader::Flags(const FormValue& v, std::initializer_list<std::string_view> names) const {
    uint32_t bits = 0;
    for (const std::string& item : Set(v)) {
        uint32_t bit = 1;
        bool found = false;
        for (std::string_view n : names) {
            if (n == item) {
                bits |= bit;
                found = true;
                break;
            }
            bit <<= 1;
        }
        if (!found) {
            Fail(v, "unknown set member " + item);
        }
    }
    return bits;
}

TComponent* TReader::Reference(const FormValue& v) const {
    TComponent* c = FRoot.FindComponent(Ident(v));
    if (c == nullptr) {
        Fail(v, "no component named " + v.Ident);
    }
    return c;
}

} // namespace vx
