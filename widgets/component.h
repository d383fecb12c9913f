// The part of a framework component that the widgets need: components that
// refer to each other are told when the other one goes away, so that no
// reference outlives its target.
#ifndef WIDGETS_COMPONENT_H_
#define WIDGETS_COMPONENT_H_

#include <vector>

namespace plumeta::widgets {

class TComponent {
 public:
  TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // Calls Notification(this) on every component linked to this one.
  virtual ~TComponent();

  // Links the two components: whichever is destroyed first tells the other.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

 protected:
  // `removed` is being destroyed; drop every reference to it.
  virtual void Notification(TComponent* removed) { (void)removed; }

 private:
  void Unlink(TComponent* other);
  std::vector<TComponent*> linked_;
};

}  // namespace plumeta::widgets

#endif  // WIDGETS_COMPONENT_H_
