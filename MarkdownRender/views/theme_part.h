// A view member that reads one part of the theme in force each time the view is evaluated and keeps only
// that part: a member holding the whole theme would put a copy of every one of its styles in each view
// value, and a document of many small views (a large table) holds a great many of them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "MarkdownRender/styles/theme.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "platform/ui/dynamic_property.h"
#include "platform/ui/environment.h"

namespace MarkdownRender {

template <class Part>
class ThemePart final : public ui::DynamicProperty {
 public:
  using Read = std::function<Part(const Theme&)>;

  explicit ThemePart(Read read) : read_(std::move(read)) {}

  const Part& operator*() const { return value(); }
  const Part* operator->() const { return &value(); }
  // The part of the default theme until the view is evaluated in a tree.
  const Part& value() const {
    if (!part_) part_ = read_(ThemeKey::defaultValue());
    return *part_;
  }
  // The theme the part was read from, null for the default theme: a view can keep what it made from the
  // part for as long as this stays the same.
  const std::shared_ptr<const Theme>& theme() const { return theme_; }

  void bind(ui::detail::PropertyContext& context) override {
    // Read where the environment keeps it: a copy of the whole theme would cost more than the part.
    theme_ = context.environment().sharedValue<ThemeKey>();
    part_ = read_(theme_ ? *theme_ : ThemeKey::defaultValue());
  }

 private:
  Read read_;
  std::shared_ptr<const Theme> theme_;
  mutable std::optional<Part> part_;
};

}  // namespace MarkdownRender
