#include "Introspect/app_kit_introspection_view.h"

#include <string_view>

namespace Introspect {

namespace {

std::shared_ptr<appkit::View> enclosingByClassName(const appkit::View& entry, std::string_view fragment) {
  for (auto ancestor = entry.superview(); ancestor; ancestor = ancestor->superview()) {
    if (ancestor->className().find(fragment) != std::string::npos) return ancestor;
  }
  return nullptr;
}

template <ViewClass T>
ui::AnyView hostSibling(const ui::AnyView& view, std::function<void(T&)> customize) {
  return customizeAppKitView<T>(
      view, [](IntrospectionNSView& marker) { return TargetViewSelector::hostSiblingDescendant<T>(marker); },
      std::move(customize));
}

template <ViewClass T>
ui::AnyView ancestorOrHostSibling(const ui::AnyView& view, std::function<void(T&)> customize) {
  return customizeAppKitView<T>(
      view,
      [](IntrospectionNSView& marker) {
        return TargetViewSelector::ancestorOrHostSiblingDescendant<T>(marker);
      },
      std::move(customize));
}

}  // namespace

std::shared_ptr<appkit::View> enclosingHostingView(const appkit::View& entry) {
  return enclosingByClassName(entry, "HostingView");
}

std::shared_ptr<appkit::View> enclosingViewHost(const appkit::View& entry) {
  return enclosingByClassName(entry, "ViewHost");
}

IntrospectionNSView::IntrospectionNSView() : appkit::View(foundation::Rect{}) { setHidden(true); }

std::shared_ptr<appkit::View> IntrospectionNSView::hitTest(foundation::Point) { return nullptr; }

namespace TargetViewSelector {

std::shared_ptr<appkit::ScrollView> hostSiblingScrollViewOrAncestor(const IntrospectionNSView& marker) {
  if (auto host = enclosingViewHost(marker)) {
    if (auto sibling = precedingSibling<appkit::ScrollView>(*host)) return sibling;
  }
  return nearestAncestor<appkit::ScrollView>(marker);
}

std::shared_ptr<appkit::ScrollView> hostSiblingScrollViewDescendantOrAncestor(
    const IntrospectionNSView& marker) {
  if (auto host = enclosingViewHost(marker)) {
    if (auto inside = precedingSiblingDescendant<appkit::ScrollView>(*host)) return inside;
  }
  return nearestAncestor<appkit::ScrollView>(marker);
}

}  // namespace TargetViewSelector

ui::AnyView customizeNSSplitView(const ui::AnyView& view, std::function<void(appkit::SplitView&)> customize) {
  return ancestorOrHostSibling<appkit::SplitView>(view, std::move(customize));
}

ui::AnyView customizeNSTableView(const ui::AnyView& view, std::function<void(appkit::TableView&)> customize) {
  return ancestorOrHostSibling<appkit::TableView>(view, std::move(customize));
}

ui::AnyView customizeNSTableCellView(const ui::AnyView& view,
                                     std::function<void(appkit::TableCellView&)> customize) {
  return ancestorOrHostSibling<appkit::TableCellView>(view, std::move(customize));
}

// Scroll views sit beside the views after them rather than inside a host, so the host's earlier
// siblings are tested themselves.
ui::AnyView customizeNSScrollView(const ui::AnyView& view,
                                  std::function<void(appkit::ScrollView&)> customize) {
  return customizeAppKitView<appkit::ScrollView>(
      view,
      [](IntrospectionNSView& marker) { return TargetViewSelector::hostSiblingScrollViewOrAncestor(marker); },
      std::move(customize));
}

ui::AnyView customizeNSTextField(const ui::AnyView& view, std::function<void(appkit::TextField&)> customize) {
  return hostSibling<appkit::TextField>(view, std::move(customize));
}

ui::AnyView customizeNSTextView(const ui::AnyView& view, std::function<void(appkit::TextView&)> customize) {
  return hostSibling<appkit::TextView>(view, std::move(customize));
}

ui::AnyView customizeNSSlider(const ui::AnyView& view, std::function<void(appkit::Slider&)> customize) {
  return hostSibling<appkit::Slider>(view, std::move(customize));
}

ui::AnyView customizeNSStepper(const ui::AnyView& view, std::function<void(appkit::Stepper&)> customize) {
  return hostSibling<appkit::Stepper>(view, std::move(customize));
}

ui::AnyView customizeNSDatePicker(const ui::AnyView& view,
                                  std::function<void(appkit::DatePicker&)> customize) {
  return hostSibling<appkit::DatePicker>(view, std::move(customize));
}

ui::AnyView customizeNSSegmentedControl(const ui::AnyView& view,
                                        std::function<void(appkit::SegmentedControl&)> customize) {
  return hostSibling<appkit::SegmentedControl>(view, std::move(customize));
}

ui::AnyView customizeNSTabView(const ui::AnyView& view, std::function<void(appkit::TabView&)> customize) {
  return hostSibling<appkit::TabView>(view, std::move(customize));
}

ui::AnyView customizeNSButton(const ui::AnyView& view, std::function<void(appkit::Button&)> customize) {
  return hostSibling<appkit::Button>(view, std::move(customize));
}

ui::AnyView customizeNSColorWell(const ui::AnyView& view, std::function<void(appkit::ColorWell&)> customize) {
  return hostSibling<appkit::ColorWell>(view, std::move(customize));
}

}  // namespace Introspect
