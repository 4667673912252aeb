// The hosting view of the Global window: it reports no safe area, so the hosted view draws into the
// whole panel, the transparent title bar included, and it tells its owner when the size its content asks
// for changes.
#pragma once

#include <functional>
#include <memory>

#include "platform/foundation/geometry.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/view.h"
#include "platform/ui/view_values.h"

namespace Quillo {

// A rectangle of a view that layout can refer to; this one always covers the whole view.
struct LayoutGuide {
  foundation::Rect layoutFrame;
};

// Main thread only.
class NSHostingViewSuppressingSafeArea final : public ui::HostingView {
 public:
  // Evaluates `rootView` and hosts it, sized to what it asks for.
  static std::shared_ptr<NSHostingViewSuppressingSafeArea> make(
      ui::AnyView rootView, std::shared_ptr<const ui::TextMeasurer> measurer = nullptr);

  NSHostingViewSuppressingSafeArea(Token token, std::unique_ptr<ui::detail::ViewGraph> graph,
                                   ui::detail::ViewGraph& graphReference,
                                   std::shared_ptr<const ui::TextMeasurer> measurer);

  // The size the hosted view takes when offered none in particular (its ideal size).
  foundation::Size intrinsicContentSize() const;
  // Called whenever intrinsicContentSize() has changed after an update of the hosted view.
  std::function<void(foundation::Size)> intrinsicContentSizeDidChange;

  // No safe area: the whole view is safe, whatever covers it.
  foundation::Rect safeAreaRect() const override { return frame(); }
  ui::EdgeInsets safeAreaInsets() const override { return {}; }
  // The guide covering the whole view, made on first use and kept.
  const LayoutGuide& safeAreaLayoutGuide() const;
  ui::EdgeInsets additionalSafeAreaInsets() const override { return {}; }
  // Ignored: nothing adds to a safe area that does not exist.
  void setAdditionalSafeAreaInsets(ui::EdgeInsets) override {}

 protected:
  void hostedViewsDidChange() override;

 private:
  std::shared_ptr<const ui::TextMeasurer> measurer_;
  mutable std::unique_ptr<LayoutGuide> layoutGuide_;
  foundation::Size reportedSize_;
};

}  // namespace Quillo
