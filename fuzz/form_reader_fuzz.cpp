// SPDX-License-Identifier: MIT
// Form descriptions come from the executable, but the reader must still refuse anything
// malformed cleanly: an EFormError, never a crash, a hang or an overrun.
#include "gui/Exception.h"
#include "gui/FormReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const vx::FormNode node =
            vx::ParseFormDescription(std::string_view(reinterpret_cast<const char*>(data), size));
        (void)node;
    } catch (const vx::EFormError&) {
    }
    return 0;
}
