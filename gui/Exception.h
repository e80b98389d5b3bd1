// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <string>

namespace vx {

// The layer's exception class: what the application shows in its message box.
class Exception : public std::exception {
public:
    explicit Exception(std::u16string message);
    [[nodiscard]] const std::u16string& Message() const { return FMessage; }
    [[nodiscard]] const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    std::u16string FMessage;
    std::string FUtf8;
};

// A form description that cannot be read or does not fit its form.
class EFormError : public Exception {
public:
    using Exception::Exception;
};

} // namespace vx
