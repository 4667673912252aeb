// A view that takes all the space offered to it and builds its content from the size it was given.
// Evaluation comes before layout, so a reader keeps the geometry of its last layout as state at its
// place in the tree (zero before the first layout); when a layout gives it another size or position,
// the state changes and its content is evaluated again in the same update, so the content and the
// preferences it sets follow the laid-out geometry.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace ui {

class LayoutPass;

// What a reader's content knows of the reader: its size and its frame.
class GeometryProxy {
 public:
  // Local: the reader's own coordinates (origin at its top-left corner); global: the coordinates of
  // the space the whole tree is laid out in (the hosting view's, origin top-left, y growing downwards).
  enum class Space { local, global };

  GeometryProxy() = default;
  explicit GeometryProxy(foundation::Rect globalFrame) : globalFrame_(globalFrame) {}

  foundation::Size size() const { return globalFrame_.size; }
  foundation::Rect frame(Space space) const {
    return space == Space::global ? globalFrame_ : foundation::Rect({0, 0}, globalFrame_.size);
  }

  bool operator==(const GeometryProxy&) const = default;

 private:
  foundation::Rect globalFrame_;
};

namespace detail {

// The view with a body behind GeometryReader: it owns the geometry state.
class GeometryReaderView final : public View {
 public:
  explicit GeometryReaderView(std::function<AnyView(const GeometryProxy&)> content)
      : content_(std::move(content)) {}
  AnyView body() const override;
  static std::string viewTypeName() { return "GeometryReader"; }

 private:
  std::function<AnyView(const GeometryProxy&)> content_;
  State<GeometryProxy> geometry_;
};

// The built-in view the reader's body makes: its content, and where layout reports the frame it gave.
class GeometryReaderSpec final : public PrimitiveSpec {
 public:
  GeometryReaderSpec(SpecPointer content, std::function<bool(const GeometryProxy&)> report)
      : content_(std::move(content)), report_(std::move(report)) {}
  std::string typeName() const override { return "GeometryReaderContent"; }
  std::vector<Child> children() const override { return {Child{content_, std::nullopt}}; }
  // Stores the geometry a layout gave the reader; a different one re-evaluates the reader's content
  // (and the result says so).
  bool report(const GeometryProxy& geometry) const { return report_ && report_(geometry); }

 private:
  SpecPointer content_;
  std::function<bool(const GeometryProxy&)> report_;
};

// Gives the readers that `pass` placed the geometry they were laid out with (those whose geometry may
// have changed, see `LayoutPass::geometryReaders`). Returns whether any reader's geometry changed (those
// readers are then waiting to be evaluated again).
bool reportGeometry(LayoutPass& pass);

}  // namespace detail

// `GeometryReader([](const GeometryProxy& geometry) { return Text(...); })`. It takes all the space it
// is offered in both axes (10 points where nothing is offered) and places its content at its top-left
// corner, offering the content its own size.
class GeometryReader : public AnyView {
 public:
  template <class F>
  requires std::invocable<const F&, const GeometryProxy&> &&
      std::convertible_to<std::invoke_result_t<const F&, const GeometryProxy&>, AnyView>
  explicit GeometryReader(F content)
      : AnyView(detail::GeometryReaderView([content = std::move(content)](const GeometryProxy& geometry)
                                               -> AnyView { return AnyView(content(geometry)); })) {}
};

}  // namespace ui
