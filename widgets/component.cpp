#include "widgets/component.h"

#include <algorithm>

namespace plumeta::widgets {

TComponent::~TComponent() {
  std::vector<TComponent*> linked;
  linked.swap(linked_);
  for (TComponent* other : linked) {
    other->Unlink(this);
    other->Notification(this);
  }
}

void TComponent::FreeNotification(TComponent* other) {
  if (other == nullptr || other == this) return;
  if (std::find(linked_.begin(), linked_.end(), other) != linked_.end()) {
    return;
  }
  linked_.push_back(other);
  other->linked_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (other == nullptr) return;
  Unlink(other);
  other->Unlink(this);
}

void TComponent::Unlink(TComponent* other) {
  linked_.erase(std::remove(linked_.begin(), linked_.end(), other),
                linked_.end());
}

}  // namespace plumeta::widgets
