#include "Quillo/sidebar/overlay_view.h"

#include <optional>
#include <utility>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "Quillo/web_chat/web_view_wrapper.h"
#include "platform/concurrency/notification_publisher.h"
#include "platform/ui/material.h"
#include "platform/ui/views.h"

namespace Quillo {
namespace {

// The shadow around the panel: black at a third, in linear sRGB.
ui::Color panelShadowColor() {
  return ui::Color::inColorSpace(ui::ColorSpaceName::linearSRGB, {0, 0, 0, 0.33})
      .value_or(ui::Color::black());
}

}  // namespace

OverlayView::OverlayView()
    : urlString_(chatPageAddress()),
      toggleSidebarPublisher_(concurrency::notificationPublisher(
          foundation::NotificationCenter::defaultCenter(), kToggleSidebarNotification)),
      sidebarWidth_(Keys::sidebarWidth()),
      sidebarAlwaysShowButtons_(Keys::sidebarAlwaysShowButtons()) {}

void OverlayView::toggleSidebarVisibility() const {
  auto isShowing = isShowing_;
  ui::withAnimation(ui::Animation::spring(0.5, 0.85, 0), [&] { isShowing.set(!*isShowing); });
}

double OverlayView::toggleColumnOffset() const {
  if (*isShowing_ || !*sidebarAlwaysShowButtons_) return 30;
  return -(extraOffset_ + 8);
}

void OverlayView::setSidebarWidth(double width) const {
  auto sidebarWidth = sidebarWidth_;
  ui::withAnimation(ui::Animation::defaultAnimation(), [&] { sidebarWidth.set(width); });
}

ui::AnyView OverlayView::body() const {
  using namespace ui;
  const double hiddenOffset = *isShowing_ ? 0 : *sidebarWidth_ + extraOffset_;
  auto panelRow = HStack(VerticalAlignment::center, 0.0, buttonColumn(), chatPanel())
                      .transition(Transition::move(Edges::trailing))
                      .offset(hiddenOffset, 0);
  // The notification may come with any object: each one flips the panel.
  auto self = *this;
  return ZStack(Alignment::center(),
                AnyView(Color::clear()).ignoresSafeArea(SafeAreaRegions::all, Edges::all),
                HStack(VerticalAlignment::center, 0.0, Spacer(), std::move(panelRow)))
      .onReceive<foundation::Notification>(toggleSidebarPublisher_, [self](const foundation::Notification&) {
        self.toggleSidebarVisibility();
      });
}

ui::AnyView OverlayView::buttonColumn() const {
  using namespace ui;
  const bool isShowing = *isShowing_;
  auto self = *this;
  auto toggleLabel = conditional(
      isShowing,
      Image::systemName("arrow.right.circle.fill").font(Font::largeTitle()).foregroundStyle(Color::primary()),
      Image("talk-button").resizable().frame(44, 44));
  auto toggleButton = Button([self] { self.toggleSidebarVisibility(); }, std::move(toggleLabel))
                          .buttonStyle(ButtonStyle::plain);
  auto widthButton = [self](const char* title, double width) {
    return Button(title, [self, width] { self.setSidebarWidth(width); });
  };
  auto widthMenu = Menu(Image::systemName("arrow.left.and.right.circle.fill")
                            .font(Font::largeTitle())
                            .foregroundStyle(Color::primary()),
                        {widthButton("Small", kSmallWidth), widthButton("Medium", kMediumWidth),
                         widthButton("Large", kLargeWidth), widthButton("Huge", kHugeWidth)})
                       .buttonStyle(ButtonStyle::plain);
  return VStack(HorizontalAlignment::center, 6.0, std::move(toggleButton),
                conditional(isShowing, std::move(widthMenu)))
      .padding(Edges::horizontal, isShowing ? 6.0 : 0.0)
      .padding(Edges::vertical, isShowing ? 8.0 : 0.0)
      .background(AnyView(Color::accentColor().opacity(isShowing ? 0.5 : 0.8))
                      .ignoresSafeArea(SafeAreaRegions::all, Edges::all))
      .background(AnyView(Material::thin()).ignoresSafeArea(SafeAreaRegions::all, Edges::all))
      .clipShape(RoundedRectangle(40, CornerStyle::continuous))
      .offset(toggleColumnOffset(), 0)
      .zIndex(10);
}

ui::AnyView OverlayView::chatPanel() const {
  using namespace ui;
  return AnyView(WebViewWrapper(*urlString_, Binding<bool>::constant(false), nullptr,
                                Binding<std::string>::constant("")))
      .clipShape(RoundedRectangle(12, CornerStyle::continuous))
      .padding(Edges::trailing, 8.0)
      .padding(Edges::top, 45.0)
      .padding(Edges::bottom, 8.0)
      .shadow(panelShadowColor(), 8)
      .frame(*sidebarWidth_, std::nullopt);
}

}  // namespace Quillo
