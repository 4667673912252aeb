// The stream of input events as the whole desktop sees it: the person's key presses and clicks, whichever
// application they go to.
#pragma once

#include <cstddef>
#include <functional>

#include "platform/desktop/input_event.h"

namespace desktop {

class InputEventService {
 public:
  using EventObserver = std::function<void(const InputEvent&)>;

  virtual ~InputEventService() = default;

  // Calls the observer for every later event, on the thread that delivers it (not necessarily the main
  // thread); the returned token removes it. An observer may add and remove observers.
  virtual std::size_t addEventObserver(EventObserver observer) = 0;
  // Removes an observer; an unknown token does nothing.
  virtual void removeEventObserver(std::size_t token) = 0;
};

}  // namespace desktop
