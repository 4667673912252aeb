#include "Quillo/chat_views/chat_view_modifiers.h"

#include <memory>
#include <utility>

namespace Quillo {

std::string ContextMenuModifier::describe() const {
  std::string text = "contextMenu(";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) text += ", ";
    text += entries[i].isSeparator() ? std::string("—") : "\"" + entries[i].title + "\"";
  }
  return text + ")";
}

bool ContextMenuModifier::choose(const std::string& title) const {
  for (const auto& entry : entries) {
    if (!entry.isSeparator() && entry.title == title) {
      if (entry.action) entry.action();
      return true;
    }
  }
  return false;
}

ui::AnyView contextMenu(const ui::AnyView& view, std::vector<MenuEntry> entries) {
  auto m = std::make_shared<ContextMenuModifier>();
  m->entries = std::move(entries);
  return view.modifier(std::move(m));
}

std::string LineLimitModifier::describe() const { return "lineLimit(" + std::to_string(lines) + ")"; }

ui::AnyView lineLimit(const ui::AnyView& view, int lines) {
  auto m = std::make_shared<LineLimitModifier>();
  m->lines = lines;
  return view.modifier(std::move(m));
}

std::string AllowsHitTestingModifier::describe() const {
  return isEnabled ? "allowsHitTesting(true)" : "allowsHitTesting(false)";
}

ui::AnyView allowsHitTesting(const ui::AnyView& view, bool isEnabled) {
  auto m = std::make_shared<AllowsHitTestingModifier>();
  m->isEnabled = isEnabled;
  return view.modifier(std::move(m));
}

std::string ScrollTargetModifier::describe() const {
  return targetID ? "scrollTarget(" + *targetID + ")" : "scrollTarget(none)";
}

ui::AnyView scrollTarget(const ui::AnyView& view, std::optional<std::string> targetID) {
  auto m = std::make_shared<ScrollTargetModifier>();
  m->targetID = std::move(targetID);
  return view.modifier(std::move(m));
}

ui::AnyView LinearGradient(std::vector<ui::Color> colors, ui::UnitPoint startPoint, ui::UnitPoint endPoint) {
  auto spec = std::make_shared<LinearGradientSpec>();
  spec->colors = std::move(colors);
  spec->startPoint = startPoint;
  spec->endPoint = endPoint;
  return ui::AnyView(std::move(spec));
}

}  // namespace Quillo
