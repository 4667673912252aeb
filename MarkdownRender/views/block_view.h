// Every block of a document drawn as a view: the view of its case made the label of the theme's block
// style for that case.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/theme_part.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// Shows a configuration through one block style of the theme in force, read each time the view is drawn,
// so a theme set anywhere above reaches views that already exist. Spacing, margins, backgrounds and
// fonts are all the style's doing.
template <class Configuration>
class ApplyBlockStyle final : public ui::View {
 public:
  using Path = std::function<const BlockStyle<Configuration>&(const Theme&)>;

  ApplyBlockStyle(Path path, Configuration configuration)
      : style_([path = std::move(path)](const Theme& theme) { return path(theme); }),
        configuration_(std::move(configuration)) {}
  ApplyBlockStyle(BlockStyle<Configuration> Theme::*member, Configuration configuration)
      : style_([member](const Theme& theme) { return theme.*member; }),
        configuration_(std::move(configuration)) {}

  ui::AnyView body() const override { return style_->render(configuration_); }

 private:
  ThemePart<BlockStyle<Configuration>> style_;
  Configuration configuration_;
};

// The text of a code or HTML block without its one final line feed (a final CR LF stays whole).
std::string removingFinalLineFeed(std::string text);

// The identity of a heading's view: the kebab-cased plain text of its inlines.
std::string headingIdentifier(const std::vector<Inline>& text);

// One block, drawn by the view of its case inside the theme's style for that case. Keeps no state: the
// view is a function of the block and of the environment.
class BlockView final : public ui::View {
 public:
  explicit BlockView(Block block) : block_(std::move(block)) {}
  ui::AnyView body() const override;
  const Block& block() const { return block_; }

  // The view is a function of its block and the environment: an unchanged block keeps its views.
  bool operator==(const BlockView& other) const { return block_ == other.block_; }

 private:
  Block block_;
};

// The blocks stacked top to bottom, each drawn by its block view.
ui::AnyView blockStack(const std::vector<Block>& blocks);

}  // namespace MarkdownRender
