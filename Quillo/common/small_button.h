// The application's compact, tinted push button: an optional symbol and a short title on a lightly
// tinted rounded background that darkens under the pointer, with a tooltip.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

class SmallButton final : public ui::View {
 public:
  // `icon` names a system symbol (empty: no icon); `symbolColor` colours the icon (absent: the primary
  // colour). `title` and `helpText` are localization keys.
  SmallButton(std::function<void()> action, std::string title, std::string icon, std::string helpText,
              ui::Color tintColor, std::optional<ui::Color> symbolColor = std::nullopt);

  ui::AnyView body() const override;

 private:
  std::function<void()> action_;
  std::string title_;
  std::string icon_;
  std::string helpText_;
  ui::Color tintColor_;
  std::optional<ui::Color> symbolColor_;
  ui::State<bool> isHovering_{false};
};

}  // namespace Quillo
