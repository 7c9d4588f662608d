// Application-wide events with any number of subscribers. A form
// subscribes for as long as it lives: the subscription is a member that
// ends itself, so no window has to clear another's handler when it goes.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tessavo::tk {

class Signal {
  struct Slot {
    std::function<void()> fn;
  };
  using Slots = std::vector<std::shared_ptr<Slot>>;

 public:
  // Ends the subscription when destroyed (or reset); movable, not copyable.
  class Subscription {
   public:
    Subscription() = default;
    Subscription(Subscription&& other) noexcept
        : slots_(std::move(other.slots_)), slot_(std::move(other.slot_)) {}
    Subscription& operator=(Subscription&& other) noexcept {
      if (this != &other) {
        Reset();
        slots_ = std::move(other.slots_);
        slot_ = std::move(other.slot_);
      }
      return *this;
    }
    ~Subscription() { Reset(); }

    void Reset() {
      if (auto slots = slots_.lock(); slots && slot_) {
        std::erase(*slots, slot_);
      }
      slots_.reset();
      slot_.reset();
    }

   private:
    friend class Signal;
    Subscription(std::weak_ptr<Slots> slots, std::shared_ptr<Slot> slot)
        : slots_(std::move(slots)), slot_(std::move(slot)) {}
    std::weak_ptr<Slots> slots_;
    std::shared_ptr<Slot> slot_;
  };

  [[nodiscard]] Subscription Subscribe(std::function<void()> fn) {
    auto slot = std::make_shared<Slot>(Slot{std::move(fn)});
    slots_->push_back(slot);
    return Subscription(slots_, std::move(slot));
  }

  // Calls every subscriber in the order they came. A subscriber may end
  // its own or another's subscription meanwhile: one that has ended before
  // its turn is not called.
  void operator()() const {
    const Slots snapshot = *slots_;
    for (const auto& slot : snapshot) {
      if (std::find(slots_->begin(), slots_->end(), slot) != slots_->end()) slot->fn();
    }
  }

  bool Empty() const { return slots_->empty(); }
  // Ends every subscription (their handles become empty).
  void Clear() { slots_->clear(); }

 private:
  std::shared_ptr<Slots> slots_ = std::make_shared<Slots>();
};

}  // namespace tessavo::tk
