// SPDX-License-Identifier: MIT
// Components: named objects that own the components they create and can be told when a
// component they refer to goes away.
#pragma once

#include "gui/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TReader;
struct FormValue;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    [[nodiscard]] virtual const char* ClassName() const { return "TComponent"; }
    [[nodiscard]] TComponent* Owner() const { return FOwner; }
    [[nodiscard]] const std::string& Name() const { return FName; }
    void SetName(std::string name) { FName = std::move(name); }
    [[nodiscard]] int ComponentCount() const { return int(FComponents.size()); }
    [[nodiscard]] TComponent* Components(int index) const { return FComponents.at(size_t(index)); }
    [[nodiscard]] TComponent* FindComponent(std::string_view name) const;
    // Destroys the owned components, newest first.
    void DestroyComponents();

    // `other` is told through Notification when this component is destroyed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Reads one property of a form description; unknown names are an error.
    virtual void ReadProperty(TReader& reader, std::string_view name, const FormValue& value);
    // Called once the whole form description has been read.
    virtual void Loaded() { FLoading = false; }
    [[nodiscard]] bool Loading() const { return FLoading; }
    void SetLoading() { FLoading = true; }

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);

private:
    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;   // owned, in creation order
    std::vector<TComponent*> FNotifyOthers; // told when this one goes
    bool FLoading = false;
};

} // namespace vx
