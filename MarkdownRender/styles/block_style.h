// Block styles: how one kind of block looks, as a function from the block's configuration (its content
// as a label, or the data of a list marker, task marker or table cell) to a view.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/ui/color.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// The content of a block handed to its style. It is that very view wherever a view is wanted, so a style
// that shows its label as it is adds no view of its own (a table's cells are thousands).
class BlockLabel final {
 public:
  explicit BlockLabel(ui::AnyView content) : content(std::move(content)) {}
  operator const ui::AnyView&() const { return content; }  // NOLINT: a label is its content
  ui::AnyView content;
};

struct BlockConfiguration {
  using Label = BlockLabel;
  Label label;
};

// The data of one list marker: the list level (1 for a list inside no other list, one more for each
// enclosing list) and the item's number (from the list's start for numbered lists, from 1 for bulleted).
struct ListMarkerConfiguration {
  int listLevel = 1;
  int itemNumber = 1;
  bool operator==(const ListMarkerConfiguration&) const = default;
};

struct TaskListMarkerConfiguration {
  bool isCompleted = false;
  bool operator==(const TaskListMarkerConfiguration&) const = default;
};

// One table cell: its row (0 is the header row), its column and its content.
struct TableCellConfiguration {
  using Label = BlockLabel;
  int row = 0;
  int column = 0;
  Label label;
};

// The configuration of a style that receives no data (the thematic break).
struct EmptyBlockConfiguration {};

template <class Configuration>
class BlockStyle {
 public:
  using Body = std::function<ui::AnyView(const Configuration&)>;

  // Takes a function that builds a view of any type from a configuration; the style erases the view, so
  // all styles of one configuration type have the same type whatever they draw.
  template <class F>
  requires std::invocable<const F&, const Configuration&> &&
      ui::ViewConvertible<std::invoke_result_t<const F&, const Configuration&>>
  explicit BlockStyle(F body)
      : body_([body = std::move(body)](const Configuration& configuration) {
          return ui::AnyView(body(configuration));
        }) {}

  // For the style without configuration: a function without argument.
  template <class F>
  requires std::same_as<Configuration, EmptyBlockConfiguration> && std::invocable<const F&> &&
      ui::ViewConvertible<std::invoke_result_t<const F&>>
  explicit BlockStyle(F body)
      : body_([body = std::move(body)](const Configuration&) { return ui::AnyView(body()); }) {}

  ui::AnyView render(const Configuration& configuration) const { return body_(configuration); }
  ui::AnyView render() const requires std::same_as<Configuration, EmptyBlockConfiguration> {
    return body_(Configuration{});
  }

  // Shows the configuration's label unchanged.
  static BlockStyle passThrough() requires std::same_as<Configuration, BlockConfiguration> {
    return BlockStyle([](const BlockConfiguration& configuration) { return configuration.label; });
  }

 private:
  Body body_;
};

// A bullet: the system symbol of `image`, drawn with the system font at a third of the effective size of
// the text style in force (13 points when it sets no font), rounded to whole points.
class ListBullet final : public ui::View {
 public:
  explicit ListBullet(std::string image) : image(std::move(image)) {}
  ui::AnyView body() const override;
  std::string image;  // the name of a system symbol
};

// The named list-marker styles. Each shows its marker in a frame at least 1.5 em wide, aligned to its
// trailing edge, so that markers narrower than that end at one horizontal position.
// The item number and a full stop, its digits of equal width.
const BlockStyle<ListMarkerConfiguration>& numeralMarker();
// The item number in upper-case (lower-case) roman numerals and a full stop; decimal digits outside 1 to
// 3999.
const BlockStyle<ListMarkerConfiguration>& uppercaseRomanMarker();
const BlockStyle<ListMarkerConfiguration>& lowercaseRomanMarker();
// The localized text "-".
const BlockStyle<ListMarkerConfiguration>& hyphenMarker();
const BlockStyle<ListMarkerConfiguration>& filledCircleBullet();
const BlockStyle<ListMarkerConfiguration>& hollowCircleBullet();
const BlockStyle<ListMarkerConfiguration>& filledSquareBullet();
// Filled circle, hollow circle and filled square for list levels 1, 2 and 3 or deeper.
const BlockStyle<ListMarkerConfiguration>& bulletByLevel();
// "checkmark.square.fill" for a completed task, "square" for an open one, its layers rendered
// hierarchically, at the small symbol scale.
const BlockStyle<TaskListMarkerConfiguration>& checkboxMarker();
// The symbol of `checkboxMarker` without its frame; with layer colours, the first for the symbol's primary
// layer and the second for its secondary one.
ui::AnyView checkboxSymbol(const TaskListMarkerConfiguration& configuration,
                           const std::optional<std::pair<ui::Color, ui::Color>>& layerColors);

// How table cells are filled, asked per row and column.
class TableBackgroundStyle {
 public:
  using Background = std::function<ui::Color(int row, int column)>;

  explicit TableBackgroundStyle(Background background) : background_(std::move(background)) {}
  ui::Color background(int row, int column) const { return background_(row, column); }

  // Every cell clear.
  static TableBackgroundStyle transparent();
  // Whole rows in alternation: the header row (row 0) in `header` when given, else in `first`; odd rows
  // in `first`; even rows from 2 on in `second`.
  static TableBackgroundStyle rowBands(ui::Color first, ui::Color second,
                                       std::optional<ui::Color> header = std::nullopt);

 private:
  Background background_;
};

// The background style with which table views fill their cells; clear cells where no view set one.
struct TableBackgroundStyleKey {
  using Value = TableBackgroundStyle;
  static const TableBackgroundStyle& defaultValue();
};

}  // namespace MarkdownRender
