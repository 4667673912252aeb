// The theme in force for a subtree of views, and the modifiers that replace single members of it.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include "MarkdownRender/styles/theme.h"
#include "platform/ui/environment.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// The theme in force: a copy of the standard theme where no view set one, made once on first use.
struct ThemeKey {
  using Value = Theme;
  static const Theme& defaultValue();
};

// A writable path to the heading style of a level from 1 to 6 (levels outside are taken as the nearest).
std::function<Theme::BlockStyleOfBlock&(Theme&)> headingLevelPath(int level);

namespace detail {
template <class Path, class Member>
concept ThemeMemberPath =
    std::invocable<const Path&, Theme&> && std::same_as<std::invoke_result_t<const Path&, Theme&>, Member&>;

inline ui::AnyView changingTheme(const ui::AnyView& view, std::function<void(Theme&)> change) {
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "theme";
  modifier->description = "theme";
  modifier->transform = [change = std::move(change)](ui::EnvironmentValues& environment) {
    Theme theme = environment.get<ThemeKey>();
    change(theme);
    environment.set<ThemeKey>(std::move(theme));
  };
  return view.modifier(std::move(modifier));
}
}  // namespace detail

// The view with one text-style member of the theme in force (a member pointer such as &Theme::code)
// replaced, for it and its descendants, by the built style; the other members keep their values.
template <class Path, TextStyleSource F>
requires detail::ThemeMemberPath<Path, AnyTextStyle> ui::AnyView themeTextStyle(const ui::AnyView& view,
                                                                                Path path, const F& style) {
  return detail::changingTheme(view, [path = std::move(path), built = builtTextStyle(style)](Theme& theme) {
    std::invoke(path, theme) = built;
  });
}

namespace detail {
template <class Configuration, class Path, class F>
ui::AnyView replacingBlockStyle(const ui::AnyView& view, Path path, F body) {
  return changingTheme(view, [path = std::move(path), style = BlockStyle<Configuration>(std::move(body))](
                                 Theme& theme) { std::invoke(path, theme) = style; });
}
}  // namespace detail

// The view with one block-style member of the theme in force (a member pointer, or headingLevelPath(n)
// with the configuration type given) replaced, for it and its descendants, by the style that draws
// with `body`.
template <class Configuration, class Path, class F>
requires detail::ThemeMemberPath<Path, BlockStyle<Configuration>> ui::AnyView themeBlockStyle(
    const ui::AnyView& view, Path path, F body) {
  return detail::replacingBlockStyle<Configuration>(view, std::move(path), std::move(body));
}

template <class Configuration, class F>
ui::AnyView themeBlockStyle(const ui::AnyView& view, BlockStyle<Configuration> Theme::*member, F body) {
  return detail::replacingBlockStyle<Configuration>(view, member, std::move(body));
}

}  // namespace MarkdownRender
