// SPDX-License-Identifier: MIT
#include "gui/Component.h"

#include "gui/FormReader.h"

#include <algorithm>

namespace vx {

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
    if (FOwner != nullptr) {
        FOwner->FComponents.push_back(this);
    }
}

TComponent::~TComponent() {
    // Tell everyone who refers to us first, so that no reference outlives us.
    const std::vector<TComponent*> others = std::move(FNotifyOthers);
    for (TComponent* other : others) {
        std::erase(other->FNotifyOthers, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) {
        std::erase(FOwner->FComponents, this);
        FOwner->Notification(this, opRemove);
    }
}

void TComponent::DestroyComponents() {
    // Reverse order of creation: children before their parents.
    while (!FComponents.empty()) {
        delete FComponents.back(); // its destructor removes it from the list
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    for (TComponent* c : FComponents) {
        if (c->FName == name) {
            return c;
        }
    }
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) {
        return;
    }
    if (std::find(FNotifyOthers.begin(), FNotifyOthers.end(), other) == FNotifyOthers.end()) {
        FNotifyOthers.push_back(other);
        other->FNotifyOthers.push_back(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (other != nullptr) {
        std::erase(FNotifyOthers, other);
        std::erase(other->FNotifyOthers, this);
    }
}

void TComponent::ReadProperty(TReader& reader, std::string_view name, const FormValue& value) {
    reader.Unknown(*this, name, value);
}

void TComponent::Notification(TComponent*, TOperation) {}

} // namespace vx
