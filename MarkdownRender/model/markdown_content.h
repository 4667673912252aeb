// Documents written in code: a document is made from a list of block components, a run of inlines from a
// list of inline components, and each component contributes its component of the document model.
#pragma once

#include <fmt/format.h>

#include <array>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/content_builder.h"
#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "platform/foundation/url.h"

namespace MarkdownRender {

struct MarkdownContent;
struct InlineContent;

// Anything that can be listed among blocks: it contributes a document fragment.
template <class T>
concept MarkdownContentProtocol = requires(const T& component) {
  { component.markdownContent() } -> std::convertible_to<MarkdownContent>;
};

// Anything that can be listed among inlines: it contributes a run of inlines.
template <class T>
concept InlineContentProtocol = requires(const T& component) {
  { component.inlineContent() } -> std::convertible_to<InlineContent>;
};

// Block builder: a string is Markdown text, parsed; a component gives its `markdownContent()`.
struct MarkdownContentBuilder;
// Inline builder: a string is one `text`; a component gives its `inlineContent()`.
struct InlineContentBuilder;

// A document: its blocks in order.
struct MarkdownContent {
  std::vector<Block> blocks;

  MarkdownContent() = default;
  explicit MarkdownContent(std::vector<Block> blocks) : blocks(std::move(blocks)) {}
  // The blocks the components contribute, in order (a single string: the blocks parsed from it).
  template <class... Components>
  requires(sizeof...(Components) > 0 &&
           detail::ComponentsOf<MarkdownContentBuilder,
                                Components...>) explicit MarkdownContent(const Components&... components);

  const MarkdownContent& markdownContent() const { return *this; }
  bool operator==(const MarkdownContent&) const = default;
};

// A run of inlines.
struct InlineContent {
  std::vector<Inline> inlines;

  InlineContent() = default;
  explicit InlineContent(std::vector<Inline> inlines) : inlines(std::move(inlines)) {}
  // The inlines the components contribute, in order.
  template <class... Components>
  requires(sizeof...(Components) > 0 &&
           detail::ComponentsOf<InlineContentBuilder,
                                Components...>) explicit InlineContent(const Components&... components);

  const InlineContent& inlineContent() const { return *this; }
  bool operator==(const InlineContent&) const = default;
};

struct MarkdownContentBuilder {
  using Result = MarkdownContent;
  static MarkdownContent single(std::string_view markdown) { return MarkdownContent(parseBlocks(markdown)); }
  template <MarkdownContentProtocol Component>
  static MarkdownContent single(const Component& component) {
    return component.markdownContent();
  }
  static void append(MarkdownContent& result, MarkdownContent&& more) {
    detail::appendElements(result.blocks, std::move(more.blocks));
  }
};

struct InlineContentBuilder {
  using Result = InlineContent;
  static InlineContent single(std::string_view text) {
    return InlineContent(std::vector<Inline>{Inline::text(std::string(text))});
  }
  template <InlineContentProtocol Component>
  static InlineContent single(const Component& component) {
    return component.inlineContent();
  }
  static void append(InlineContent& result, InlineContent&& more) {
    detail::appendElements(result.inlines, std::move(more.inlines));
  }
};

template <class... Components>
requires(sizeof...(Components) > 0 && detail::ComponentsOf<MarkdownContentBuilder, Components...>)
    MarkdownContent::MarkdownContent(const Components&... components)
    : blocks(detail::build<MarkdownContentBuilder>(components...).blocks) {}

template <class... Components>
requires(sizeof...(Components) > 0 && detail::ComponentsOf<InlineContentBuilder, Components...>)
    InlineContent::InlineContent(const Components&... components)
    : inlines(detail::build<InlineContentBuilder>(components...).inlines) {}

namespace detail {

template <class... Components>
std::vector<Block> blocksOfComponents(const Components&... components) {
  return build<MarkdownContentBuilder>(components...).blocks;
}

// One paragraph of one `text`: what a string listed among list items holds.
inline std::vector<Block> paragraphOfText(std::string_view text) {
  return {Block::paragraph({Inline::text(std::string(text))})};
}

// Tight only when asked for and no item holds more than one paragraph (other blocks do not count).
template <class Item>
bool isTight(bool tight, const std::vector<Item>& items) {
  if (!tight) return false;
  for (const auto& item : items) {
    int paragraphs = 0;
    for (const auto& block : item.blocks) paragraphs += block.kind() == Block::Kind::paragraph ? 1 : 0;
    if (paragraphs > 1) return false;
  }
  return true;
}

}  // namespace detail

// List builder: a string is an item of one paragraph of one `text`; a `ListItem` gives itself.
struct ListContentBuilder {
  using Result = std::vector<ListItem>;
  static Result single(std::string_view text) { return {ListItem(detail::paragraphOfText(text))}; }
  static Result single(const ListItem& item) { return {item}; }
  static void append(Result& result, Result&& more) { detail::appendElements(result, std::move(more)); }
};

// Task-list builder: a string is an unticked item of one paragraph of one `text`; a `TaskListItem` gives
// itself.
struct TaskListContentBuilder {
  using Result = std::vector<TaskListItem>;
  static Result single(std::string_view text) { return {TaskListItem(false, detail::paragraphOfText(text))}; }
  static Result single(const TaskListItem& item) { return {item}; }
  static void append(Result& result, Result&& more) { detail::appendElements(result, std::move(more)); }
};

// ---- Block components: each contributes exactly one block.

struct Blockquote {
  MarkdownContent content;

  template <class... Components>
  requires detail::ComponentsOf<MarkdownContentBuilder, Components...>
  explicit Blockquote(const Components&... components)
      : content(detail::build<MarkdownContentBuilder>(components...)) {}

  MarkdownContent markdownContent() const { return MarkdownContent({Block::blockquote(content.blocks)}); }
};

// The list forms shared by the bulleted and numbered lists: the items a list builder lists, or the items
// that a function gives for each element of a sequence of data, concatenated in order.
template <class Data, class Function, class Builder>
concept ListContentFunction = std::ranges::input_range<const Data> &&
    std::invocable<const Function&, std::ranges::range_reference_t<const Data>> &&
    detail::isComponent<Builder, std::remove_cvref_t<std::invoke_result_t<
                                     const Function&, std::ranges::range_reference_t<const Data>>>>();

struct BulletedList {
  bool tight = false;
  std::vector<ListItem> items;

  template <class... Components>
  requires detail::ComponentsOf<ListContentBuilder, Components...> BulletedList(
      bool tight, const Components&... components)
      : BulletedList(Items{}, tight, detail::build<ListContentBuilder>(components...)) {}
  template <class Data, class Function>
  requires ListContentFunction<Data, Function, ListContentBuilder> BulletedList(bool tight, const Data& data,
                                                                                const Function& content)
      : BulletedList(Items{}, tight,
                     detail::resultOf<ListContentBuilder>(std::views::transform(data, content))) {}

  MarkdownContent markdownContent() const { return MarkdownContent({Block::bulletedList(tight, items)}); }

 private:
  struct Items {};
  BulletedList(Items, bool tight, std::vector<ListItem> items)
      : tight(detail::isTight(tight, items)), items(std::move(items)) {}
};

struct NumberedList {
  bool tight = false;
  std::int64_t start = 1;
  std::vector<ListItem> items;

  template <class... Components>
  requires detail::ComponentsOf<ListContentBuilder, Components...> NumberedList(
      bool tight, std::int64_t start, const Components&... components)
      : NumberedList(Items{}, tight, start, detail::build<ListContentBuilder>(components...)) {}
  template <class Data, class Function>
  requires ListContentFunction<Data, Function, ListContentBuilder> NumberedList(bool tight,
                                                                                std::int64_t start,
                                                                                const Data& data,
                                                                                const Function& content)
      : NumberedList(Items{}, tight, start,
                     detail::resultOf<ListContentBuilder>(std::views::transform(data, content))) {}

  MarkdownContent markdownContent() const {
    return MarkdownContent({Block::numberedList(tight, start, items)});
  }

 private:
  struct Items {};
  NumberedList(Items, bool tight, std::int64_t start, std::vector<ListItem> items)
      : tight(detail::isTight(tight, items)), start(start), items(std::move(items)) {}
};

struct TaskList {
  bool tight = false;
  std::vector<TaskListItem> items;

  template <class... Components>
  requires detail::ComponentsOf<TaskListContentBuilder, Components...> TaskList(
      bool tight, const Components&... components)
      : TaskList(Items{}, tight, detail::build<TaskListContentBuilder>(components...)) {}
  template <class Data, class Function>
  requires ListContentFunction<Data, Function, TaskListContentBuilder> TaskList(bool tight, const Data& data,
                                                                                const Function& content)
      : TaskList(Items{}, tight,
                 detail::resultOf<TaskListContentBuilder>(std::views::transform(data, content))) {}

  MarkdownContent markdownContent() const { return MarkdownContent({Block::taskList(tight, items)}); }

 private:
  struct Items {};
  TaskList(Items, bool tight, std::vector<TaskListItem> items)
      : tight(detail::isTight(tight, items)), items(std::move(items)) {}
};

struct CodeBlock {
  std::optional<std::string> language;
  std::string content;

  CodeBlock(std::optional<std::string> language, std::string content)
      : language(std::move(language)), content(std::move(content)) {}
  // The code text given by a function.
  template <class Function>
  requires std::is_invocable_r_v<std::string, const Function&> CodeBlock(std::optional<std::string> language,
                                                                         const Function& content)
      : CodeBlock(std::move(language), std::string(content())) {}

  MarkdownContent markdownContent() const { return MarkdownContent({Block::codeBlock(language, content)}); }
};

struct Heading {
  enum class Level { level1 = 1, level2, level3, level4, level5, level6 };
  static constexpr std::array<Level, 6> allLevels{Level::level1, Level::level2, Level::level3,
                                                  Level::level4, Level::level5, Level::level6};
  static constexpr int rawValue(Level level) { return static_cast<int>(level); }
  // The level of a number from 1 to 6; nothing for any other number.
  static constexpr std::optional<Level> levelFromRawValue(std::int64_t rawValue) {
    if (rawValue < 1 || rawValue > 6) return std::nullopt;
    return static_cast<Level>(rawValue);
  }

  Level level;
  InlineContent content;

  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit Heading(Level level, const Components&... components)
      : level(level), content(detail::build<InlineContentBuilder>(components...)) {}

  MarkdownContent markdownContent() const {
    return MarkdownContent({Block::heading(rawValue(level), content.inlines)});
  }
};

struct Paragraph {
  InlineContent content;

  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit Paragraph(const Components&... components)
      : content(detail::build<InlineContentBuilder>(components...)) {}

  MarkdownContent markdownContent() const { return MarkdownContent({Block::paragraph(content.inlines)}); }
};

struct ThematicBreak {
  MarkdownContent markdownContent() const { return MarkdownContent({Block::thematicBreak()}); }
};

// ---- Tables, generic over the type of one row's value.

template <class RowValue>
struct TextTableColumn {
  std::optional<TextTableColumnAlignment> alignment;
  InlineContent title;
  std::function<InlineContent(const RowValue&)> content;

  TextTableColumn(std::optional<TextTableColumnAlignment> alignment, InlineContent title,
                  std::function<InlineContent(const RowValue&)> content)
      : alignment(alignment), title(std::move(title)), content(std::move(content)) {}
  TextTableColumn(std::optional<TextTableColumnAlignment> alignment, std::string_view title,
                  std::function<InlineContent(const RowValue&)> content)
      : TextTableColumn(alignment, InlineContent(title), std::move(content)) {}
  // The cell is one `text` holding the textual description of a member of the row value.
  template <class Member>
  requires std::is_member_object_pointer_v<Member> && std::invocable<Member, const RowValue&> TextTableColumn(
      std::optional<TextTableColumnAlignment> alignment, InlineContent title, Member member)
      : TextTableColumn(alignment, std::move(title), [member](const RowValue& row) {
          return InlineContent(
              std::vector<Inline>{Inline::text(fmt::format("{}", std::invoke(member, row)))});
        }) {}
  template <class Member>
  requires std::is_member_object_pointer_v<Member> && std::invocable<Member, const RowValue&> TextTableColumn(
      std::optional<TextTableColumnAlignment> alignment, std::string_view title, Member member)
      : TextTableColumn(alignment, InlineContent(title), member) {}
};

template <class RowValue>
struct TextTableRow {
  RowValue value;
};

template <class RowValue>
struct TextTableColumnBuilder {
  using Result = std::vector<TextTableColumn<RowValue>>;
  static Result single(const TextTableColumn<RowValue>& column) { return {column}; }
  static void append(Result& result, Result&& more) { detail::appendElements(result, std::move(more)); }
};

template <class RowValue>
struct TextTableRowBuilder {
  using Result = std::vector<TextTableRow<RowValue>>;
  static Result single(const TextTableRow<RowValue>& row) { return {row}; }
  static void append(Result& result, Result&& more) { detail::appendElements(result, std::move(more)); }
};

// The columns a column builder lists.
template <class RowValue, class... Components>
requires detail::ComponentsOf<TextTableColumnBuilder<RowValue>, Components...>
    std::vector<TextTableColumn<RowValue>> textTableColumns(const Components&... components) {
  return detail::build<TextTableColumnBuilder<RowValue>>(components...);
}

// The rows a row builder lists.
template <class RowValue, class... Components>
requires detail::ComponentsOf<TextTableRowBuilder<RowValue>, Components...>
    std::vector<TextTableRow<RowValue>> textTableRows(const Components&... components) {
  return detail::build<TextTableRowBuilder<RowValue>>(components...);
}

template <class RowValue>
struct TextTable {
  std::vector<std::optional<TextTableColumnAlignment>> columnAlignments;
  std::vector<TableRow> rows;  // the header row first

  // One body row per row value, in order, under the columns a column builder lists.
  template <std::ranges::input_range Data, class... Components>
  requires detail::ComponentsOf<TextTableColumnBuilder<RowValue>, Components...> TextTable(
      const Data& data, const Components&... columns) {
    fill(data, textTableColumns<RowValue>(columns...));
  }

  // One body row per listed row, in order.
  TextTable(const std::vector<TextTableColumn<RowValue>>& columns,
            const std::vector<TextTableRow<RowValue>>& rows) {
    std::vector<RowValue> data;
    data.reserve(rows.size());
    for (const auto& row : rows) data.push_back(row.value);
    fill(data, columns);
  }

  MarkdownContent markdownContent() const { return MarkdownContent({Block::table(columnAlignments, rows)}); }

 private:
  // The header row of the columns' titles, then one row per row value.
  template <std::ranges::input_range Data>
  void fill(const Data& data, const std::vector<TextTableColumn<RowValue>>& columns) {
    TableRow header;
    for (const auto& column : columns) {
      header.push_back(column.title.inlines);
      columnAlignments.push_back(column.alignment);
    }
    rows.push_back(std::move(header));
    for (const auto& value : data) {
      TableRow row;
      for (const auto& column : columns) row.push_back(column.content(value).inlines);
      rows.push_back(std::move(row));
    }
  }
};

// ---- Inline components.

struct Code {
  std::string text;
  explicit Code(std::string text) : text(std::move(text)) {}
  InlineContent inlineContent() const { return InlineContent(std::vector<Inline>{Inline::code(text)}); }
};

// Emphasis, strong emphasis and strikethrough: a string gives one `text`, as in any inline builder.
struct Emphasis {
  InlineContent content;
  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit Emphasis(const Components&... components)
      : content(detail::build<InlineContentBuilder>(components...)) {}
  InlineContent inlineContent() const {
    return InlineContent(std::vector<Inline>{Inline::emphasis(content.inlines)});
  }
};

struct Strong {
  InlineContent content;
  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit Strong(const Components&... components)
      : content(detail::build<InlineContentBuilder>(components...)) {}
  InlineContent inlineContent() const {
    return InlineContent(std::vector<Inline>{Inline::strong(content.inlines)});
  }
};

struct Strikethrough {
  InlineContent content;
  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit Strikethrough(const Components&... components)
      : content(detail::build<InlineContentBuilder>(components...)) {}
  InlineContent inlineContent() const {
    return InlineContent(std::vector<Inline>{Inline::strikethrough(content.inlines)});
  }
};

struct InlineLink {
  std::string destination;  // the URL's absolute string
  InlineContent content;

  // A link of one `text`.
  InlineLink(std::string_view text, const foundation::URL& destination)
      : destination(destination.absoluteString()), content(text) {}
  template <class... Components>
  requires detail::ComponentsOf<InlineContentBuilder, Components...>
  explicit InlineLink(const foundation::URL& destination, const Components&... components)
      : destination(destination.absoluteString()),
        content(detail::build<InlineContentBuilder>(components...)) {}

  InlineContent inlineContent() const {
    return InlineContent(std::vector<Inline>{Inline::link(destination, content.inlines)});
  }
};

struct InlineImage {
  std::string source;  // the URL's absolute string
  InlineContent content;

  // A picture without a description.
  explicit InlineImage(const foundation::URL& source) : source(source.absoluteString()) {}
  // A picture described by one `text`.
  InlineImage(std::string_view text, const foundation::URL& source)
      : source(source.absoluteString()), content(text) {}

  InlineContent inlineContent() const {
    return InlineContent(std::vector<Inline>{Inline::image(source, content.inlines)});
  }
};

struct SoftBreak {
  InlineContent inlineContent() const { return InlineContent(std::vector<Inline>{Inline::softBreak()}); }
};

struct LineBreak {
  InlineContent inlineContent() const { return InlineContent(std::vector<Inline>{Inline::lineBreak()}); }
};

}  // namespace MarkdownRender
