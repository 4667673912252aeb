// The sidebar: a panel with the chat service's web page that slides in from the right edge of the first
// screen, with a rounded column of buttons beside it (show or hide, and the panel's width).
#pragma once

#include <string>

#include "platform/concurrency/publisher.h"
#include "platform/foundation/notification_center.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// Posted (without object or user information) to slide the sidebar's panel in when it is hidden and out
// when it is shown.
inline constexpr const char* kToggleSidebarNotification = "toggleSidebar";

// Fills the transparent, screen-sized sidebar window. Main thread only.
class OverlayView final : public ui::View {
 public:
  // The widths the menu offers, in points, with their titles.
  static constexpr double kSmallWidth = 300;
  static constexpr double kMediumWidth = 400;
  static constexpr double kLargeWidth = 600;
  static constexpr double kHugeWidth = 800;

  // The panel starts hidden. The page is chosen now: the GPT-4 page while `webDefaultToGPT4` is on, the
  // root page otherwise; a later change of the setting applies from the next start.
  OverlayView();

  ui::AnyView body() const override;

  // Slides the panel in or out, with a spring.
  void toggleSidebarVisibility() const;
  // The button column's horizontal offset: 30 while shown; while hidden, -(extraOffset + 8) with
  // "always show buttons" on (it stays on screen) and 30 with it off (it leaves with the panel).
  double toggleColumnOffset() const;
  // Stores the panel's width, animated.
  void setSidebarWidth(double width) const;

  bool isShowing() const { return *isShowing_; }
  const std::string& urlString() const { return *urlString_; }
  double extraOffset() const { return extraOffset_; }

 private:
  ui::AnyView buttonColumn() const;
  ui::AnyView chatPanel() const;

  ui::State<bool> isShowing_{false};
  ui::State<std::string> urlString_;
  concurrency::AnyPublisher<foundation::Notification> toggleSidebarPublisher_;
  Defaults::Default<double> sidebarWidth_;
  Defaults::Default<bool> sidebarAlwaysShowButtons_;
  // How far beyond its own width the hidden panel is pushed to the right.
  double extraOffset_ = 100;
};

}  // namespace Quillo
