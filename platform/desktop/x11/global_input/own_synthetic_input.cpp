#include "platform/desktop/x11/global_input/own_synthetic_input.h"

#include <atomic>
#include <chrono>

namespace desktop::x11 {
namespace {

// The event monitors read their connection on a thread of their own, so the last keys typed may reach
// them a moment after typing ends: they still count as this program's for a short while.
constexpr auto kLateArrival = std::chrono::milliseconds(250);

std::atomic<int> typingDepth{0};
std::atomic<std::chrono::steady_clock::rep> lastTypingEnd{0};

}  // namespace

bool isTypingSyntheticInput() {
  if (typingDepth.load() > 0) return true;
  const auto end =
      std::chrono::steady_clock::time_point(std::chrono::steady_clock::duration(lastTypingEnd.load()));
  return end.time_since_epoch().count() != 0 && std::chrono::steady_clock::now() - end < kLateArrival;
}

SyntheticInputScope::SyntheticInputScope() { ++typingDepth; }

SyntheticInputScope::~SyntheticInputScope() {
  lastTypingEnd = std::chrono::steady_clock::now().time_since_epoch().count();
  --typingDepth;
}

}  // namespace desktop::x11
