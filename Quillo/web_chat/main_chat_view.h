// The main window's web chat: the chat service's page, at least 600 points high, and nothing else.
#pragma once

#include <string>

#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

class MainChatView final : public ui::View {
 public:
  // The address is kept as view state: later values from the maker do not replace the first one while
  // the view keeps its identity.
  explicit MainChatView(std::string urlString) : urlString_(std::move(urlString)) {}
  ui::AnyView body() const override;

 private:
  ui::State<std::string> urlString_;
  ui::State<bool> resetThread_{false};
};

}  // namespace Quillo
