// The popover's web chat: the chat service's page framed to the popover's width preset.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/app_storage.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

class ChatView final : public ui::View {
 public:
  explicit ChatView(std::string urlString) : urlString_(std::move(urlString)) {}
  ui::AnyView body() const override;

  // The popover's width for a preset: 400 points for 0, 500 for 1 and 600 for any other value.
  static double width(std::int64_t size);

 private:
  ui::State<std::string> urlString_;
  ui::State<bool> resetThread_{false};
  ui::AppStorage<std::int64_t> size_{"size", 1};  // the popover's width preset
};

}  // namespace Quillo
