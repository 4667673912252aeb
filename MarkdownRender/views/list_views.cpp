#include "MarkdownRender/views/list_views.h"

#include <cstddef>
#include <limits>

#include "MarkdownRender/views/block_sequence.h"
#include "MarkdownRender/views/block_view.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

namespace {

// The items of a list see one level more than the list and the list's own tightness.
ui::AnyView forItemsOf(const ui::AnyView& items, int level, bool tight) {
  return items.environment<ListLevelKey>(level + 1).environment<TightSpacingEnabledKey>(tight);
}

// A marker beside a title, their first lines on one baseline.
ui::AnyView titleAndIcon(ui::AnyView icon, ui::AnyView title) {
  return ui::HStack(ui::VerticalAlignment::firstTextBaseline, std::nullopt, std::move(icon),
                    std::move(title));
}

// Item numbers are reported to the marker styles as ints; numbers past that range stay at its edge
// instead of wrapping.
int clampedItemNumber(std::int64_t number) {
  if (number > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (number < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(number);
}

}  // namespace

void ColumnWidthPreference::reduce(Value& value, const std::function<Value()>& next) {
  for (const auto& [column, width] : next()) {
    auto found = value.find(column);
    if (found == value.end() || width >= found->second) value[column] = width;
  }
}

ui::AnyView BulletedListView::body() const {
  return forItemsOf(ListItemSequence(items_, 1, theme_->bulletedListMarker, std::nullopt), *listLevel_,
                    tight_);
}

ui::AnyView NumberedListView::body() const {
  return forItemsOf(ListItemSequence(items_, start_, theme_->numberedListMarker, *markerWidth_), *listLevel_,
                    tight_)
      .onPreferenceChange<ColumnWidthPreference>(
          [markerWidth = markerWidth_](const std::map<int, double>& widths) {
            auto found = widths.find(0);
            markerWidth.set(found == widths.end() ? std::nullopt : std::optional<double>(found->second));
          });
}

ui::AnyView TaskListView::body() const {
  return forItemsOf(BlockSequence<TaskListItem>(
                        items_,
                        [](std::int64_t, const TaskListItem& item) {
                          return ui::AnyView(ApplyBlockStyle<BlockConfiguration>(
                              &Theme::listItem, BlockConfiguration{BlockLabel(TaskListItemView(item))}));
                        }),
                    *listLevel_, tight_);
}

ui::AnyView ListItemSequence::body() const {
  return BlockSequence<ListItem>(
      items_, [start = start_, markerStyle = markerStyle_, markerWidth = markerWidth_](std::int64_t index,
                                                                                       const ListItem& item) {
        // Saturating: a list may start near the end of the number range.
        const std::int64_t number = start > std::numeric_limits<std::int64_t>::max() - index
                                        ? std::numeric_limits<std::int64_t>::max()
                                        : start + index;
        return ui::AnyView(ApplyBlockStyle<BlockConfiguration>(
            &Theme::listItem,
            BlockConfiguration{BlockLabel(ListItemView(item, number, markerStyle, markerWidth))}));
      });
}

ui::AnyView ListItemView::body() const {
  ui::AnyView marker =
      textStyleFont(markerStyle_.render(ListMarkerConfiguration{*listLevel_, clampedItemNumber(number_)}))
          .background(ui::GeometryReader([](const ui::GeometryProxy& geometry) {
            // A reader that has not been laid out yet knows no width: reporting its zero would squeeze
            // every marker of the list until the next layout.
            ui::AnyView clear(ui::Color::clear());
            if (geometry.size().width <= 0) return clear;
            return clear.preference<ColumnWidthPreference>({{0, geometry.size().width}});
          }));
  // The frame is there with or without a width (without one it leaves the marker its own size), so the
  // marker and its measuring reader keep their place in the tree when the width arrives.
  return titleAndIcon(marker.frame(markerWidth_, std::nullopt, ui::Alignment::trailing()),
                      blockStack(item_.blocks));
}

ui::AnyView TaskListItemView::body() const {
  return titleAndIcon(
      textStyleFont(theme_->taskListMarker.render(TaskListMarkerConfiguration{item_.isCompleted})),
      blockStack(item_.blocks));
}

}  // namespace MarkdownRender
