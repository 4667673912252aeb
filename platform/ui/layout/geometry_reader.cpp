#include "platform/ui/layout/geometry_reader.h"

#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/view_graph.h"

namespace ui::detail {

AnyView GeometryReaderView::body() const {
  // The handle shares the state's storage at this place in the tree.
  auto geometry = geometry_;
  return AnyView(std::make_shared<GeometryReaderSpec>(
      content_ ? content_(*geometry_).spec() : AnyView().spec(), [geometry](const GeometryProxy& laidOut) {
        if (geometry.get() == laidOut) return false;
        geometry.set(laidOut);
        return true;
      }));
}

bool reportGeometry(LayoutPass& pass) {
  bool isChanged = false;
  for (const Node* node : pass.geometryReaders()) {
    const auto* spec = node->primitiveAs<GeometryReaderSpec>();
    auto frame = pass.frame(*node);
    if (!spec || !frame || !node->isAttached()) continue;
    if (spec->report(GeometryProxy(*frame))) isChanged = true;
  }
  pass.geometryReported();
  return isChanged;
}

}  // namespace ui::detail
