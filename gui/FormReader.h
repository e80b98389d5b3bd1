// SPDX-License-Identifier: MIT
// Form descriptions: a small text format that lists a form's components and their
// properties top to bottom, compiled into the executable and read when the form is created.
//
//   object MainForm: TMainForm
//     Caption = 'Vexelo'          // strings in single quotes, '' for a quote, UTF-8
//     Left = 750
//     BorderIcons = [biSystemMenu]
//     Font.Style = [fsBold]
//     OnCreate = FormCreate       // a handler the form class registered under that name
//     object DrawTimer: TTimer
//       Interval = 100
//     end
//   end
#pragma once

#include "gui/Component.h"
#include "gui/Exception.h"

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct FormValue {
    enum class Kind { Integer, String, Ident, Set };
    Kind Type = Kind::Integer;
    int64_t Int = 0;
    std::u16string Text;
    std::string Ident;
    std::vector<std::string> Items;
    int Line = 0;
};

struct FormProperty {
    std::string Name;
    FormValue Value;
};

struct FormNode {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<FormProperty> Properties;
    std::vector<FormNode> Children;
};

// Throws EFormError, naming the line, for anything that is not a well-formed description.
FormNode ParseFormDescription(std::string_view text);

class TForm;

// Gives typed access to property values while a description is applied, and resolves
// handler and component names against the form being read.
class TReader {
public:
    explicit TReader(TForm& root) : FRoot(root) {}

    int32_t Integer(const FormValue& v) const;
    bool Boolean(const FormValue& v) const;
    std::u16string String(const FormValue& v) const;
    const std::string& Ident(const FormValue& v) const;
    const std::vector<std::string>& Set(const FormValue& v) const;
    TColor Color(const FormValue& v) const;
    int Charset(const FormValue& v) const;
    // One of the given names; its position in the list is the result.
    int Enum(const FormValue& v, std::initializer_list<std::string_view> names) const;
    // A set of the given names; bit i stands for names[i].
    uint32_t Flags(const FormValue& v, std::initializer_list<std::string_view> names) const;
    TComponent* Reference(const FormValue& v) const;

    template <class Event> Event Handler(const FormValue& v) const;

    [[noreturn]] void Fail(const FormValue& v, const std::string& what) const;
    [[noreturn]] void Unknown(const TComponent& c, std::string_view name, const FormValue& v) const;

private:
    TForm& FRoot;
};

} // namespace vx
