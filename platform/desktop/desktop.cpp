#include "platform/desktop/desktop.h"

#include <atomic>

namespace desktop {
namespace {

// Read, installed and withdrawn from any thread; the atomic makes every read see a whole pointer.
std::atomic<Desktop*> installedDesktop{nullptr};

}  // namespace

Desktop::~Desktop() { withdraw(); }

void Desktop::withdraw() {
  Desktop* self = this;
  installedDesktop.compare_exchange_strong(self, nullptr);
}

Desktop* Desktop::current() { return installedDesktop.load(); }

Desktop::Scope::Scope(Desktop& desktop) : previous_(installedDesktop.exchange(&desktop)) {}

Desktop::Scope::~Scope() { installedDesktop.store(previous_); }

}  // namespace desktop
