// Bulleted, numbered and task lists: each item a marker drawn by the theme beside the item's blocks. Every
// list raises the list level for its items and tells them whether it is tight.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

class BulletedListView final : public ui::View {
 public:
  BulletedListView(bool tight, std::vector<ListItem> items) : tight_(tight), items_(std::move(items)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<ThemeKey> theme_;
  ui::Environment<ListLevelKey> listLevel_;
  bool tight_;
  std::vector<ListItem> items_;
};

// The widths of drawn content by column, reported up the tree; where two reports name one column the larger
// width stays. List markers report theirs under column 0.
struct ColumnWidthPreference {
  using Value = std::map<int, double>;
  static Value defaultValue() { return {}; }
  static void reduce(Value& value, const std::function<Value()>& next);
};

// Numbers its items from `start`. Its markers are measured, and once they have reported their widths all
// of them take the widest one's, right-aligned, so the item texts start at one position.
class NumberedListView final : public ui::View {
 public:
  NumberedListView(bool tight, std::int64_t start, std::vector<ListItem> items)
      : tight_(tight), start_(start), items_(std::move(items)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<ThemeKey> theme_;
  ui::Environment<ListLevelKey> listLevel_;
  ui::State<std::optional<double>> markerWidth_;  // absent until the markers have reported
  bool tight_;
  std::int64_t start_;
  std::vector<ListItem> items_;
};

class TaskListView final : public ui::View {
 public:
  TaskListView(bool tight, std::vector<TaskListItem> items) : tight_(tight), items_(std::move(items)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<ListLevelKey> listLevel_;
  bool tight_;
  std::vector<TaskListItem> items_;
};

// The items of a bulleted or numbered list, numbered from `start`, each through the theme's item style.
class ListItemSequence final : public ui::View {
 public:
  ListItemSequence(std::vector<ListItem> items, std::int64_t start,
                   BlockStyle<ListMarkerConfiguration> markerStyle, std::optional<double> markerWidth)
      : items_(std::move(items)),
        start_(start),
        markerStyle_(std::move(markerStyle)),
        markerWidth_(markerWidth) {}
  ui::AnyView body() const override;

 private:
  std::vector<ListItem> items_;
  std::int64_t start_;
  BlockStyle<ListMarkerConfiguration> markerStyle_;
  std::optional<double> markerWidth_;
};

// One item: its marker (in the font of the text style in force, reporting its own width) beside its blocks;
// with a marker width, the marker is framed to it and aligned to the frame's trailing edge.
class ListItemView final : public ui::View {
 public:
  ListItemView(ListItem item, std::int64_t number, BlockStyle<ListMarkerConfiguration> markerStyle,
               std::optional<double> markerWidth)
      : item_(std::move(item)),
        number_(number),
        markerStyle_(std::move(markerStyle)),
        markerWidth_(markerWidth) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<ListLevelKey> listLevel_;
  ListItem item_;
  std::int64_t number_;
  BlockStyle<ListMarkerConfiguration> markerStyle_;
  std::optional<double> markerWidth_;
};

// One task: the theme's task marker for its state beside its blocks. Display only: clicking changes nothing.
class TaskListItemView final : public ui::View {
 public:
  explicit TaskListItemView(TaskListItem item) : item_(std::move(item)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<ThemeKey> theme_;
  TaskListItem item_;
};

}  // namespace MarkdownRender
