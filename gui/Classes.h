// SPDX-License-Identifier: MIT
// Component classes that form descriptions can name.
#pragma once

#include "gui/Component.h"

#include <string_view>

namespace vx {

using ComponentFactory = TComponent* (*)(TComponent* owner);

void RegisterComponentClass(std::string_view name, ComponentFactory factory);
// A new component of the named class owned by `owner`, or null for an unknown class.
TComponent* CreateComponent(std::string_view name, TComponent* owner);

template <class T> void RegisterComponentClass(std::string_view name) {
    RegisterComponentClass(name, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

} // namespace vx
