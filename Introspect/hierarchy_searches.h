// Walks over platform view and view-controller hierarchies that find a view (or controller) of a
// given class near a starting one. They only read the hierarchy and return the first match or nothing.
#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/appkit/view.h"
#include "platform/appkit/view_controller.h"

namespace Introspect {

// A view "is of type T" when it is a T or of a class derived from T.
template <class T>
concept ViewClass = std::derived_from<T, appkit::View>;
template <class T>
concept ViewControllerClass = std::derived_from<T, appkit::ViewController>;

namespace detail {
inline std::shared_ptr<appkit::View> pointerTo(const appkit::View& view) {
  return std::const_pointer_cast<appkit::View>(view.shared_from_this());
}
inline std::shared_ptr<appkit::ViewController> pointerTo(const appkit::ViewController& controller) {
  return std::const_pointer_cast<appkit::ViewController>(controller.shared_from_this());
}
}  // namespace detail

// The first view of type T below `root`, depth first and pre-order; `root` itself is never returned.
template <ViewClass T>
std::shared_ptr<T> firstDescendant(const appkit::View& root) {
  for (const auto& subview : root.subviews()) {
    if (auto typed = std::dynamic_pointer_cast<T>(subview)) return typed;
    if (auto found = firstDescendant<T>(*subview)) return found;
  }
  return nullptr;
}

// The first controller of type T below `root`, depth first; `root` itself when none below matches and
// it is of type T.
template <ViewControllerClass T>
std::shared_ptr<T> firstViewController(const appkit::ViewController& root) {
  for (const auto& child : root.childViewControllers()) {
    if (auto typed = std::dynamic_pointer_cast<T>(child)) return typed;
    if (auto found = firstViewController<T>(*child)) return found;
  }
  return std::dynamic_pointer_cast<T>(detail::pointerTo(root));
}

// The position of `entry` (the same object) in `list`, if it is there.
template <class X>
std::optional<std::size_t> siblingIndex(const X& entry, const std::vector<std::shared_ptr<X>>& list) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].get() == &entry) return i;
  }
  return std::nullopt;
}

namespace detail {
inline std::shared_ptr<appkit::View> parentOf(const appkit::View& view) { return view.superview(); }
inline std::shared_ptr<appkit::ViewController> parentOf(const appkit::ViewController& controller) {
  return controller.parentViewController();
}
inline const std::vector<std::shared_ptr<appkit::View>>& childrenOf(const appkit::View& view) {
  return view.subviews();
}
inline const std::vector<std::shared_ptr<appkit::ViewController>>& childrenOf(
    const appkit::ViewController& controller) {
  return controller.childViewControllers();
}

// Which siblings a walk visits: the earlier ones, the nearest first, or `entry` and the later ones, in
// order.
enum class SiblingWalk { earlier, fromEntryOn };

// The first thing `pick` finds among the siblings of `entry` the walk visits; nothing when `entry` has no
// parent.
template <class X, class Pick>
auto firstAmongSiblings(const X& entry, SiblingWalk walk, Pick pick) {
  using Found = std::invoke_result_t<Pick&, const std::shared_ptr<X>&>;
  auto parent = parentOf(entry);  // held, so the sibling list lives through the walk
  if (!parent) return Found{};
  const auto& siblings = childrenOf(*parent);
  auto index = siblingIndex(entry, siblings);
  if (!index) return Found{};
  if (walk == SiblingWalk::earlier) {
    for (std::size_t i = *index; i-- > 0;) {
      if (auto found = pick(siblings[i])) return found;
    }
  } else {
    for (std::size_t i = *index; i < siblings.size(); ++i) {
      if (auto found = pick(siblings[i])) return found;
    }
  }
  return Found{};
}
}  // namespace detail

// Among the candidates below `root` (each subview itself when of type T, else the first view of type T
// inside it), the only one, or else the first whose bounds contain the centre of `entry`.
template <ViewClass T>
std::shared_ptr<T> descendantAtCentre(const appkit::View& root, const appkit::View& entry) {
  std::vector<std::shared_ptr<T>> candidates;
  for (const auto& subview : root.subviews()) {
    if (auto typed = std::dynamic_pointer_cast<T>(subview)) {
      candidates.push_back(std::move(typed));
    } else if (auto found = firstDescendant<T>(*subview)) {
      candidates.push_back(std::move(found));
    }
  }
  if (candidates.empty()) return nullptr;
  if (candidates.size() == 1) return candidates.front();
  const foundation::Point centre{entry.frame().width() * 0.5, entry.frame().height() * 0.5};
  for (const auto& candidate : candidates) {
    auto point = candidate->convertPointFromView(centre, &entry);
    // Minimum edges belong to the rectangle, maximum edges do not.
    if (foundation::Rect({0, 0}, candidate->frame().size).contains(point)) return candidate;
  }
  return nullptr;
}

// A view of type T inside one of the earlier siblings of `entry`, the nearest sibling first, each
// searched depth first; the siblings themselves are not tested.
template <ViewClass T>
std::shared_ptr<T> precedingSiblingDescendant(const appkit::View& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::earlier,
                                    [](const auto& sibling) { return firstDescendant<T>(*sibling); });
}

// The nearest earlier sibling of `entry` that is itself of type T.
template <ViewClass T>
std::shared_ptr<T> precedingSibling(const appkit::View& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::earlier, [](const auto& sibling) {
    return std::dynamic_pointer_cast<T>(sibling);
  });
}

// A controller of type T inside one of the earlier sibling controllers of `entry` (a sibling itself
// counts after what is inside it), the nearest first.
template <ViewControllerClass T>
std::shared_ptr<T> precedingSiblingControllerDescendant(const appkit::ViewController& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::earlier,
                                    [](const auto& sibling) { return firstViewController<T>(*sibling); });
}

// The nearest earlier sibling controller of `entry` that is itself of type T.
template <ViewControllerClass T>
std::shared_ptr<T> precedingSiblingController(const appkit::ViewController& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::earlier, [](const auto& sibling) {
    return std::dynamic_pointer_cast<T>(sibling);
  });
}

// A view of type T inside `entry` or one of its later siblings, in order, each searched depth first.
template <ViewClass T>
std::shared_ptr<T> followingSiblingDescendant(const appkit::View& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::fromEntryOn,
                                    [](const auto& sibling) { return firstDescendant<T>(*sibling); });
}

// `entry` itself when it is of type T, else its nearest later sibling of type T.
template <ViewClass T>
std::shared_ptr<T> followingSibling(const appkit::View& entry) {
  return detail::firstAmongSiblings(entry, detail::SiblingWalk::fromEntryOn, [](const auto& sibling) {
    return std::dynamic_pointer_cast<T>(sibling);
  });
}

// The nearest ancestor of `entry` of type T (the entry itself is not visited).
template <ViewClass T>
std::shared_ptr<T> nearestAncestor(const appkit::View& entry) {
  for (auto ancestor = entry.superview(); ancestor; ancestor = ancestor->superview()) {
    if (auto typed = std::dynamic_pointer_cast<T>(ancestor)) return typed;
  }
  return nullptr;
}

// Walking up from `entry`: an ancestor of type T, or a candidate of type T inside the ancestor found by
// descendantAtCentre, whichever comes first.
template <ViewClass T>
std::shared_ptr<T> nearestAncestorOrAncestorDescendant(const appkit::View& entry) {
  for (auto ancestor = entry.superview(); ancestor; ancestor = ancestor->superview()) {
    if (auto typed = std::dynamic_pointer_cast<T>(ancestor)) return typed;
    if (auto found = descendantAtCentre<T>(*ancestor, entry)) return found;
  }
  return nullptr;
}

// The nearest ancestor whose runtime class name contains "HostingView" (a hosted view tree's top).
std::shared_ptr<appkit::View> enclosingHostingView(const appkit::View& entry);
// The nearest ancestor whose runtime class name contains "ViewHost" (the host of a platform view).
std::shared_ptr<appkit::View> enclosingViewHost(const appkit::View& entry);

}  // namespace Introspect
