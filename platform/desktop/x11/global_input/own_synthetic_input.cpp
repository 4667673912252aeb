#include "platform/desktop/x11/global_input/own_synthetic_input.h"

#include <atomic>

namespace desktop::x11 {
namespace {

std::atomic<int> typingDepth{0};

}  // namespace

bool isTypingSyntheticInput() { return typingDepth.load() > 0; }

SyntheticInputScope::SyntheticInputScope() { ++typingDepth; }

SyntheticInputScope::~SyntheticInputScope() { --typingDepth; }

}  // namespace desktop::x11
