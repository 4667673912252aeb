// View pieces the native chat needs beyond the view layer's built-ins: a row's context menu, a line
// limit, switching hit testing off, scrolling a row into view and a linear gradient.
// Each is a plain modifier or view value that the inspector reads back and the text dump shows.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/color.h"
#include "platform/ui/view.h"
#include "platform/ui/view_values.h"

namespace Quillo {

// One entry of a context menu: a titled action, or a separator (no title, no action).
struct MenuEntry {
  std::string title;
  std::function<void()> action;

  static MenuEntry item(std::string title, std::function<void()> action) {
    return {std::move(title), std::move(action)};
  }
  static MenuEntry separator() { return {}; }
  bool isSeparator() const { return title.empty(); }
};

// The menu a secondary click on the modified view opens.
struct ContextMenuModifier final : ui::detail::Modifier {
  std::vector<MenuEntry> entries;
  std::string name() const override { return "contextMenu"; }
  std::string describe() const override;
  // Runs the entry with this title; false when there is none.
  bool choose(const std::string& title) const;
};
ui::AnyView contextMenu(const ui::AnyView& view, std::vector<MenuEntry> entries);

// The most lines a text shows.
struct LineLimitModifier final : ui::detail::Modifier {
  int lines = 1;
  std::string name() const override { return "lineLimit"; }
  std::string describe() const override;
};
ui::AnyView lineLimit(const ui::AnyView& view, int lines);

// Whether clicks stop at the modified view (off: they reach the views beneath it).
struct AllowsHitTestingModifier final : ui::detail::Modifier {
  bool isEnabled = true;
  std::string name() const override { return "allowsHitTesting"; }
  std::string describe() const override;
};
ui::AnyView allowsHitTesting(const ui::AnyView& view, bool isEnabled);

// On a scroll view: the row (by the text of its id) kept in view, scrolled to without animation and
// without an anchor (the smallest scroll that shows it).
struct ScrollTargetModifier final : ui::detail::Modifier {
  std::optional<std::string> targetID;
  std::string name() const override { return "scrollTarget"; }
  std::string describe() const override;
};
ui::AnyView scrollTarget(const ui::AnyView& view, std::optional<std::string> targetID);

// A linear gradient between colours, from one unit point of its frame to another; it fills the space
// offered to it.
class LinearGradientSpec final : public ui::detail::PrimitiveSpec {
 public:
  std::vector<ui::Color> colors;
  ui::UnitPoint startPoint;
  ui::UnitPoint endPoint;
  std::string typeName() const override { return "LinearGradient"; }
};
ui::AnyView LinearGradient(std::vector<ui::Color> colors, ui::UnitPoint startPoint, ui::UnitPoint endPoint);

}  // namespace Quillo
