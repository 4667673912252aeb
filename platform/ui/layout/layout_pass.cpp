#include "platform/ui/layout/layout_pass.h"

#include <fmt/format.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>

#include "platform/appkit/controls.h"
#include "platform/ui/aspect_ratio.h"
#include "platform/ui/image_modifiers.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/material.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/progress_view.h"
#include "platform/ui/safe_area.h"
#include "platform/ui/views.h"

namespace ui {

using detail::Node;

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
static_assert(tabBarHeight == appkit::TabView::kTabBarHeight,
              "the layout leaves the platform's bar its room");

const detail::ContainerSpec* containerOf(const Node& node) {
  return node.primitiveAs<detail::ContainerSpec>();
}

bool isContainer(const Node& node, std::string_view name) {
  auto* container = containerOf(node);
  return container && container->typeName() == name;
}

// A tab's label in the row of tabs (the label itself, or a modifier around it, inside a tab item): its
// icon stands above its title.
bool isTabLabel(const Node& node) {
  const Node* outer = &node;
  while (const Node* parent = outer->parent()) {
    if (parent->kind() != Node::Kind::modified) return isContainer(*parent, "TabItem");
    outer = parent;
  }
  return false;
}

// Containers that only gather views: a stack or layout arranges what is inside them as its own items.
bool isTransparent(const Node& node) {
  auto* container = containerOf(node);
  return container && container->isTransparent();
}

// What a view keeping its proportions is offered: the size of its ratio (its ideal size's, unless given)
// that fits in or covers the proposal.
ProposedViewSize aspectProposal(LayoutPass& pass, const AspectRatioModifier& m, const Node& content,
                                const ProposedViewSize& p) {
  const Size ideal = pass.sizeThatFits(content, ProposedViewSize::unspecified());
  const double ratio = m.ratio.value_or(ideal.height > 0 ? ideal.width / ideal.height : 0);
  if (!(ratio > 0)) return p;
  const Size fitted = aspectFittedSize(ratio, m.contentMode, p.width, p.height, ideal);
  return ProposedViewSize(fitted);
}

// A view with a body stands for the view its body makes.
const Node& unwrapBodies(const Node& node) {
  const Node* current = &node;
  while (current->kind() == Node::Kind::composite && current->children().size() == 1) {
    current = current->children().front().get();
  }
  return *current;
}

// The views a container arranges, in order, with transparent containers (also behind a body) taken
// apart. `gathered` receives each transparent container's outermost node with the range of items it
// gave, so it can be framed around them once they are placed.
struct Gathered {
  const Node* node;
  std::size_t begin, end;
};

// A run of a ForEach's views (see `ui::ForEachRun`).
bool isRun(const Node& node) {
  auto* container = containerOf(node);
  return container && container->isRunOfForEach();
}

// `keepsRunsWhole`: runs of a ForEach are items themselves (see `wholeRunStack`).
void gatherItem(const Node& node, std::vector<const Node*>& items, std::vector<Gathered>& gathered,
                bool takesSectionsApart, bool keepsRunsWhole) {
  const Node& inner = unwrapBodies(node);
  if (isTransparent(inner) && !(keepsRunsWhole && isRun(inner))) {
    std::size_t begin = items.size();
    for (const auto& child : inner.children())
      gatherItem(*child, items, gathered, takesSectionsApart, keepsRunsWhole);
    gathered.push_back({&node, begin, items.size()});
    return;
  }
  if (takesSectionsApart && isContainer(inner, "Section")) {
    std::size_t begin = items.size();
    for (const auto& child : inner.children())
      gatherItem(*child, items, gathered, takesSectionsApart, keepsRunsWhole);
    gathered.push_back({&node, begin, items.size()});
    return;
  }
  items.push_back(&node);
}

std::vector<const Node*> itemsOf(const Node& container, std::vector<Gathered>& gathered,
                                 bool takesSectionsApart = false, bool keepsRunsWhole = false) {
  std::vector<const Node*> items;
  items.reserve(container.children().size());
  for (const auto& child : container.children())
    gatherItem(*child, items, gathered, takesSectionsApart, keepsRunsWhole);
  return items;
}

// The vertical stack whose views a run of a ForEach holds (seen through bodies and gathering containers),
// when the run is offered no height: its views are then laid out one below the other, each offered the
// width alone, exactly as the stack would lay them out itself. So such a stack lays out a run as one of
// its items, and one that did not change keeps its size and placement without its views being visited.
// Offered a height, a stack shares it among all its views, and runs are taken apart.
const detail::StackSpec* wholeRunStack(const Node& run, const ProposedViewSize& p) {
  if (p.height || !isRun(run)) return nullptr;
  for (const Node* parent = run.parent(); parent; parent = parent->parent()) {
    if (parent->kind() == Node::Kind::composite || isTransparent(*parent)) continue;
    const auto* stack = parent->primitiveAs<detail::StackSpec>();
    return stack && stack->axis == detail::StackSpec::Axis::vertical ? stack : nullptr;
  }
  return nullptr;
}

// The nearest modifier of type M on the outside of a view (found walking into modified contents and
// bodies, so the outermost one wins).
template <class M>
const M* outermostModifier(const Node& node) {
  const Node* current = &node;
  while (true) {
    if (auto* m = current->modifierAs<M>()) return m;
    if (current->kind() == Node::Kind::primitive || current->children().empty()) return nullptr;
    current = current->children().front().get();
  }
}

double priorityOf(const Node& node) {
  auto* m = outermostModifier<LayoutPriorityModifier>(node);
  return m ? m->value : 0;
}

// The axis of the stack a spacer or divider stands in, seen through its modifiers and gathering
// containers; nothing outside a horizontal or vertical stack.
std::optional<detail::StackSpec::Axis> enclosingStackAxis(const Node& node) {
  const Node* child = &node;
  for (const Node* parent = node.parent(); parent; child = parent, parent = parent->parent()) {
    if (parent->kind() == Node::Kind::modified) {
      if (parent->children().empty() || parent->children().front().get() != child) return std::nullopt;
      continue;
    }
    if (parent->kind() == Node::Kind::composite || isTransparent(*parent)) continue;
    if (auto* stack = parent->primitiveAs<detail::StackSpec>()) {
      if (stack->axis == detail::StackSpec::Axis::depth) return std::nullopt;
      return stack->axis;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<double> reduced(std::optional<double> length, double by) {
  if (!length) return std::nullopt;
  return std::max(0.0, *length - by);
}

double offsetFor(HorizontalAlignment alignment, double container, double content) {
  switch (alignment) {
    case HorizontalAlignment::leading:
      return 0;
    case HorizontalAlignment::center:
      return (container - content) / 2;
    case HorizontalAlignment::trailing:
      return container - content;
  }
  return 0;
}

// Baselines are aligned by the stacks that know their views' baselines; elsewhere they align as the top
// and bottom edges.
double offsetFor(VerticalAlignment alignment, double container, double content) {
  switch (alignment) {
    case VerticalAlignment::top:
    case VerticalAlignment::firstTextBaseline:
      return 0;
    case VerticalAlignment::center:
      return (container - content) / 2;
    case VerticalAlignment::bottom:
    case VerticalAlignment::lastTextBaseline:
      return container - content;
  }
  return 0;
}

Rect aligned(const Rect& in, Size size, Alignment alignment) {
  return Rect(in.minX() + offsetFor(alignment.horizontal, in.width(), size.width),
              in.minY() + offsetFor(alignment.vertical, in.height(), size.height), size.width, size.height);
}

Rect unionOf(const Rect& a, const Rect& b) {
  double minX = std::min(a.minX(), b.minX()), minY = std::min(a.minY(), b.minY());
  double maxX = std::max(a.maxX(), b.maxX()), maxY = std::max(a.maxY(), b.maxY());
  return Rect(minX, minY, maxX - minX, maxY - minY);
}

template <class FrameOf, class SetFrame>
void frameGatheredViews(const FrameOf& frameOf, const SetFrame& setFrame,
                        const std::vector<Gathered>& gathered) {
  // A group (or ForEach, or branch) the container took apart is framed around the items it gave, so the
  // views inside it count as shown.
  for (const auto& group : gathered) {
    if (group.begin == group.end) continue;
    Rect around = frameOf(group.begin);
    for (std::size_t i = group.begin + 1; i < group.end; ++i) around = unionOf(around, frameOf(i));
    for (const Node* n = group.node;; n = n->children().front().get()) {
      setFrame(*n, around);
      if (isTransparent(*n) || n->children().empty()) break;
    }
  }
}

bool isSpacer(const Node& node) { return unwrapBodies(node).primitiveAs<detail::SpacerSpec>() != nullptr; }

// Stacks: horizontal or vertical runs of items with spacing between neighbours.
struct StackArrangement {
  std::vector<Size> sizes;
  std::vector<ProposedViewSize> proposals;
  std::vector<double> baselineOffsets;  // a row aligned on baselines: each item's distance from the top
  Size size;
};

// Where a vertical stack in `frame` puts an item of `size` whose top is at `top`: aligned across the stack
// as it says, or across its whole width for a run of a ForEach laid out as one item, so that the run's
// views are aligned in it as the stack aligns its own.
Rect columnFrame(const detail::StackSpec& stack, const Rect& frame, double top, Size size, bool isWholeRun) {
  if (isWholeRun) return Rect(frame.minX(), top, frame.width(), size.height);
  return Rect(frame.minX() + offsetFor(stack.alignment.horizontal, frame.width(), size.width), top,
              size.width, size.height);
}

struct StackLayout {
  std::vector<const Node*> items;
  std::vector<bool> isWholeRun;  // by item: a run of a ForEach laid out as one item
  std::vector<Gathered> gathered;
  StackArrangement arrangement;
};

bool isBaseline(VerticalAlignment alignment) {
  return alignment == VerticalAlignment::firstTextBaseline ||
         alignment == VerticalAlignment::lastTextBaseline;
}

double baselineOf(LayoutPass& pass, const Node& node, const ProposedViewSize& proposal, bool isFirst);

StackArrangement arrangeStack(LayoutPass& pass, const std::vector<const Node*>& items, bool isHorizontal,
                              double spacing, const ProposedViewSize& proposal,
                              std::optional<VerticalAlignment> rowAlignment = std::nullopt) {
  StackArrangement result;
  const std::size_t count = items.size();
  if (count == 0) return result;
  auto along = [&](Size s) { return isHorizontal ? s.width : s.height; };
  auto across = [&](Size s) { return isHorizontal ? s.height : s.width; };
  auto make = [&](std::optional<double> a, std::optional<double> c) {
    return isHorizontal ? ProposedViewSize(a, c) : ProposedViewSize(c, a);
  };
  const std::optional<double> proposedAlong = isHorizontal ? proposal.width : proposal.height;
  const std::optional<double> proposedAcross = isHorizontal ? proposal.height : proposal.width;
  const double totalSpacing = spacing * static_cast<double>(count - 1);
  result.sizes.resize(count);
  result.proposals.resize(count);

  if (!proposedAlong) {
    for (std::size_t i = 0; i < count; ++i) {
      result.proposals[i] = make(std::nullopt, proposedAcross);
      result.sizes[i] = pass.sizeThatFits(*items[i], result.proposals[i]);
    }
  } else {
    // Higher priority first; within one priority the least flexible first, each offered an equal share
    // of what is left, so rigid views take their size and flexible ones share the rest.
    struct Info {
      std::size_t index;
      double priority;
      double minimum;
      double flexibility;
    };
    std::vector<Info> infos;
    infos.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      double minimum = along(pass.sizeThatFits(*items[i], make(0.0, proposedAcross)));
      double maximum = along(pass.sizeThatFits(*items[i], make(infinity, proposedAcross)));
      double flexibility = maximum - minimum;
      if (std::isnan(flexibility)) flexibility = 0;
      infos.push_back({i, priorityOf(*items[i]), minimum, flexibility});
    }
    std::stable_sort(infos.begin(), infos.end(), [](const Info& a, const Info& b) {
      if (a.priority != b.priority) return a.priority > b.priority;
      return a.flexibility < b.flexibility;
    });
    double remaining = std::max(0.0, *proposedAlong - totalSpacing);
    for (std::size_t start = 0; start < infos.size();) {
      std::size_t end = start;
      while (end < infos.size() && infos[end].priority == infos[start].priority) ++end;
      double lowerMinimum = 0;
      for (std::size_t j = end; j < infos.size(); ++j) lowerMinimum += infos[j].minimum;
      double available = remaining - lowerMinimum;
      // Spacers only fill what the other views leave: those are offered the room less the spacers'
      // minimum lengths, and the spacers share the rest.
      double spacerMinimum = 0;
      std::size_t spacers = 0;
      for (std::size_t j = start; j < end; ++j) {
        if (!isSpacer(*items[infos[j].index])) continue;
        spacerMinimum += infos[j].minimum;
        ++spacers;
      }
      auto offerTo = [&](std::size_t j, double share) {
        auto index = infos[j].index;
        result.proposals[index] = make(std::max(0.0, share), proposedAcross);
        result.sizes[index] = pass.sizeThatFits(*items[index], result.proposals[index]);
        available -= along(result.sizes[index]);
        remaining -= along(result.sizes[index]);
      };
      std::size_t others = end - start - spacers;
      for (std::size_t j = start; j < end; ++j) {
        if (isSpacer(*items[infos[j].index])) continue;
        offerTo(j, (available - spacerMinimum) / static_cast<double>(others--));
      }
      for (std::size_t j = start; j < end; ++j) {
        if (!isSpacer(*items[infos[j].index])) continue;
        offerTo(j, available / static_cast<double>(spacers--));
      }
      start = end;
    }
  }
  double totalAlong = totalSpacing, maxAcross = 0;
  for (const auto& size : result.sizes) {
    totalAlong += along(size);
    maxAcross = std::max(maxAcross, across(size));
  }
  if (isHorizontal && rowAlignment && isBaseline(*rowAlignment)) {
    // The items' baselines on one line, as low as the lowest lies in its item.
    const bool isFirst = *rowAlignment == VerticalAlignment::firstTextBaseline;
    std::vector<double> baselines(count);
    double shared = 0;
    for (std::size_t i = 0; i < count; ++i) {
      baselines[i] = baselineOf(pass, *items[i], result.proposals[i], isFirst);
      shared = std::max(shared, baselines[i]);
    }
    maxAcross = 0;
    result.baselineOffsets.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      result.baselineOffsets[i] = shared - baselines[i];
      maxAcross = std::max(maxAcross, result.baselineOffsets[i] + result.sizes[i].height);
    }
  }
  result.size = isHorizontal ? Size{totalAlong, maxAcross} : Size{maxAcross, totalAlong};
  return result;
}

// Grids: rows of cells in columns as wide as their widest cell; a view that is not a row spans the
// whole width.
struct GridArrangement {
  struct Row {
    const Node* node;
    std::vector<const Node*> cells;  // empty for a spanning view
    double height = 0;
  };
  std::vector<Row> rows;
  std::vector<double> columnWidths;
  std::vector<HorizontalAlignment> columnAlignments;
  double horizontalSpacing = defaultSpacing, verticalSpacing = defaultSpacing;
  Size size;
};

// The grid keeps its spacings in its description: "(horizontalSpacing: 4, verticalSpacing: default)".
double spacingIn(const std::string& description, std::string_view label) {
  auto at = description.find(label);
  if (at == std::string::npos) return defaultSpacing;
  const char* start = description.c_str() + at + label.size();
  char* end = nullptr;
  double value = std::strtod(start, &end);
  return end == start || !std::isfinite(value) ? defaultSpacing : value;
}

GridArrangement arrangeGrid(LayoutPass& pass, const Node& grid) {
  GridArrangement result;
  const auto description = containerOf(grid)->describe();
  result.horizontalSpacing = spacingIn(description, "horizontalSpacing: ");
  result.verticalSpacing = spacingIn(description, "verticalSpacing: ");
  std::vector<Gathered> gathered;
  for (const Node* rowNode : itemsOf(grid, gathered)) {
    GridArrangement::Row row{rowNode, {}, 0};
    if (isContainer(unwrapBodies(*rowNode), "GridRow")) row.cells = itemsOf(unwrapBodies(*rowNode), gathered);
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      if (result.columnWidths.size() <= column) {
        result.columnWidths.push_back(0);
        result.columnAlignments.push_back(HorizontalAlignment::center);
      }
      result.columnWidths[column] =
          std::max(result.columnWidths[column],
                   pass.sizeThatFits(*row.cells[column], ProposedViewSize::unspecified()).width);
      if (auto* m = outermostModifier<GridColumnAlignmentModifier>(*row.cells[column])) {
        result.columnAlignments[column] = m->alignment;
      }
    }
    result.rows.push_back(std::move(row));
  }
  double width = 0;
  for (double columnWidth : result.columnWidths) width += columnWidth;
  if (!result.columnWidths.empty()) {
    width += result.horizontalSpacing * static_cast<double>(result.columnWidths.size() - 1);
  }
  for (auto& row : result.rows) {
    if (row.cells.empty()) {
      Size size = pass.sizeThatFits(
          *row.node, ProposedViewSize(width > 0 ? std::optional<double>(width) : std::nullopt, std::nullopt));
      width = std::max(width, size.width);
      row.height = size.height;
    }
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      row.height = std::max(
          row.height,
          pass.sizeThatFits(*row.cells[column], ProposedViewSize(result.columnWidths[column], std::nullopt))
              .height);
    }
  }
  double height = 0;
  for (const auto& row : result.rows) height += row.height;
  if (!result.rows.empty()) height += result.verticalSpacing * static_cast<double>(result.rows.size() - 1);
  result.size = {width, height};
  return result;
}

bool isVerticalScroll(const Node& scrollView) {
  return containerOf(scrollView)->describe().find("(horizontal") == std::string::npos;
}

ProposedViewSize scrollContentProposal(const Node& scrollView, const ProposedViewSize& proposal) {
  return isVerticalScroll(scrollView) ? ProposedViewSize(proposal.width, std::nullopt)
                                      : ProposedViewSize(std::nullopt, proposal.height);
}

Font fontOf(const Node& node) { return node.environment().font().value_or(Font::body()); }

// The selected tab's content: only the selected tab item holds one, after its label.
const Node* selectedTabContent(const Node& tabView) {
  for (const auto& tab : tabView.children()) {
    if (isContainer(*tab, "TabItem") && tab->children().size() > 1) return tab->children()[1].get();
  }
  return nullptr;
}

// A picker: its title, then its control (a pop-up menu, or segments sharing the control's width).
struct PickerArrangement {
  double titleWidth = 0;
  double gap = 0;
  Size control;
  Size size;
  bool isSegmented = false;
};

double controlHeightFor(const TextMeasurer& measurer, const Font& font) {
  return measurer.lineHeight(font) + textFieldChrome;
}

PickerArrangement arrangePicker(LayoutPass& pass, const Node& node, const detail::PickerSpec& picker,
                                const ProposedViewSize& p) {
  PickerArrangement result;
  const TextMeasurer& measurer = pass.measurer();
  const Font font = fontOf(node);
  if (!picker.title.empty()) {
    result.titleWidth = measurer.measure(picker.title, font, std::nullopt).width;
    result.gap = defaultSpacing;
  }
  double idealControlWidth = 0;
  result.control.height = controlHeightFor(measurer, font);
  result.isSegmented = node.environment().get<PickerStyleKey>() == PickerStyle::segmented;
  if (result.isSegmented) {
    double segmentWidth = 0;
    for (const auto& label : node.children()) {
      Size size = pass.sizeThatFits(*label, ProposedViewSize::unspecified());
      segmentWidth = std::max(segmentWidth, size.width + 2 * segmentMargin);
      result.control.height = std::max(result.control.height, size.height + textFieldChrome);
    }
    idealControlWidth = segmentWidth * static_cast<double>(node.children().size());
  } else {
    double widest = 0;
    for (const auto& title : picker.optionTitles) {
      widest = std::max(widest, measurer.measure(title, font, std::nullopt).width);
    }
    idealControlWidth = widest + popUpChrome;
  }
  const double ideal = result.titleWidth + result.gap + idealControlWidth;
  const double width = p.width && std::isfinite(*p.width) ? std::max(0.0, std::min(*p.width, ideal)) : ideal;
  if (width < ideal) {
    // Too narrow: the title and the control give up room in proportion to their widths, and what they
    // show is cut short with an ellipsis.
    const double room = std::max(0.0, width - result.gap);
    const double wanted = result.titleWidth + idealControlWidth;
    result.titleWidth = wanted > 0 ? room * result.titleWidth / wanted : 0;
  }
  result.control.width = std::max(0.0, width - result.titleWidth - result.gap);
  result.size = {width, std::max(result.control.height, measurer.lineHeight(font))};
  return result;
}

// A colour well after its label.
Size colorPickerSize(LayoutPass& pass, const Node& node, double& labelWidth) {
  Size label = node.children().empty()
                   ? Size{}
                   : pass.sizeThatFits(*node.children().front(), ProposedViewSize::unspecified());
  labelWidth = label.width;
  return {label.width + defaultSpacing + colorWellWidth, std::max(label.height, colorWellHeight)};
}

struct FrameSizes {
  Size size;
  ProposedViewSize childProposal;
  Size childSize;
};

// Fixed dimensions are the frame's; flexible ones clamp the proposal for the content and then the
// content's answer to the minimum and maximum (a maximum of infinity takes all that is proposed).
FrameSizes frameSizes(LayoutPass& pass, const FrameModifier& m, const Node& content,
                      const ProposedViewSize& p) {
  auto childLength = [](std::optional<double> proposed, std::optional<double> fixed,
                        std::optional<double> minimum, std::optional<double> ideal,
                        std::optional<double> maximum) -> std::optional<double> {
    if (fixed) return fixed;
    std::optional<double> length = proposed ? proposed : ideal;
    if (length && minimum && *length < *minimum) length = minimum;
    if (length && maximum && *length > *maximum) length = maximum;
    return length;
  };
  auto ownLength = [](double child, std::optional<double> offered, std::optional<double> fixed,
                      std::optional<double> minimum, std::optional<double> maximum) {
    if (fixed) return *fixed;
    double length = child;
    if (minimum) length = std::max(*minimum, std::min(length, offered.value_or(length)));
    if (maximum) length = std::min(*maximum, std::max(length, offered.value_or(length)));
    return length;
  };
  FrameSizes result;
  result.childProposal = {childLength(p.width, m.width, m.minWidth, m.idealWidth, m.maxWidth),
                          childLength(p.height, m.height, m.minHeight, m.idealHeight, m.maxHeight)};
  result.childSize = pass.sizeThatFits(content, result.childProposal);
  result.size = {
      ownLength(result.childSize.width, result.childProposal.width, m.width, m.minWidth, m.maxWidth),
      ownLength(result.childSize.height, result.childProposal.height, m.height, m.minHeight, m.maxHeight)};
  return result;
}

ProposedViewSize fixedSizeProposal(const FixedSizeModifier& m, const ProposedViewSize& p) {
  return {m.horizontal ? std::nullopt : p.width, m.vertical ? std::nullopt : p.height};
}

Size naturalImageSize(const detail::ImageSpec& image, const EnvironmentValues& environment,
                      const TextMeasurer& measurer) {
  if (image.size) return *image.size;
  // Symbols are drawn at the size of a line of the font; named images have no pixels to measure yet.
  if (image.source == detail::ImageSpec::Source::systemSymbol) {
    double side = measurer.lineHeight(environment.font().value_or(Font::body())) *
                  symbolScaleFactor(environment.get<ImageScaleKey>());
    return {side, side};
  }
  return {0, 0};
}

// A text's characters and pictures as the measurer takes them, one run per segment; the characters are
// set in the font their segment starts with, or else the font the text sees.
std::vector<TextRun> runsOf(const detail::TextSpec& text, const Node& node, const TextMeasurer& measurer) {
  const Font font = fontOf(node);
  std::vector<TextRun> runs;
  runs.reserve(text.segments().size());
  for (const auto& segment : text.segments()) {
    if (segment.image) {
      runs.push_back(TextRun{{}, font, naturalImageSize(*segment.image, node.environment(), measurer)});
      continue;
    }
    const auto& characters = segment.text;
    const auto& own = characters.runs().empty() ? std::optional<Font>()
                                                : characters.attributes(characters.runs().front()).font;
    runs.push_back(TextRun{characters.characters(), own.value_or(font), std::nullopt});
  }
  return runs;
}

// How far below a view's top its first (or last) line of text stands, laid out under `proposal`: found in
// its text through stacks and modifiers; a view without text stands on its bottom edge.
double baselineOf(LayoutPass& pass, const Node& node, const ProposedViewSize& p, bool isFirst) {
  const Size size = pass.sizeThatFits(node, p);
  const auto& children = node.children();
  if (node.kind() == Node::Kind::composite) {
    return children.empty() ? size.height : baselineOf(pass, *children.front(), p, isFirst);
  }
  if (node.kind() == Node::Kind::modified) {
    if (children.empty()) return size.height;
    const Node& content = *children.front();
    if (auto* m = node.modifierAs<PaddingModifier>()) {
      auto insets = m->insets();
      return insets.top + baselineOf(pass, content,
                                     {reduced(p.width, insets.leading + insets.trailing),
                                      reduced(p.height, insets.top + insets.bottom)},
                                     isFirst);
    }
    if (auto* m = node.modifierAs<FrameModifier>()) {
      auto sizes = frameSizes(pass, *m, content, p);
      return offsetFor(m->alignment.vertical, sizes.size.height, sizes.childSize.height) +
             baselineOf(pass, content, sizes.childProposal, isFirst);
    }
    if (auto* m = node.modifierAs<FixedSizeModifier>()) {
      auto childProposal = fixedSizeProposal(*m, p);
      const Size child = pass.sizeThatFits(content, childProposal);
      return (size.height - child.height) / 2 + baselineOf(pass, content, childProposal, isFirst);
    }
    if (node.modifierAs<SearchableModifier>()) {
      return searchBarHeight +
             baselineOf(pass, content, {p.width, reduced(p.height, searchBarHeight)}, isFirst);
    }
    if (node.modifierAs<AspectRatioModifier>()) return size.height;
    return baselineOf(pass, content, p, isFirst);
  }
  if (auto* text = node.primitiveAs<detail::TextSpec>()) {
    const TextMeasurer& measurer = pass.measurer();
    const Font font = fontOf(node);
    if (text->hasImages()) {
      std::optional<double> width = p.width && std::isfinite(*p.width) ? p.width : std::nullopt;
      const auto runs = runsOf(*text, node, measurer);
      auto laidOut = measurer.layout(runs, width, node.environment().get<LineSpacingKey>());
      if (laidOut.characters.empty()) return size.height;
      const auto& set = isFirst ? laidOut.characters.front() : laidOut.characters.back();
      return set.origin.y + measurer.ascent(runs[set.run].font);
    }
    const double ascent = measurer.ascent(font);
    return isFirst ? ascent : size.height - (measurer.lineHeight(font) - ascent);
  }
  if (auto* stack = node.primitiveAs<detail::StackSpec>()) {
    if (stack->axis == detail::StackSpec::Axis::depth) return size.height;
    std::vector<Gathered> gathered;
    auto items = itemsOf(node, gathered);
    if (items.empty()) return size.height;
    const bool isHorizontal = stack->axis == detail::StackSpec::Axis::horizontal;
    const double spacing = stack->spacing.value_or(defaultSpacing);
    auto arrangement = arrangeStack(pass, items, isHorizontal, spacing, p, stack->alignment.vertical);
    if (isHorizontal) {
      // The row's first item speaks for it.
      const double y = arrangement.baselineOffsets.empty()
                           ? offsetFor(stack->alignment.vertical, arrangement.size.height,
                                       arrangement.sizes.front().height)
                           : arrangement.baselineOffsets.front();
      return y + baselineOf(pass, *items.front(), arrangement.proposals.front(), isFirst);
    }
    if (isFirst) return baselineOf(pass, *items.front(), arrangement.proposals.front(), true);
    double top = 0;
    for (std::size_t i = 0; i + 1 < items.size(); ++i) top += arrangement.sizes[i].height + spacing;
    return top + baselineOf(pass, *items.back(), arrangement.proposals.back(), false);
  }
  if (node.primitiveAs<detail::ButtonSpec>() || node.primitiveAs<detail::LinkSpec>()) {
    return children.empty() ? size.height : baselineOf(pass, *children.front(), p, isFirst);
  }
  return size.height;
}

}  // namespace

// What a pass keeps for one view. Sizes hold while the subtree keeps the revision they were measured at;
// a placement holds while the view keeps the revision it was placed at, in the same era of the pass.
struct Node::LayoutRecord {
  // One size measured under one proposal. An unspecified dimension is kept as NaN (no proposal is NaN),
  // so a record of a few sizes stays small: a long table keeps one record for each of its many views.
  struct Measured {
    double proposedWidth;
    double proposedHeight;
    Size size;

    static double stored(const std::optional<double>& length) {
      return length.value_or(std::numeric_limits<double>::quiet_NaN());
    }
    static bool matches(double kept, const std::optional<double>& length) {
      return length ? kept == *length : std::isnan(kept);
    }
    bool isFor(const ProposedViewSize& proposal) const {
      return matches(proposedWidth, proposal.width) && matches(proposedHeight, proposal.height);
    }
  };
  // What only some views have (grids, controls, scroll views, texts with pictures), kept apart so the
  // record of an ordinary view does not carry it.
  struct Extras {
    std::uint64_t gridRevision = 0;
    std::shared_ptr<const GridArrangement> grid;
    std::optional<Rect> controlFrame;
    std::optional<Size> contentSize;
    std::vector<Rect> imageFrames;
    std::vector<SetCharacters> setCharacters;
    // The geometry readers of its subtree in tree order, worked out the first time the view was kept
    // where it was placed, and good for as long as it keeps that placement.
    std::optional<std::vector<const Node*>> keptGeometryReaders;
    // A stack's items and their arrangement under the proposal it was last measured or placed with, and
    // the revision they hold for (see `stackLayout`).
    std::uint64_t stackRevision = 0;
    ProposedViewSize stackProposal;
    std::shared_ptr<const StackLayout> stack;
  };

  std::uint64_t passId = 0;  // the pass that keeps this record; none once it let go
  std::uint64_t sizesRevision = 0;
  std::vector<Measured> sizes;

  std::uint64_t placedRevision = 0;  // none: not placed
  std::uint64_t era = 0;
  std::uint64_t stamp = 0;     // the run that last placed the view, or kept it where it was
  std::uint64_t arranged = 0;  // the run that last placed the view and its subtree anew
  Rect frame;
  // The proposal it was placed under, kept as a measured size's is.
  double placedWidth = 0;
  double placedHeight = 0;
  // Placed by a call of `place` of its own (not only framed by the container that took it apart).
  bool isPlacedItself = false;
  // Its subtree holds a view whose place depends on where it lies in the space laid out.
  bool isPositionDependent = false;
  // Its subtree holds geometry readers, which are told their frames after every run.
  bool hasGeometryReaders = false;
  // The proposal it was placed under had no length that is not a number (one that equals nothing).
  bool isPlacedUnderNumbers = false;
  // How many views of its subtree, itself included, were placed.
  std::uint32_t placedViews = 0;
  std::unique_ptr<Extras> extras;

  void placedUnder(const ProposedViewSize& proposal) {
    placedWidth = Measured::stored(proposal.width);
    placedHeight = Measured::stored(proposal.height);
    isPlacedUnderNumbers = !(proposal.width && std::isnan(*proposal.width)) &&
                           !(proposal.height && std::isnan(*proposal.height));
  }
  // A length that is not a number is never the one it was placed under, as it equals nothing.
  bool isPlacedUnder(const ProposedViewSize& proposal) const {
    return isPlacedUnderNumbers && Measured::matches(placedWidth, proposal.width) &&
           Measured::matches(placedHeight, proposal.height);
  }

  Extras& ensureExtras() {
    if (!extras) extras = std::make_unique<Extras>();
    return *extras;
  }
  // Forgets what the last placement worked out beside the frame (a grid's arrangement is kept: it
  // depends on the revision alone).
  void clearPlacementExtras() {
    if (!extras) return;
    extras->controlFrame.reset();
    extras->contentSize.reset();
    extras->imageFrames.clear();
    extras->setCharacters.clear();
    extras->keptGeometryReaders.reset();
  }
};

void Node::LayoutRecordDeleter::operator()(LayoutRecord* record) const { delete record; }

namespace {

template <class Visit>
void forEachInSubtree(const Node& node, const Visit& visit) {
  visit(node);
  for (const auto& child : node.children()) forEachInSubtree(*child, visit);
}

std::atomic<std::uint64_t> lastPassId{0};

// Whether measuring `node` is measuring its content once, under the same proposal or one worked out from
// it in a few steps: views with a body and most modifiers (not frames and aspect ratios, which may
// measure their content several times).
bool isMeasuredThroughContent(const Node& node) {
  if (node.kind() == Node::Kind::composite) return true;
  return node.kind() == Node::Kind::modified && !node.modifierAs<FrameModifier>() &&
         !node.modifierAs<AspectRatioModifier>();
}

// Whether the sizes of `node` are worth keeping. In a chain of views each measured through its content
// (a table cell is about ten of them, and a table thousands of cells) only the first keeps them: the
// others are measured only by the view above them, which keeps what they gave it, and measuring one again
// walks down the chain to the next view that keeps its sizes.
bool keepsSizes(const Node& node) {
  return !isMeasuredThroughContent(node) || !node.parent() || !isMeasuredThroughContent(*node.parent());
}

// A grid's arrangement does not depend on what it is offered: it is worked out once per revision, for
// measuring and placing alike.
const GridArrangement& gridArrangement(LayoutPass& pass, Node::LayoutRecord& record, const Node& grid) {
  auto& extras = record.ensureExtras();
  if (!extras.grid || extras.gridRevision != grid.revision()) {
    extras.grid = std::make_shared<const GridArrangement>(arrangeGrid(pass, grid));
    extras.gridRevision = grid.revision();
  }
  return *extras.grid;
}

// A horizontal or vertical stack's items and their arrangement under one proposal. They depend on the
// stack's subtree alone, so they hold while it keeps its revision: a stack measured and then placed under
// the same proposal (as most are), or kept as it was while something around it changed, gathers and
// arranges its items once, however many they are.
std::shared_ptr<const StackLayout> stackLayout(LayoutPass& pass, Node::LayoutRecord& record, const Node& node,
                                               const detail::StackSpec& stack, const ProposedViewSize& p) {
  auto& extras = record.ensureExtras();
  if (extras.stack && extras.stackRevision == node.revision() && extras.stackProposal == p)
    return extras.stack;
  auto made = std::make_shared<StackLayout>();
  const bool keepsRunsWhole = stack.axis == detail::StackSpec::Axis::vertical && !p.height;
  made->items = itemsOf(node, made->gathered, false, keepsRunsWhole);
  made->isWholeRun.reserve(made->items.size());
  for (const Node* item : made->items)
    made->isWholeRun.push_back(keepsRunsWhole && isRun(unwrapBodies(*item)));
  made->arrangement = arrangeStack(pass, made->items, stack.axis == detail::StackSpec::Axis::horizontal,
                                   stack.spacing.value_or(defaultSpacing), p, stack.alignment.vertical);
  // Measuring the items made records of their own; this one stays where it was, as do its extras.
  extras.stack = made;
  extras.stackRevision = node.revision();
  extras.stackProposal = p;
  return made;
}

}  // namespace

std::vector<const Node*> detail::arrangedItems(const Node& container, bool takesSectionsApart) {
  std::vector<Gathered> gathered;
  return itemsOf(container, gathered, takesSectionsApart);
}

ProposedViewSize ProposedViewSize::infinity() { return {ui::infinity, ui::infinity}; }

LayoutPass::LayoutPass(std::shared_ptr<const TextMeasurer> measurer)
    : measurer_(measurer ? std::move(measurer) : defaultTextMeasurer()), id_(++lastPassId) {}

LayoutPass::~LayoutPass() {
  // The records this pass kept in the tree it laid out are let go, so the next pass over the same tree
  // keeps its own there; what it measured goes with them (another pass may measure text differently).
  auto root = root_.lock();
  if (!root) return;
  forEachInSubtree(*root, [this](const Node& node) {
    auto& own = node.layoutRecord_;
    if (own && own->passId == id_) own.reset();
  });
}

LayoutPass::Record& LayoutPass::record(const Node& node) {
  auto& own = node.layoutRecord_;
  // Only a pass that lays views out keeps records in them; one that only measures keeps its own.
  if (!own && generation_ > 0) {
    own.reset(new Record());
    own->passId = id_;
  }
  if (own && own->passId == id_) return *own;
  auto& borrowed = borrowed_[&node];
  if (!borrowed) borrowed = std::make_unique<Record>();
  return *borrowed;
}

const LayoutPass::Record* LayoutPass::recordIfAny(const Node& node) const {
  const auto& own = node.layoutRecord_;
  if (own && own->passId == id_) return own.get();
  if (borrowed_.empty()) return nullptr;
  auto found = borrowed_.find(&node);
  return found == borrowed_.end() ? nullptr : found->second.get();
}

const LayoutPass::Record* LayoutPass::placed(const Node& node) const {
  const Record* record = recordIfAny(node);
  if (!record || record->placedRevision == 0 || record->placedRevision != node.revision() ||
      record->era != era_) {
    return nullptr;
  }
  return record;
}

LayoutPass::Record& LayoutPass::setFrame(const Node& node, const Rect& frame) {
  Record& record = this->record(node);
  record.placedRevision = node.revision();
  record.era = era_;
  record.stamp = generation_;
  record.frame = frame;
  record.isPlacedItself = false;
  return record;
}

std::optional<Rect> LayoutPass::placedFrame(const Node& node) const {
  const Record* record = placed(node);
  return record ? std::optional<Rect>(record->frame) : std::nullopt;
}

void LayoutPass::layout(const Node& root, Size size, EdgeInsets safeAreaInsets) {
  static std::atomic<std::uint64_t> runs{0};
  generation_ = ++runs;
  // Records kept for this pass alone name nodes by address, which a later node may take: they hold for
  // one run.
  borrowed_.clear();
  if (root_.lock().get() != &root) {
    ++era_;
    root_ = root.weak_from_this();
  }
  geometryReaders_.clear();
  // A reader in a subtree kept where it was has the frame it had in the run before, which it was told
  // unless that run's readers went untold.
  listsKeptReaders_ = !isGeometryReported_;
  isGeometryReported_ = false;
  bounds_ = Rect(0, 0, size.width, size.height);
  safeArea_ = Rect(safeAreaInsets.leading, safeAreaInsets.top,
                   std::max(0.0, size.width - safeAreaInsets.leading - safeAreaInsets.trailing),
                   std::max(0.0, size.height - safeAreaInsets.top - safeAreaInsets.bottom));
  ProposedViewSize proposal(safeArea_.size);
  Size rootSize = sizeThatFits(root, proposal);
  place(root, aligned(safeArea_, rootSize, Alignment::center()), proposal);
}

Rect LayoutPass::reachingOutOfSafeArea(const Rect& frame, Edges edges) const {
  // A frame edge counts as lying on the safe area's boundary when it is at or beyond it.
  constexpr double tolerance = 0.001;
  double minX = frame.minX(), minY = frame.minY(), maxX = frame.maxX(), maxY = frame.maxY();
  if (contains(edges, Edges::top) && minY <= safeArea_.minY() + tolerance)
    minY = std::min(minY, bounds_.minY());
  if (contains(edges, Edges::leading) && minX <= safeArea_.minX() + tolerance)
    minX = std::min(minX, bounds_.minX());
  if (contains(edges, Edges::bottom) && maxY >= safeArea_.maxY() - tolerance)
    maxY = std::max(maxY, bounds_.maxY());
  if (contains(edges, Edges::trailing) && maxX >= safeArea_.maxX() - tolerance)
    maxX = std::max(maxX, bounds_.maxX());
  return Rect(minX, minY, maxX - minX, maxY - minY);
}

std::optional<Rect> LayoutPass::frame(const Node& node) const { return placedFrame(node); }

std::optional<std::uint64_t> LayoutPass::arrangedIn(const Node& node) const {
  const Record* record = placed(node);
  return record && record->isPlacedItself ? std::optional<std::uint64_t>(record->arranged) : std::nullopt;
}

std::vector<Rect> LayoutPass::imageFrames(const Node& text) const {
  const Record* record = placed(text);
  return record && record->extras ? record->extras->imageFrames : std::vector<Rect>{};
}

std::vector<SetCharacters> LayoutPass::setCharacters(const Node& text) const {
  const Record* record = placed(text);
  return record && record->extras ? record->extras->setCharacters : std::vector<SetCharacters>{};
}

std::optional<Rect> LayoutPass::controlFrame(const Node& node) const {
  const Record* record = placed(node);
  return record && record->extras ? record->extras->controlFrame : std::nullopt;
}

std::optional<Size> LayoutPass::contentSize(const Node& scrollView) const {
  const Record* record = placed(scrollView);
  return record && record->extras ? record->extras->contentSize : std::nullopt;
}

std::size_t LayoutPass::PlacedFrames::size() const {
  auto root = pass_->root_.lock();
  const Record* record = root ? pass_->placed(*root) : nullptr;
  return record ? record->placedViews : 0;
}

const LayoutPass::PlacedFrames::List& LayoutPass::PlacedFrames::list() const {
  const LayoutPass& pass = *pass_;
  if (pass.placedFramesGeneration_ == pass.generation_) return pass.placedFrames_;
  pass.placedFramesGeneration_ = pass.generation_;
  pass.placedFrames_.clear();
  if (auto root = pass.root_.lock()) {
    pass.placedFrames_.reserve(size());
    forEachInSubtree(*root, [&pass](const Node& node) {
      if (const Record* record = pass.placed(node)) pass.placedFrames_.emplace_back(&node, record->frame);
    });
  }
  return pass.placedFrames_;
}

Size LayoutPass::sizeThatFits(const Node& node, const ProposedViewSize& proposal) {
  if (!keepsSizes(node)) return measure(node, proposal);
  Record& entry = record(node);
  if (entry.sizesRevision != node.revision()) {
    entry.sizesRevision = node.revision();
    entry.sizes.clear();
  }
  for (const auto& measured : entry.sizes) {
    if (measured.isFor(proposal)) return measured.size;
  }
  Size size = measure(node, proposal);
  // A length that is not a number never matches a kept one, as it equals nothing: it is not kept.
  if ((proposal.width && std::isnan(*proposal.width)) || (proposal.height && std::isnan(*proposal.height)))
    return size;
  // The record stays where it is while other views are measured. Most views are measured under two or
  // three proposals: room for three is made at once rather than by growing one at a time.
  if (entry.sizes.capacity() == 0) entry.sizes.reserve(3);
  entry.sizes.push_back(
      {Record::Measured::stored(proposal.width), Record::Measured::stored(proposal.height), size});
  return size;
}

void LayoutPass::place(const Node& node, const Rect& frame, std::optional<ProposedViewSize> proposal) {
  const ProposedViewSize p = proposal.value_or(ProposedViewSize(frame.size));
  if (const Record* kept = placed(node); kept && kept->isPlacedItself && !kept->isPositionDependent &&
                                         kept->isPlacedUnder(p) && kept->frame.size == frame.size) {
    // Placed as before: the subtree keeps its arrangement, moved by however far the frame moved.
    const double dx = frame.minX() - kept->frame.minX(), dy = frame.minY() - kept->frame.minY();
    const bool isMoved = dx != 0 || dy != 0;
    if (isMoved) move(node, dx, dy);
    Record& keptRecord = record(node);
    if (kept->hasGeometryReaders && (isMoved || listsKeptReaders_)) {
      auto& readers = keptRecord.ensureExtras().keptGeometryReaders;
      if (!readers) {
        std::vector<const Node*> found;
        std::swap(found, geometryReaders_);
        collectGeometryReaders(node);
        std::swap(found, geometryReaders_);
        readers = std::move(found);
      }
      geometryReaders_.insert(geometryReaders_.end(), readers->begin(), readers->end());
    }
    keptRecord.stamp = generation_;
    return;
  }
  Record& record = setFrame(node, frame);
  record.isPlacedItself = true;
  record.arranged = generation_;
  record.placedUnder(p);
  record.isPositionDependent = false;
  record.hasGeometryReaders = false;
  record.clearPlacementExtras();
  placeInside(node, frame, p);
  const Subtree below = settleChildren(node);
  record.isPositionDependent = below.isPositionDependent || node.modifierAs<IgnoresSafeAreaModifier>();
  record.hasGeometryReaders =
      below.hasGeometryReaders || node.primitiveAs<detail::GeometryReaderSpec>() != nullptr;
  record.placedViews = 1 + below.placedViews;
}

LayoutPass::Subtree LayoutPass::settleChildren(const Node& node) {
  Subtree result;
  auto add = [&result](const Subtree& child) {
    result.isPositionDependent = result.isPositionDependent || child.isPositionDependent;
    result.hasGeometryReaders = result.hasGeometryReaders || child.hasGeometryReaders;
    result.placedViews += child.placedViews;
  };
  for (const auto& child : node.children()) {
    const Record* placedChild = placed(*child);
    if (placedChild && placedChild->stamp == generation_) {
      if (placedChild->isPlacedItself) {
        add({placedChild->isPositionDependent, placedChild->hasGeometryReaders, placedChild->placedViews});
        continue;
      }
      // Framed by this view around the items it took from it: those were placed by this view too.
      const Subtree below = settleChildren(*child);
      Record& framed = record(*child);
      framed.isPositionDependent = below.isPositionDependent;
      framed.hasGeometryReaders = below.hasGeometryReaders;
      framed.placedViews = 1 + below.placedViews;
      add({below.isPositionDependent, below.hasGeometryReaders, framed.placedViews});
    } else if (placedChild) {
      forget(*child);
    } else {
      // Not framed itself, but what it gathers may have been placed.
      add(settleChildren(*child));
    }
  }
  return result;
}

void LayoutPass::collectGeometryReaders(const Node& node) {
  // Only the paths that lead to readers are followed.
  const Record* kept = placed(node);
  if (kept && !kept->hasGeometryReaders) return;
  if (kept && node.primitiveAs<detail::GeometryReaderSpec>()) geometryReaders_.push_back(&node);
  for (const auto& child : node.children()) collectGeometryReaders(*child);
}

void LayoutPass::forget(const Node& node) {
  forEachInSubtree(node, [this](const Node& each) {
    if (placed(each)) record(each).placedRevision = 0;
  });
}

void LayoutPass::move(const Node& node, double dx, double dy) {
  auto moved = [dx, dy](const Rect& r) { return Rect(r.minX() + dx, r.minY() + dy, r.width(), r.height()); };
  forEachInSubtree(node, [&](const Node& each) {
    if (!placed(each)) return;
    Record& record = this->record(each);
    record.frame = moved(record.frame);
    if (!record.extras) return;
    auto& extras = *record.extras;
    if (extras.controlFrame) extras.controlFrame = moved(*extras.controlFrame);
    for (auto& picture : extras.imageFrames) picture = moved(picture);
    for (auto& set : extras.setCharacters) set.origin = {set.origin.x + dx, set.origin.y + dy};
  });
}

Size LayoutPass::measure(const Node& node, const ProposedViewSize& p) {
  const auto& children = node.children();
  if (node.kind() == Node::Kind::composite) {
    return children.empty() ? Size{} : sizeThatFits(*children.front(), p);
  }
  if (node.kind() == Node::Kind::modified) {
    if (children.empty()) return {};
    const Node& content = *children.front();
    if (auto* m = node.modifierAs<PaddingModifier>()) {
      auto insets = m->insets();
      double horizontal = insets.leading + insets.trailing, vertical = insets.top + insets.bottom;
      Size size = sizeThatFits(content, {reduced(p.width, horizontal), reduced(p.height, vertical)});
      return {size.width + horizontal, size.height + vertical};
    }
    if (auto* m = node.modifierAs<FrameModifier>()) return frameSizes(*this, *m, content, p).size;
    if (auto* m = node.modifierAs<FixedSizeModifier>())
      return sizeThatFits(content, fixedSizeProposal(*m, p));
    if (node.modifierAs<SearchableModifier>()) {
      Size size = sizeThatFits(content, {p.width, reduced(p.height, searchBarHeight)});
      return {size.width, size.height + searchBarHeight};
    }
    if (auto* m = node.modifierAs<AspectRatioModifier>())
      return sizeThatFits(content, aspectProposal(*this, *m, content, p));
    return sizeThatFits(content, p);
  }

  // Built-in views.
  if (auto* text = node.primitiveAs<detail::TextSpec>()) {
    std::optional<double> width = p.width && std::isfinite(*p.width) ? p.width : std::nullopt;
    const double lineSpacing = node.environment().get<LineSpacingKey>();
    if (text->hasImages()) return measurer_->layout(runsOf(*text, node, *measurer_), width, lineSpacing).size;
    return measurer_->measureAttributed(text->attributedString(), fontOf(node), width, lineSpacing);
  }
  if (auto* stack = node.primitiveAs<detail::StackSpec>()) {
    if (stack->axis == detail::StackSpec::Axis::depth) {
      std::vector<Gathered> gathered;
      auto items = itemsOf(node, gathered);
      Size size;
      for (const Node* item : items) {
        Size itemSize = sizeThatFits(*item, p);
        size = {std::max(size.width, itemSize.width), std::max(size.height, itemSize.height)};
      }
      return size;
    }
    return stackLayout(*this, record(node), node, *stack, p)->arrangement.size;
  }
  if (auto* spacer = node.primitiveAs<detail::SpacerSpec>()) {
    double minimum = spacer->minLength.value_or(defaultSpacing);
    auto axis = enclosingStackAxis(node);
    if (axis == detail::StackSpec::Axis::horizontal) return {std::max(minimum, p.width.value_or(minimum)), 0};
    if (axis == detail::StackSpec::Axis::vertical) return {0, std::max(minimum, p.height.value_or(minimum))};
    return {p.width.value_or(0), p.height.value_or(0)};
  }
  if (node.primitiveAs<detail::ShapeSpec>() || node.primitiveAs<detail::ColorSpec>() ||
      node.primitiveAs<detail::MaterialSpec>() || node.primitiveAs<detail::GeometryReaderSpec>()) {
    return p.replacingUnspecifiedDimensions();
  }
  if (auto* image = node.primitiveAs<detail::ImageSpec>()) {
    Size natural = naturalImageSize(*image, node.environment(), *measurer_);
    return image->isResizable ? p.replacingUnspecifiedDimensions(natural) : natural;
  }
  if (auto* input = node.primitiveAs<detail::TextInputSpec>()) {
    if (input->kind == detail::TextInputSpec::Kind::textEditor) return p.replacingUnspecifiedDimensions();
    Font font = fontOf(node);
    double idealWidth = measurer_->measure(input->title, font, std::nullopt).width;
    return {p.width.value_or(idealWidth), measurer_->lineHeight(font) + textFieldChrome};
  }
  if (node.primitiveAs<detail::ToggleSpec>()) {
    constexpr double box = checkboxSide + checkboxSpacing;
    Size label =
        children.empty() ? Size{} : sizeThatFits(*children.front(), {reduced(p.width, box), p.height});
    return {label.width + box, std::max(label.height, checkboxSide)};
  }
  if (node.primitiveAs<detail::ButtonSpec>() || node.primitiveAs<detail::LinkSpec>()) {
    return children.empty() ? Size{} : sizeThatFits(*children.front(), p);
  }
  if (auto* custom = node.primitiveAs<detail::CustomLayoutSpec>()) {
    std::vector<Gathered> gathered;
    LayoutSubviews subviews;
    for (const Node* item : itemsOf(node, gathered)) subviews.emplace_back(*this, *item);
    return custom->layout().sizeThatFits(p, subviews);
  }
  if (auto* picker = node.primitiveAs<detail::PickerSpec>())
    return arrangePicker(*this, node, *picker, p).size;
  if (node.primitiveAs<detail::ColorPickerSpec>()) {
    double labelWidth = 0;
    return colorPickerSize(*this, node, labelWidth);
  }
  if (node.primitiveAs<detail::TabViewSpec>()) {
    const Node* content = selectedTabContent(node);
    const double horizontal = tabContentMargins.leading + tabContentMargins.trailing;
    const double vertical = tabBarHeight + tabContentMargins.top + tabContentMargins.bottom;
    Size size = content ? sizeThatFits(*content, {reduced(p.width, horizontal), reduced(p.height, vertical)})
                        : Size{};
    return p.replacingUnspecifiedDimensions({size.width + horizontal, size.height + vertical});
  }
  if (const auto* stack = wholeRunStack(node, p)) {
    std::vector<Gathered> gathered;
    return arrangeStack(*this, itemsOf(node, gathered), false, stack->spacing.value_or(defaultSpacing), p)
        .size;
  }
  if (auto* container = containerOf(node)) {
    const auto name = container->typeName();
    if (name == "EmptyView") return {};
    if (name == "ProgressView") return {kProgressViewSide, kProgressViewSide};
    if (name == "Divider") {
      if (enclosingStackAxis(node) == detail::StackSpec::Axis::horizontal) return {1, p.height.value_or(0)};
      return {p.width.value_or(0), 1};
    }
    if (name == "ScrollView") {
      if (children.empty()) return p.replacingUnspecifiedDimensions({0, 0});
      Size content = sizeThatFits(*children.front(), scrollContentProposal(node, p));
      return p.replacingUnspecifiedDimensions(content);
    }
    if (name == "List") {
      std::vector<Gathered> gathered;
      Size content;
      for (const Node* row : itemsOf(node, gathered, true)) {
        Size size = sizeThatFits(*row, {p.width, std::nullopt});
        content = {std::max(content.width, size.width), content.height + size.height};
      }
      return p.replacingUnspecifiedDimensions(content);
    }
    if (name == "Grid") return gridArrangement(*this, record(node), node).size;
    if (name == "Menu") return children.empty() ? Size{} : sizeThatFits(*children.front(), p);
    const bool isTab = name == "Label" && isTabLabel(node);
    bool isRow = (name == "Label" && !isTab) || name == "LabeledContent";
    std::vector<Gathered> gathered;
    return arrangeStack(*this, itemsOf(node, gathered), isRow, isTab ? tabLabelSpacing : defaultSpacing, p)
        .size;
  }
  // Views made elsewhere (platform views) take what they are offered.
  return p.replacingUnspecifiedDimensions({0, 0});
}

void LayoutPass::placeInside(const Node& node, const Rect& frame, const ProposedViewSize& p) {
  const auto& children = node.children();
  if (node.kind() == Node::Kind::composite) {
    if (!children.empty()) place(*children.front(), frame, p);
    return;
  }
  if (node.kind() == Node::Kind::modified) {
    if (children.empty()) return;
    const Node& content = *children.front();
    if (auto* m = node.modifierAs<PaddingModifier>()) {
      auto insets = m->insets();
      double horizontal = insets.leading + insets.trailing, vertical = insets.top + insets.bottom;
      place(content,
            Rect(frame.minX() + insets.leading, frame.minY() + insets.top,
                 std::max(0.0, frame.width() - horizontal), std::max(0.0, frame.height() - vertical)),
            ProposedViewSize(reduced(p.width, horizontal), reduced(p.height, vertical)));
      return;
    }
    if (auto* m = node.modifierAs<FrameModifier>()) {
      auto sizes = frameSizes(*this, *m, content, p);
      place(content, aligned(frame, sizes.childSize, m->alignment), sizes.childProposal);
      return;
    }
    if (auto* m = node.modifierAs<FixedSizeModifier>()) {
      auto childProposal = fixedSizeProposal(*m, p);
      place(content, aligned(frame, sizeThatFits(content, childProposal), Alignment::center()),
            childProposal);
      return;
    }
    if (auto* m = node.modifierAs<OffsetModifier>()) {
      place(content, Rect(frame.minX() + m->x, frame.minY() + m->y, frame.width(), frame.height()), p);
      return;
    }
    if (auto* m = node.modifierAs<IgnoresSafeAreaModifier>()) {
      Rect extended = frame;
      if ((static_cast<std::uint8_t>(m->regions) & static_cast<std::uint8_t>(SafeAreaRegions::container)) !=
          0) {
        extended = reachingOutOfSafeArea(frame, m->edges);
      }
      // Only content that takes the larger space grows into it; content of a fixed size stays put.
      if (extended != frame && sizeThatFits(content, ProposedViewSize(extended.size)) != extended.size) {
        extended = frame;
      }
      setFrame(node, extended).isPlacedItself = true;
      place(content, extended, extended == frame ? p : ProposedViewSize(extended.size));
      return;
    }
    if (node.modifierAs<SearchableModifier>()) {
      record(node).ensureExtras().controlFrame =
          Rect(frame.minX() + searchBarMargin.leading, frame.minY() + searchBarMargin.top,
               std::max(0.0, frame.width() - searchBarMargin.leading - searchBarMargin.trailing),
               searchFieldHeight);
      place(content,
            Rect(frame.minX(), frame.minY() + searchBarHeight, frame.width(),
                 std::max(0.0, frame.height() - searchBarHeight)),
            ProposedViewSize(p.width, reduced(p.height, searchBarHeight)));
      return;
    }
    if (auto* m = node.modifierAs<AspectRatioModifier>()) {
      const ProposedViewSize fitted = aspectProposal(*this, *m, content, p);
      place(content, aligned(frame, sizeThatFits(content, fitted), Alignment::center()), fitted);
      return;
    }
    place(content, frame, p);
    Alignment alignment;
    if (auto* m = node.modifierAs<BackgroundModifier>()) alignment = m->alignment;
    if (auto* m = node.modifierAs<OverlayModifier>()) alignment = m->alignment;
    for (std::size_t i = 1; i < children.size(); ++i) {
      place(*children[i],
            aligned(frame, sizeThatFits(*children[i], ProposedViewSize(frame.size)), alignment));
    }
    return;
  }

  if (auto* stack = node.primitiveAs<detail::StackSpec>()) {
    if (stack->axis == detail::StackSpec::Axis::depth) {
      std::vector<Gathered> gathered;
      auto items = itemsOf(node, gathered);
      for (const Node* item : items) place(*item, aligned(frame, sizeThatFits(*item, p), stack->alignment));
      frameGatheredViews([this, &items](std::size_t i) { return placedFrame(*items[i]).value_or(Rect()); },
                         [this](const Node& n, const Rect& r) { setFrame(n, r); }, gathered);
      return;
    }
    // Held while the items are placed, whatever the record keeps meanwhile.
    const std::shared_ptr<const StackLayout> layout = stackLayout(*this, record(node), node, *stack, p);
    const auto& items = layout->items;
    const auto& arrangement = layout->arrangement;
    const bool isHorizontal = stack->axis == detail::StackSpec::Axis::horizontal;
    const double spacing = stack->spacing.value_or(defaultSpacing);
    std::vector<Rect> frames;
    frames.reserve(items.size());
    double cursor = isHorizontal ? frame.minX() : frame.minY();
    for (std::size_t i = 0; i < items.size(); ++i) {
      Size size = arrangement.sizes[i];
      if (isHorizontal) {
        const double y = arrangement.baselineOffsets.empty()
                             ? offsetFor(stack->alignment.vertical, frame.height(), size.height)
                             : arrangement.baselineOffsets[i];
        frames.emplace_back(cursor, frame.minY() + y, size.width, size.height);
        cursor += size.width + spacing;
      } else {
        frames.push_back(columnFrame(*stack, frame, cursor, size, layout->isWholeRun[i]));
        cursor += size.height + spacing;
      }
      place(*items[i], frames.back(), arrangement.proposals[i]);
    }
    // Each item was placed in the frame it was given.
    frameGatheredViews([&frames](std::size_t i) { return frames[i]; },
                       [this](const Node& n, const Rect& r) { setFrame(n, r); }, layout->gathered);
    return;
  }
  if (node.primitiveAs<detail::ToggleSpec>()) {
    // The label follows the box.
    if (children.empty()) return;
    constexpr double box = checkboxSide + checkboxSpacing;
    const ProposedViewSize offered(reduced(p.width, box), p.height);
    Size label = sizeThatFits(*children.front(), offered);
    place(*children.front(),
          Rect(frame.minX() + box, frame.minY() + (frame.height() - label.height) / 2, label.width,
               label.height),
          offered);
    return;
  }
  if (node.primitiveAs<detail::ButtonSpec>() || node.primitiveAs<detail::LinkSpec>()) {
    if (!children.empty()) place(*children.front(), frame, p);
    return;
  }
  if (auto* text = node.primitiveAs<detail::TextSpec>(); text && text->hasImages()) {
    std::optional<double> width = p.width && std::isfinite(*p.width) ? p.width : std::nullopt;
    auto laidOut =
        measurer_->layout(runsOf(*text, node, *measurer_), width, node.environment().get<LineSpacingKey>());
    for (auto& picture : laidOut.imageFrames)
      picture.origin = {frame.minX() + picture.minX(), frame.minY() + picture.minY()};
    for (auto& set : laidOut.characters)
      set.origin = {frame.minX() + set.origin.x, frame.minY() + set.origin.y};
    auto& extras = record(node).ensureExtras();
    extras.imageFrames = std::move(laidOut.imageFrames);
    extras.setCharacters = std::move(laidOut.characters);
    return;
  }
  if (node.primitiveAs<detail::GeometryReaderSpec>()) {
    // The content is offered the reader's size and sits at its top-left corner.
    geometryReaders_.push_back(&node);
    if (children.empty()) return;
    ProposedViewSize offered(frame.size);
    Size size = sizeThatFits(*children.front(), offered);
    place(*children.front(), Rect(frame.minX(), frame.minY(), size.width, size.height), offered);
    return;
  }
  if (auto* custom = node.primitiveAs<detail::CustomLayoutSpec>()) {
    std::vector<Gathered> gathered;
    LayoutSubviews subviews;
    for (const Node* item : itemsOf(node, gathered)) subviews.emplace_back(*this, *item);
    custom->layout().placeSubviews(frame, p, subviews);
    return;
  }
  if (auto* picker = node.primitiveAs<detail::PickerSpec>()) {
    auto arrangement = arrangePicker(*this, node, *picker, p);
    const Rect control(frame.minX() + arrangement.titleWidth + arrangement.gap,
                       frame.minY() + (frame.height() - arrangement.control.height) / 2,
                       std::max(0.0, frame.width() - arrangement.titleWidth - arrangement.gap),
                       arrangement.control.height);
    record(node).ensureExtras().controlFrame = control;
    // A pop-up menu shows its options only when it is open; segments show them side by side.
    if (!arrangement.isSegmented || children.empty()) return;
    const double segmentWidth = control.width() / static_cast<double>(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
      const Rect segment(control.minX() + segmentWidth * static_cast<double>(i), control.minY(), segmentWidth,
                         control.height());
      place(
          *children[i],
          aligned(segment, sizeThatFits(*children[i], ProposedViewSize::unspecified()), Alignment::center()),
          ProposedViewSize::unspecified());
    }
    return;
  }
  if (node.primitiveAs<detail::ColorPickerSpec>()) {
    double labelWidth = 0;
    colorPickerSize(*this, node, labelWidth);
    if (!children.empty()) {
      Size label = sizeThatFits(*children.front(), ProposedViewSize::unspecified());
      place(*children.front(),
            Rect(frame.minX(), frame.minY() + (frame.height() - label.height) / 2, label.width, label.height),
            ProposedViewSize::unspecified());
    }
    record(node).ensureExtras().controlFrame =
        Rect(frame.minX() + labelWidth + defaultSpacing,
             frame.minY() + (frame.height() - colorWellHeight) / 2, colorWellWidth, colorWellHeight);
    return;
  }
  if (node.primitiveAs<detail::TabViewSpec>()) {
    const auto& tabs = children;
    // A label keeps its title on one line, centred on its share of the bar.
    std::vector<Size> labels;
    std::vector<double> widths;
    for (const auto& tab : tabs) {
      labels.push_back(tab->children().empty()
                           ? Size{}
                           : sizeThatFits(*tab->children().front(), ProposedViewSize::unspecified()));
      widths.push_back(labels.back().width);
    }
    const auto rects = appkit::TabView::tabRects(frame, widths);
    for (std::size_t i = 0; i < tabs.size(); ++i) {
      if (tabs[i]->children().empty()) continue;
      setFrame(*tabs[i], rects[i]);
      place(*tabs[i]->children().front(), aligned(rects[i], labels[i], Alignment::center()),
            ProposedViewSize::unspecified());
    }
    const Node* content = selectedTabContent(node);
    if (!content) return;
    Rect area(frame.minX(), frame.minY() + tabBarHeight, frame.width(),
              std::max(0.0, frame.height() - tabBarHeight));
    setFrame(*content->parent(), area);
    // The content starts at the top of its box, centred across it, within the box's margins.
    Rect inside(area.minX() + tabContentMargins.leading, area.minY() + tabContentMargins.top,
                std::max(0.0, area.width() - tabContentMargins.leading - tabContentMargins.trailing),
                std::max(0.0, area.height() - tabContentMargins.top - tabContentMargins.bottom));
    place(*content, aligned(inside, sizeThatFits(*content, ProposedViewSize(inside.size)), Alignment::top()));
    return;
  }
  if (const auto* stack = wholeRunStack(node, p)) {
    std::vector<Gathered> gathered;
    const auto items = itemsOf(node, gathered);
    const double spacing = stack->spacing.value_or(defaultSpacing);
    const auto arrangement = arrangeStack(*this, items, false, spacing, p);
    std::vector<Rect> frames;
    frames.reserve(items.size());
    double cursor = frame.minY();
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Size size = arrangement.sizes[i];
      frames.push_back(columnFrame(*stack, frame, cursor, size, false));
      cursor += size.height + spacing;
      place(*items[i], frames.back(), arrangement.proposals[i]);
    }
    frameGatheredViews([&frames](std::size_t i) { return frames[i]; },
                       [this](const Node& n, const Rect& r) { setFrame(n, r); }, gathered);
    return;
  }
  auto* container = containerOf(node);
  if (!container) return;
  const auto name = container->typeName();
  if (name == "ScrollView") {
    if (children.empty()) return;
    const Node& content = *children.front();
    auto contentProposal = scrollContentProposal(node, p);
    Size size = sizeThatFits(content, contentProposal);
    record(node).ensureExtras().contentSize = size;
    // Content narrower than the scroll view across its axis is centred; along the axis it starts at the
    // top (or leading edge).
    bool isVertical = isVerticalScroll(node);
    double x = isVertical ? frame.minX() + std::max(0.0, (frame.width() - size.width) / 2) : frame.minX();
    double y = isVertical ? frame.minY() : frame.minY() + std::max(0.0, (frame.height() - size.height) / 2);
    place(content, Rect(x, y, size.width, size.height), contentProposal);
    return;
  }
  if (name == "List") {
    std::vector<Gathered> gathered;
    double y = frame.minY();
    for (const Node* row : itemsOf(node, gathered, true)) {
      Size size = sizeThatFits(*row, {p.width, std::nullopt});
      place(*row, Rect(frame.minX(), y, size.width, size.height));
      y += size.height;
    }
    record(node).ensureExtras().contentSize = Size{frame.width(), y - frame.minY()};
    return;
  }
  if (name == "Grid") {
    const auto& grid = gridArrangement(*this, record(node), node);
    double y = frame.minY();
    for (const auto& row : grid.rows) {
      if (row.cells.empty()) {
        Size size = sizeThatFits(*row.node, {grid.size.width, std::nullopt});
        place(*row.node,
              aligned(Rect(frame.minX(), y, grid.size.width, row.height), size, Alignment::center()));
      } else {
        double x = frame.minX();
        for (std::size_t column = 0; column < row.cells.size(); ++column) {
          double width = grid.columnWidths[column];
          Size size = sizeThatFits(*row.cells[column], {width, std::nullopt});
          place(*row.cells[column], aligned(Rect(x, y, width, row.height), size,
                                            {grid.columnAlignments[column], VerticalAlignment::center}));
          x += width + grid.horizontalSpacing;
        }
        const Rect rowFrame(frame.minX(), y, grid.size.width, row.height);
        for (const Node* n = row.node; n != &unwrapBodies(*row.node); n = n->children().front().get()) {
          setFrame(*n, rowFrame);
        }
        setFrame(unwrapBodies(*row.node), rowFrame);
      }
      y += row.height + grid.verticalSpacing;
    }
    return;
  }
  if (name == "Menu") {
    if (!children.empty()) place(*children.front(), frame);
    return;
  }
  if (name == "EmptyView" || name == "Divider") return;
  const bool isTab = name == "Label" && isTabLabel(node);
  bool isRow = (name == "Label" && !isTab) || name == "LabeledContent";
  bool isLeading = name == "Form" || name == "Section";
  const double spacing = isTab ? tabLabelSpacing : defaultSpacing;
  std::vector<Gathered> gathered;
  auto items = itemsOf(node, gathered);
  auto arrangement = arrangeStack(*this, items, isRow, spacing, p);
  // Each item is placed in its size across the arrangement, and along it under the proposal it was
  // measured with: offered its own length instead, a stack inside would share that length out among its
  // views afresh whenever anything in it changes.
  double cursor = isRow ? frame.minX() : frame.minY();
  for (std::size_t i = 0; i < items.size(); ++i) {
    Size size = arrangement.sizes[i];
    if (isRow) {
      place(*items[i],
            Rect(cursor, frame.minY() + (frame.height() - size.height) / 2, size.width, size.height),
            ProposedViewSize(arrangement.proposals[i].width, size.height));
      cursor += size.width + spacing;
    } else {
      double x = isLeading ? frame.minX() : frame.minX() + (frame.width() - size.width) / 2;
      place(*items[i], Rect(x, cursor, size.width, size.height),
            ProposedViewSize(size.width, arrangement.proposals[i].height));
      cursor += size.height + spacing;
    }
  }
  frameGatheredViews([this, &items](std::size_t i) { return placedFrame(*items[i]).value_or(Rect()); },
                     [this](const Node& n, const Rect& r) { setFrame(n, r); }, gathered);
}

// Subview proxies.

Size LayoutSubview::sizeThatFits(const ProposedViewSize& proposal) const {
  return pass_->sizeThatFits(*node_, proposal);
}

double LayoutSubview::priority() const { return priorityOf(*node_); }

void LayoutSubview::place(Point position, UnitPoint anchor, const ProposedViewSize& proposal) const {
  Size size = pass_->sizeThatFits(*node_, proposal);
  pass_->place(
      *node_,
      Rect(position.x - anchor.x * size.width, position.y - anchor.y * size.height, size.width, size.height),
      proposal);
}

std::string LayoutPriorityModifier::describe() const { return fmt::format("layoutPriority({})", value); }

std::string GridColumnAlignmentModifier::describe() const {
  static constexpr const char* names[] = {"leading", "center", "trailing"};
  return fmt::format("gridColumnAlignment({})", names[static_cast<int>(alignment)]);
}

AnyView layoutPriority(const AnyView& view, double value) {
  auto m = std::make_shared<LayoutPriorityModifier>();
  m->value = value;
  return view.modifier(std::move(m));
}

AnyView gridColumnAlignment(const AnyView& view, HorizontalAlignment alignment) {
  auto m = std::make_shared<GridColumnAlignmentModifier>();
  m->alignment = alignment;
  return view.modifier(std::move(m));
}

}  // namespace ui
