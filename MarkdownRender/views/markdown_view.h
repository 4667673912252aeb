// The renderer's entry view: one Markdown document shown as its blocks, in the theme's base text style,
// scaled with the text size, with images meant for the other appearance left out.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "MarkdownRender/model/markdown_content.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "platform/foundation/url.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// An immutable value: the text is parsed once, when the value is made; a changed document is a new value.
class Markdown final : public ui::View {
 public:
  // Parses `markdown` into its blocks; a text that extends the one parsed before it, as a reply streamed
  // in does, is parsed from its last block on (see `parseGrowingBlocks`).
  explicit Markdown(std::string_view markdown, std::optional<foundation::URL> baseURL = std::nullopt,
                    std::optional<foundation::URL> imageBaseURL = std::nullopt);
  // Without an image base URL, images resolve against `baseURL` as links do.
  explicit Markdown(MarkdownContent content, std::optional<foundation::URL> baseURL = std::nullopt,
                    std::optional<foundation::URL> imageBaseURL = std::nullopt);
  // The document a builder makes; the builder is called once, here.
  Markdown(std::optional<foundation::URL> baseURL, std::optional<foundation::URL> imageBaseURL,
           const std::function<MarkdownContent()>& content);

  ui::AnyView body() const override;

  // The same document with the same base URLs: in the same environment it shows the same views, so a
  // view that makes it again with an unchanged text (a chat bubble evaluated again) costs no new body.
  bool operator==(const Markdown& other) const {
    return content_ == other.content_ && baseURL_ == other.baseURL_ && imageBaseURL_ == other.imageBaseURL_;
  }

  const MarkdownContent& content() const { return content_; }
  const std::optional<foundation::URL>& baseURL() const { return baseURL_; }
  const std::optional<foundation::URL>& imageBaseURL() const { return imageBaseURL_; }

 private:
  ui::Environment<ui::ColorSchemeKey> colorScheme_;
  ui::Environment<ThemeKey> theme_;
  MarkdownContent content_;
  std::optional<foundation::URL> baseURL_;
  std::optional<foundation::URL> imageBaseURL_;
};

// Sets the text style's font size, for the views below, to `size` points scaled with the user's text
// size; relative sizes set below resolve against it. The platform here has no text-size setting of its
// own, so the scaled size is the base size.
class ScaledFontSizeModifier final : public ui::ViewModifier {
 public:
  explicit ScaledFontSizeModifier(double size) : size_(size) {}
  ui::AnyView body(ui::AnyView content) const override;
  double size() const { return size_; }

 private:
  double size_;
};

}  // namespace MarkdownRender
