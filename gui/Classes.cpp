// SPDX-License-Identifier: MIT
#include "gui/Classes.h"

#include "gui/Buttons.h"
#include "gui/CustomEdit.h"
#include "gui/ExtCtrls.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Timer.h"

#include <map>
#include <string>

namespace vx {
namespace {

std::map<std::string, ComponentFactory, std::less<>>& Registry() {
    // Never destroyed: forms may still be created while other statics go away.
    static auto& registry = *new std::map<std::string, ComponentFactory, std::less<>>([] {
        std::map<std::string, ComponentFactory, std::less<>> r;
        auto add = [&r]<class T>(const char* name, T*) {
            r[name] = [](TComponent* owner) -> TComponent* { return new T(owner); };
        };
        add("TTimer", static_cast<TTimer*>(nullptr));
        add("TPopupMenu", static_cast<TPopupMenu*>(nullptr));
        add("TMenuItem", static_cast<TMenuItem*>(nullptr));
        add("TLabel", static_cast<TLabel*>(nullptr));
        add("TButton", static_cast<TButton*>(nullptr));
        add("TBitBtn", static_cast<TBitBtn*>(nullptr));
        add("TSpeedButton", static_cast<TSpeedButton*>(nullptr));
        add("TPanel", static_cast<TPanel*>(nullptr));
        add("TShape", static_cast<TShape*>(nullptr));
        add("TImage", static_cast<TImage*>(nullptr));
        add("TEdit", static_cast<TCustomEdit*>(nullptr));
        return r;
    }());
    return registry;
}

} // namespace

void RegisterComponentClass(std::string_view name, ComponentFactory factory) {
    Registry()[std::string(name)] = factory;
}

TComponent* CreateComponent(std::string_view name, TComponent* owner) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second(owner);
}

} // namespace vx
