// The layout protocol that containers with their own arrangement implement: size proposals, proxies of
// the subviews (measure, read priority, place) and the view that arranges its subviews with a layout.
#pragma once

#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/ui/view.h"
#include "platform/ui/view_spec.h"
#include "platform/ui/view_values.h"

namespace ui {

using foundation::Point;
using foundation::Rect;
using foundation::Size;

// The space a container offers to a view, per dimension: a length, or nothing (unspecified: the view
// answers its ideal length). Zero asks for the minimum, infinity for the maximum.
struct ProposedViewSize {
  std::optional<double> width;
  std::optional<double> height;

  ProposedViewSize() = default;
  ProposedViewSize(std::optional<double> width, std::optional<double> height)
      : width(width), height(height) {}
  explicit ProposedViewSize(Size size) : width(size.width), height(size.height) {}

  static ProposedViewSize unspecified() { return {}; }
  static ProposedViewSize zero() { return {0.0, 0.0}; }
  static ProposedViewSize infinity();

  // The proposal with unspecified dimensions replaced by those of `size`.
  Size replacingUnspecifiedDimensions(Size size = {10, 10}) const {
    return {width.value_or(size.width), height.value_or(size.height)};
  }
  bool operator==(const ProposedViewSize&) const = default;
};

// Space put between neighbouring views of a stack or grid when no spacing is given.
inline constexpr double defaultSpacing = 8;

class LayoutPass;
namespace detail {
class Node;
}

// One subview of a custom layout: it can be measured any number of times and is placed once.
class LayoutSubview {
 public:
  LayoutSubview(LayoutPass& pass, const detail::Node& node) : pass_(&pass), node_(&node) {}

  // The size the subview takes under `proposal`.
  Size sizeThatFits(const ProposedViewSize& proposal) const;
  // The subview's layout priority (0 unless a layoutPriority modifier set it).
  double priority() const;
  // Places the subview so that its point `anchor` (in unit coordinates, (0, 0) the top-leading corner)
  // lies at `position`, with the size it takes under `proposal`. Positions are in the coordinates of the
  // bounds the layout was given.
  void place(Point position, UnitPoint anchor = UnitPoint{0, 0},
             const ProposedViewSize& proposal = ProposedViewSize::unspecified()) const;

  const detail::Node& node() const { return *node_; }

 private:
  LayoutPass* pass_;
  const detail::Node* node_;
};

using LayoutSubviews = std::vector<LayoutSubview>;

// A container's own arrangement of its subviews. Layout calls sizeThatFits (perhaps several times, with
// different proposals) and then placeSubviews once with the bounds it chose, in that order.
class Layout {
 public:
  virtual ~Layout() = default;
  virtual Size sizeThatFits(const ProposedViewSize& proposal, const LayoutSubviews& subviews) const = 0;
  virtual void placeSubviews(const Rect& bounds, const ProposedViewSize& proposal,
                             const LayoutSubviews& subviews) const = 0;
};

namespace detail {
// A view that arranges its subviews with a custom layout.
class CustomLayoutSpec final : public PrimitiveSpec {
 public:
  CustomLayoutSpec(std::shared_ptr<const Layout> layout, std::string name, std::vector<Child> subviews)
      : layout_(std::move(layout)), name_(std::move(name)), subviews_(std::move(subviews)) {}
  std::string typeName() const override { return name_; }
  std::vector<Child> children() const override { return subviews_; }
  const Layout& layout() const { return *layout_; }

 private:
  std::shared_ptr<const Layout> layout_;
  std::string name_;
  std::vector<Child> subviews_;
};
}  // namespace detail

// The subviews arranged by `layout`: `LayoutView(FlowLayout{4, 4}, {a, b, c})`.
template <class L>
requires std::derived_from<L, Layout> AnyView LayoutView(L layout, const std::vector<AnyView>& subviews) {
  std::vector<detail::Child> children;
  children.reserve(subviews.size());
  for (const auto& view : subviews) children.push_back(detail::Child{view.spec(), std::nullopt});
  return AnyView(std::make_shared<detail::CustomLayoutSpec>(std::make_shared<const L>(std::move(layout)),
                                                            detail::readableTypeName(typeid(L)),
                                                            std::move(children)));
}

// Read by stacks and custom layouts: views of higher priority are offered space first.
struct LayoutPriorityModifier final : detail::Modifier {
  double value = 0;
  std::string name() const override { return "layoutPriority"; }
  std::string describe() const override;
};

// How the cells of a grid column are aligned, set on any one cell of the column.
struct GridColumnAlignmentModifier final : detail::Modifier {
  HorizontalAlignment alignment = HorizontalAlignment::center;
  std::string name() const override { return "gridColumnAlignment"; }
  std::string describe() const override;
};

AnyView layoutPriority(const AnyView& view, double value);
AnyView gridColumnAlignment(const AnyView& view, HorizontalAlignment alignment);

}  // namespace ui
