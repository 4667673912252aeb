// View introspection: reaches the platform view that draws a declarative control (the text view behind
// a text editor, for one) to read or adjust it. A hidden, zero-size marker view is put in an overlay of
// the control; after every update of the marker a search walks from it to the target and hands the
// target to a customisation, on a later turn of the main queue.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "Introspect/hierarchy_searches.h"
#include "platform/appkit/controls.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/representable.h"
#include "platform/ui/view.h"

namespace Introspect {

// The marker: hidden, with a zero frame, and never the target of a click.
class IntrospectionNSView final : public appkit::View {
 public:
  IntrospectionNSView();
  // No point hits the marker, so clicks reach the views beneath it.
  std::shared_ptr<appkit::View> hitTest(foundation::Point point) override;
};

// The text of the marker's accessibility label for target class T ("IntrospectionNSView<TextView>").
template <ViewClass T>
std::string markerLabel() {
  return "IntrospectionNSView<" + ui::detail::readableTypeName(typeid(T)) + ">";
}

// The representable that places the marker and, after each of its updates, runs the search and the
// customisation on the main queue.
template <ViewClass T>
class AppKitIntrospectionView final : public ui::ViewRepresentable {
 public:
  using Selector = std::function<std::shared_ptr<T>(IntrospectionNSView&)>;
  using Customize = std::function<void(T&)>;

  AppKitIntrospectionView(Selector selector, Customize customize)
      : selector_(std::move(selector)), customize_(std::move(customize)) {}

  std::shared_ptr<appkit::View> makeView(const ui::RepresentableContext&) const override {
    auto marker = std::make_shared<IntrospectionNSView>();
    marker->setAccessibilityLabel(markerLabel<T>());
    return marker;
  }

  // The search waits for the update to finish (the views may not be in place yet); the work keeps the
  // marker and both functions alive until it has run. A search that finds nothing does nothing until
  // the next update.
  void updateView(appkit::View& view, const ui::RepresentableContext&) const override {
    auto marker = std::static_pointer_cast<IntrospectionNSView>(view.shared_from_this());
    foundation::RunLoop::main().async([marker, selector = selector_, customize = customize_] {
      if (!selector || !customize) return;
      if (auto target = selector(*marker)) customize(*target);
    });
  }

 private:
  Selector selector_;
  Customize customize_;
};

// Where the target is found from the marker. The marker sits in a host view ("ViewHost"); the views
// that draw the modified view lie among the host's earlier siblings or the marker's ancestors.
namespace TargetViewSelector {

template <ViewClass T>
std::shared_ptr<T> hostSiblingDescendant(const IntrospectionNSView& marker) {
  auto host = enclosingViewHost(marker);
  return host ? precedingSiblingDescendant<T>(*host) : nullptr;
}

template <ViewClass T>
std::shared_ptr<T> ancestorOrHostSiblingDescendant(const IntrospectionNSView& marker) {
  if (auto ancestor = nearestAncestor<T>(marker)) return ancestor;
  return hostSiblingDescendant<T>(marker);
}

std::shared_ptr<appkit::ScrollView> hostSiblingScrollViewOrAncestor(const IntrospectionNSView& marker);
std::shared_ptr<appkit::ScrollView> hostSiblingScrollViewDescendantOrAncestor(
    const IntrospectionNSView& marker);

}  // namespace TargetViewSelector

// Puts `introspection`, framed to zero width and height, in a centred overlay of `view`.
template <ViewClass T>
ui::AnyView addIntrospectionView(const ui::AnyView& view, AppKitIntrospectionView<T> introspection) {
  return view.overlay(ui::Representable(std::move(introspection)).frame(0.0, 0.0, ui::Alignment::center()),
                      ui::Alignment::center());
}

template <ViewClass T>
ui::AnyView customizeAppKitView(const ui::AnyView& view,
                                typename AppKitIntrospectionView<T>::Selector selector,
                                typename AppKitIntrospectionView<T>::Customize customize) {
  return addIntrospectionView(view, AppKitIntrospectionView<T>(std::move(selector), std::move(customize)));
}

// One entry per supported platform class; each runs `customize` with the class's view behind `view`.
ui::AnyView customizeNSSplitView(const ui::AnyView& view, std::function<void(appkit::SplitView&)> customize);
ui::AnyView customizeNSTableView(const ui::AnyView& view, std::function<void(appkit::TableView&)> customize);
ui::AnyView customizeNSTableCellView(const ui::AnyView& view,
                                     std::function<void(appkit::TableCellView&)> customize);
ui::AnyView customizeNSScrollView(const ui::AnyView& view,
                                  std::function<void(appkit::ScrollView&)> customize);
ui::AnyView customizeNSTextField(const ui::AnyView& view, std::function<void(appkit::TextField&)> customize);
ui::AnyView customizeNSTextView(const ui::AnyView& view, std::function<void(appkit::TextView&)> customize);
ui::AnyView customizeNSSlider(const ui::AnyView& view, std::function<void(appkit::Slider&)> customize);
ui::AnyView customizeNSStepper(const ui::AnyView& view, std::function<void(appkit::Stepper&)> customize);
ui::AnyView customizeNSDatePicker(const ui::AnyView& view,
                                  std::function<void(appkit::DatePicker&)> customize);
ui::AnyView customizeNSSegmentedControl(const ui::AnyView& view,
                                        std::function<void(appkit::SegmentedControl&)> customize);
ui::AnyView customizeNSTabView(const ui::AnyView& view, std::function<void(appkit::TabView&)> customize);
ui::AnyView customizeNSButton(const ui::AnyView& view, std::function<void(appkit::Button&)> customize);
ui::AnyView customizeNSColorWell(const ui::AnyView& view, std::function<void(appkit::ColorWell&)> customize);

}  // namespace Introspect
