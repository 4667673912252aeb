// Whether this program is typing into another application right now, so that its event monitors can leave
// out the keys it sends itself.
#pragma once

namespace desktop::x11 {

// True while this program types into another application (XTestTyping), and for a moment after, so that
// keys still on their way count too. Callable from any thread.
bool isTypingSyntheticInput();

// Marks this program as typing while it lives; nests.
class SyntheticInputScope {
 public:
  SyntheticInputScope();
  ~SyntheticInputScope();
  SyntheticInputScope(const SyntheticInputScope&) = delete;
  SyntheticInputScope& operator=(const SyntheticInputScope&) = delete;
};

}  // namespace desktop::x11
