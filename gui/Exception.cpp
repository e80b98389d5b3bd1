// SPDX-License-Identifier: MIT
#include "gui/Exception.h"

#include "gui/Text.h"

namespace vx {

Exception::Exception(std::u16string message)
    : FMessage(std::move(message)), FUtf8(Utf16To8(FMessage)) {}

} // namespace vx
