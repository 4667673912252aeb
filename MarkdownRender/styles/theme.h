// The complete set of styling rules of a rendered document: six text styles for runs of inline text and
// one block style for every kind of block.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/text_style.h"
#include "MarkdownRender/styles/text_style_builder.h"

namespace MarkdownRender {

// What the theme's text-style methods accept: a builder closure (called once) or a ready style.
template <class F>
concept TextStyleSource = TextStyleBuilderClosure<F> || TextStyleValue<F>;

template <TextStyleSource F>
AnyTextStyle builtTextStyle(const F& source) {
  if constexpr (TextStyleValue<F>) {
    return AnyTextStyle(source);
  } else {
    return AnyTextStyle(source());
  }
}

// A plain value: copying a theme copies its styles, and nothing in it refers to a view or another theme.
class Theme {
 public:
  using BlockStyleOfBlock = BlockStyle<BlockConfiguration>;

  // Text styles that contribute nothing except: monospaced code, italic emphasis, semibold strong text and
  // a single strikethrough line; every block shown as its bare label; the markers `checkboxMarker`,
  // `bulletByLevel` and `numeralMarker`; a plain divider as thematic break.
  Theme();

  AnyTextStyle text;
  AnyTextStyle code;
  AnyTextStyle emphasis;
  AnyTextStyle strong;
  AnyTextStyle strikethrough;
  AnyTextStyle link;
  // Entry n - 1 draws headings of level n; there are always exactly six.
  std::array<BlockStyleOfBlock, 6> headings;
  BlockStyleOfBlock paragraph;
  BlockStyleOfBlock blockquote;
  BlockStyleOfBlock codeBlock;
  BlockStyleOfBlock image;
  BlockStyleOfBlock list;
  BlockStyleOfBlock listItem;
  BlockStyle<TaskListMarkerConfiguration> taskListMarker;
  BlockStyle<ListMarkerConfiguration> bulletedListMarker;
  BlockStyle<ListMarkerConfiguration> numberedListMarker;
  BlockStyleOfBlock table;
  BlockStyle<TableCellConfiguration> tableCell;
  BlockStyle<EmptyBlockConfiguration> thematicBreak;

  // The heading styles by level.
  const BlockStyleOfBlock& headingLevel1() const { return headings[0]; }
  const BlockStyleOfBlock& headingLevel2() const { return headings[1]; }
  const BlockStyleOfBlock& headingLevel3() const { return headings[2]; }
  const BlockStyleOfBlock& headingLevel4() const { return headings[3]; }
  const BlockStyleOfBlock& headingLevel5() const { return headings[4]; }
  const BlockStyleOfBlock& headingLevel6() const { return headings[5]; }
  void setHeadingLevel1(BlockStyleOfBlock style) { headings[0] = std::move(style); }
  void setHeadingLevel2(BlockStyleOfBlock style) { headings[1] = std::move(style); }
  void setHeadingLevel3(BlockStyleOfBlock style) { headings[2] = std::move(style); }
  void setHeadingLevel4(BlockStyleOfBlock style) { headings[3] = std::move(style); }
  void setHeadingLevel5(BlockStyleOfBlock style) { headings[4] = std::move(style); }
  void setHeadingLevel6(BlockStyleOfBlock style) { headings[5] = std::move(style); }

  // The built-in themes, each built once on first use (safely when several threads reach it at once);
  // every call returns a copy.
  static Theme standardTheme();
  static Theme dynamicColorTheme();
  static Theme checkboxTheme();

  // Builder methods: each returns a copy with one member replaced and leaves this theme as it is.
  template <TextStyleSource F>
  Theme withText(const F& style) const {
    return replacing(&Theme::text, builtTextStyle(style));
  }
  template <TextStyleSource F>
  Theme withCode(const F& style) const {
    return replacing(&Theme::code, builtTextStyle(style));
  }
  template <TextStyleSource F>
  Theme withEmphasis(const F& style) const {
    return replacing(&Theme::emphasis, builtTextStyle(style));
  }
  template <TextStyleSource F>
  Theme withStrong(const F& style) const {
    return replacing(&Theme::strong, builtTextStyle(style));
  }
  template <TextStyleSource F>
  Theme withStrikethrough(const F& style) const {
    return replacing(&Theme::strikethrough, builtTextStyle(style));
  }
  template <TextStyleSource F>
  Theme withLink(const F& style) const {
    return replacing(&Theme::link, builtTextStyle(style));
  }

  template <class F>
  Theme withHeadingLevel1(F body) const {
    return withHeading(0, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withHeadingLevel2(F body) const {
    return withHeading(1, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withHeadingLevel3(F body) const {
    return withHeading(2, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withHeadingLevel4(F body) const {
    return withHeading(3, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withHeadingLevel5(F body) const {
    return withHeading(4, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withHeadingLevel6(F body) const {
    return withHeading(5, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withParagraph(F body) const {
    return replacing(&Theme::paragraph, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withBlockquote(F body) const {
    return replacing(&Theme::blockquote, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withCodeBlock(F body) const {
    return replacing(&Theme::codeBlock, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withImage(F body) const {
    return replacing(&Theme::image, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withList(F body) const {
    return replacing(&Theme::list, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withListItem(F body) const {
    return replacing(&Theme::listItem, BlockStyleOfBlock(std::move(body)));
  }
  Theme withTaskListMarker(BlockStyle<TaskListMarkerConfiguration> style) const {
    return replacing(&Theme::taskListMarker, std::move(style));
  }
  template <class F>
  requires std::invocable<const F&, const TaskListMarkerConfiguration&> Theme withTaskListMarker(F body)
  const { return withTaskListMarker(BlockStyle<TaskListMarkerConfiguration>(std::move(body))); }
  Theme withBulletedListMarker(BlockStyle<ListMarkerConfiguration> style) const {
    return replacing(&Theme::bulletedListMarker, std::move(style));
  }
  template <class F>
  requires std::invocable<const F&, const ListMarkerConfiguration&> Theme withBulletedListMarker(F body)
  const { return withBulletedListMarker(BlockStyle<ListMarkerConfiguration>(std::move(body))); }
  Theme withNumberedListMarker(BlockStyle<ListMarkerConfiguration> style) const {
    return replacing(&Theme::numberedListMarker, std::move(style));
  }
  template <class F>
  requires std::invocable<const F&, const ListMarkerConfiguration&> Theme withNumberedListMarker(F body)
  const { return withNumberedListMarker(BlockStyle<ListMarkerConfiguration>(std::move(body))); }
  template <class F>
  Theme withTable(F body) const {
    return replacing(&Theme::table, BlockStyleOfBlock(std::move(body)));
  }
  template <class F>
  Theme withTableCell(F body) const {
    return replacing(&Theme::tableCell, BlockStyle<TableCellConfiguration>(std::move(body)));
  }
  template <class F>
  Theme withThematicBreak(F body) const {
    return replacing(&Theme::thematicBreak, BlockStyle<EmptyBlockConfiguration>(std::move(body)));
  }

 private:
  template <class T>
  Theme replacing(T Theme::*member, T value) const {
    Theme copy = *this;
    copy.*member = std::move(value);
    return copy;
  }
  Theme withHeading(std::size_t index, BlockStyleOfBlock style) const {
    Theme copy = *this;
    copy.headings[index] = std::move(style);
    return copy;
  }
};

}  // namespace MarkdownRender
