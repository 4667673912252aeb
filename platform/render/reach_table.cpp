#include "platform/render/reach_table.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

#include "platform/appkit/controls.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/safe_area.h"
#include "platform/ui/scale_effect.h"
#include "platform/ui/views.h"

namespace render {

namespace {

using foundation::Point;
using foundation::Rect;
using ui::detail::Node;

const Rect everywhere(-1e15, -1e15, 2e15, 2e15);

Rect outset(const Rect& rect, double dx, double dy) {
  return {rect.minX() - dx, rect.minY() - dy, rect.width() + 2 * dx, rect.height() + 2 * dy};
}

Rect united(const Rect& a, const Rect& b) {
  if (a.isEmpty()) return b;
  if (b.isEmpty()) return a;
  const double minX = std::min(a.minX(), b.minX()), minY = std::min(a.minY(), b.minY());
  return {minX, minY, std::max(a.maxX(), b.maxX()) - minX, std::max(a.maxY(), b.maxY()) - minY};
}

Rect moved(const Rect& rect, double dx, double dy) {
  return {rect.minX() + dx, rect.minY() + dy, rect.width(), rect.height()};
}

bool isFinite(const Rect& rect) {
  return std::isfinite(rect.minX()) && std::isfinite(rect.minY()) && std::isfinite(rect.maxX()) &&
         std::isfinite(rect.maxY());
}

// A view whose subviews a container may arrange among its own: where they lie inside its frame follows
// from that container, not from the view itself. Containers take apart plain containers of views (groups,
// lists of views, branches, sections, a grid's rows), also behind views with a body; every plain container
// is counted, which costs a little work and never a wrong reach.
bool mayBeTakenApart(const Node& node) {
  const Node* inner = &node;
  while (inner->kind() == Node::Kind::composite && inner->children().size() == 1)
    inner = inner->children().front().get();
  return inner->kind() == Node::Kind::composite || inner->primitiveAs<ui::detail::ContainerSpec>() != nullptr;
}

// A view without subviews draws within its frame and the margin (a shape's stroke beyond it).
Rect leafReach(const Node& node, const std::optional<Rect>& frame) {
  if (!frame) return {};
  double margin = drawingMargin;
  if (auto* shape = node.primitiveAs<ui::detail::ShapeSpec>(); shape && std::isfinite(shape->lineWidth))
    margin += std::max(0.0, shape->lineWidth);
  const Rect result = outset(*frame, margin, margin);
  return isFinite(result) ? result : everywhere;
}

}  // namespace

std::shared_ptr<ReachTable> ReachTable::of(const ui::HostingView& hosting) {
  struct Kept {
    const ui::LayoutPass* pass;  // compared, never followed: the pass may be gone
    std::shared_ptr<ReachTable> table;
  };
  static auto* kept = new std::vector<Kept>();  // drawing may happen until the process ends
  const ui::LayoutPass* pass = &hosting.layout();
  auto found = std::find_if(kept->begin(), kept->end(), [&](const Kept& k) { return k.pass == pass; });
  if (found == kept->end()) {
    // A handful of windows are shown at a time; the table kept longest makes room. A table found for a
    // pass made where a gone one was holds nothing that is taken for the new tree: revisions never repeat.
    if (kept->size() >= 8) kept->erase(kept->begin());
    kept->push_back(Kept{pass, std::make_shared<ReachTable>()});
    found = kept->end() - 1;
  }
  found->table->begin(hosting);
  return found->table;
}

void ReachTable::begin(const ui::HostingView& hosting) {
  hosting_ = &hosting;
  const std::uint64_t generation = hosting.layout().generation();
  if (generation == generation_) return;
  generation_ = generation;
  if (known_.size() > 2 * hosting.layout().frames().size() + 4096) known_.clear();
}

bool ReachTable::mayReach(const Node& node, const std::optional<Rect>& frame, const Rect& visible) {
  // A reach always holds the frame and the margin around it.
  if (frame && outset(*frame, drawingMargin, drawingMargin).intersects(visible)) return true;
  return find(node).reach.intersects(visible);
}

ReachTable::Found ReachTable::find(const Node& node) {
  if (node.children().empty()) return {leafReach(node, hosting_->frame(node)), false};
  auto [entry, isNew] = known_.try_emplace(&node);
  Known& known = entry->second;
  if (!isNew && known.generation == generation_) return {known.reach, known.dependsOnPlace};
  const auto frame = hosting_->frame(node);
  if (!isNew && !known.dependsOnPlace && known.size && frame && known.revision == node.revision() &&
      known.size == frame->size && std::isfinite(frame->minX()) && std::isfinite(frame->minY())) {
    known.reach = moved(known.relative, frame->minX(), frame->minY());
    if (!isFinite(known.reach)) known.reach = everywhere;
    known.generation = generation_;
    return {known.reach, false};
  }
  return workOut(node, frame, known);
}

ReachTable::Found ReachTable::workOut(const Node& node, const std::optional<Rect>& frame, Known& known) {
  const auto& children = node.children();
  Rect result;
  bool dependsOnPlace = node.modifierAs<ui::IgnoresSafeAreaModifier>() != nullptr;
  // A scroll view clips its content to its frame, and the content's frames are unscrolled.
  const bool clipsContent = frame && node.kind() == Node::Kind::primitive &&
                            dynamic_cast<const appkit::ScrollView*>(hosting_->platformView(node).get());
  Rect content;
  for (const auto& child : children) {
    // `known` stays where it is while entries are added: the table's nodes never move.
    const Found found = find(*child);
    dependsOnPlace = dependsOnPlace || found.dependsOnPlace;
    if (child == children.front()) content = found.reach;
    if (!clipsContent) result = united(result, found.reach);
  }
  if (frame) result = united(result, outset(*frame, drawingMargin, drawingMargin));
  // Shadow modifiers are final: comparing types is enough, and cheaper than a cast for every modifier.
  if (const auto* modifier = node.modifier(); modifier && typeid(*modifier) == typeid(ui::ShadowModifier)) {
    const auto& m = static_cast<const ui::ShadowModifier&>(*modifier);
    if (!content.isEmpty()) {
      const double radius = std::isfinite(m.radius) ? std::clamp(m.radius, 0.0, 200.0) : 0.0;
      const double dx = std::isfinite(m.x) ? m.x : 0, dy = std::isfinite(m.y) ? m.y : 0;
      result = united(result, outset(moved(content, dx, dy), 2 * radius + 2, 2 * radius + 2));
    }
  }
  // A scale effect draws its content moved towards or away from its anchor, so its reach is scaled too.
  if (const auto* modifier = node.modifier();
      frame && modifier && typeid(*modifier) == typeid(ui::ScaleEffectModifier) && !result.isEmpty()) {
    const auto& m = static_cast<const ui::ScaleEffectModifier&>(*modifier);
    if (std::isfinite(m.scale) && m.scale > 0) {
      const double x = frame->minX() + m.anchor.x * frame->width(),
                   y = frame->minY() + m.anchor.y * frame->height();
      const Rect scaled(x + (result.minX() - x) * m.scale, y + (result.minY() - y) * m.scale,
                        result.width() * m.scale, result.height() * m.scale);
      result = united(result, scaled);
    }
  }
  if (!isFinite(result)) result = everywhere;

  known.revision = node.revision();
  known.dependsOnPlace = dependsOnPlace;
  known.generation = generation_;
  known.reach = result;
  known.size.reset();
  if (frame && !mayBeTakenApart(node) && std::isfinite(frame->minX()) && std::isfinite(frame->minY())) {
    known.size = frame->size;
    known.relative = moved(result, -frame->minX(), -frame->minY());
  }
  return {result, dependsOnPlace};
}

}  // namespace render
