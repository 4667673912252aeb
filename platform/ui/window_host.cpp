#include "platform/ui/window_host.h"

#include "platform/appkit/event_dispatch.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/responder.h"
#include "platform/foundation/utf16.h"

namespace ui::testing {

WindowHost::WindowHost(AnyView root, Size windowSize, std::shared_ptr<const TextMeasurer> measurer,
                       ColorScheme colorScheme)
    : Host(std::move(root), colorScheme),
      window_(std::make_shared<appkit::Window>(Rect({0, 0}, windowSize))) {
  hostingView_ = HostingView::make(graph(), Rect({0, 0}, windowSize), std::move(measurer));
  window_->setContentView(hostingView_);
  window_->makeKeyWindow();
  // Work the first update posted (representables' deferred work) runs before the test looks.
  settle();
}

WindowHost::~WindowHost() {
  window_->setContentView(nullptr);
  hostingView_.reset();
}

Rect WindowHost::frame(const ViewRef& view, CoordinateSpace space) const {
  auto found = hostingView_->frame(view.node());
  if (!found) throw InspectionError("not laid out: " + view.typeName() + " in:\n" + dump());
  if (space == CoordinateSpace::local) return Rect({0, 0}, found->size);
  return hostingView_->convertRectToView(*found, nullptr);
}

std::vector<Rect> WindowHost::imageFrames(const ViewRef& text, CoordinateSpace space) const {
  const Rect target = frame(text, space);
  const Rect laidOut = *hostingView_->frame(text.node());
  std::vector<Rect> frames;
  for (const auto& picture : hostingView_->layout().imageFrames(text.node())) {
    // From the hosting view's coordinates to the text's, then into the space asked for.
    frames.emplace_back(target.minX() + picture.minX() - laidOut.minX(),
                        target.minY() + picture.minY() - laidOut.minY(), picture.width(), picture.height());
  }
  return frames;
}

std::optional<Size> WindowHost::contentSize(const ViewRef& scrollView) const {
  return hostingView_->layout().contentSize(scrollView.node());
}

std::shared_ptr<appkit::View> WindowHost::platformView(const ViewRef& view) const {
  return hostingView_->platformView(view.node());
}

void WindowHost::resize(Size size) {
  window_->setFrame(Rect(window_->frame().origin, size));
  settle();
}

void WindowHost::click(const ViewRef& view) {
  const auto area = frame(view);
  click(Point{area.midX(), area.midY()});
}

void WindowHost::click(Point pointInWindow) {
  using appkit::Event;
  appkit::dispatchEvent(Event::mouseEvent(appkit::EventType::leftMouseDown, pointInWindow), window_);
  settle();
  appkit::dispatchEvent(Event::mouseEvent(appkit::EventType::leftMouseUp, pointInWindow), window_);
  settle();
}

namespace {

// What a key types by itself, as the keyboard reports it.
std::string charactersOf(std::uint16_t keyCode, appkit::ModifierFlags modifiers) {
  namespace key = appkit::KeyCode;
  switch (keyCode) {
    case key::returnKey:
      return "\r";
    case key::keypadEnter:
      return appkit::SpecialKey::enter.characters();
    case key::tab:
      return modifiers.contains(appkit::ModifierFlags::shift) ? appkit::SpecialKey::backTab.characters()
                                                              : "\t";
    case key::deleteBackward:
      return appkit::SpecialKey::delete_.characters();
    case key::escape:
      return "\x1b";
    case key::leftArrow:
      return appkit::SpecialKey::leftArrow.characters();
    case key::rightArrow:
      return appkit::SpecialKey::rightArrow.characters();
    case key::upArrow:
      return appkit::SpecialKey::upArrow.characters();
    case key::downArrow:
      return appkit::SpecialKey::downArrow.characters();
    case key::space:
      return " ";
    default:
      return {};
  }
}

}  // namespace

void WindowHost::press(std::uint16_t keyCode, appkit::ModifierFlags modifiers,
                       std::optional<std::string> characters) {
  appkit::dispatchEvent(appkit::Event::keyEvent(appkit::EventType::keyDown, keyCode, modifiers,
                                                characters.value_or(charactersOf(keyCode, modifiers))));
  settle();
}

void WindowHost::pressReturn(appkit::ModifierFlags modifiers) {
  press(appkit::KeyCode::returnKey, modifiers);
}

void WindowHost::pressTab() { press(appkit::KeyCode::tab); }

void WindowHost::pressShiftTab() { press(appkit::KeyCode::tab, appkit::ModifierFlags::shift); }

void WindowHost::typeText(const std::string& text) {
  for (char32_t scalar : foundation::unicodeScalars(text)) {
    const auto character = foundation::utf8(scalar);
    if (scalar == U'\n') {
      pressReturn();
    } else {
      // Letters and the like have key codes of their own; the controls read the characters.
      press(0, {}, character);
    }
  }
}

std::shared_ptr<appkit::View> WindowHost::firstResponder() const { return appkit::firstResponder(*window_); }

bool WindowHost::hasFocus(const ViewRef& view) const {
  const auto focused = firstResponder();
  const auto realised = platformView(view);
  return focused && realised && focused->isDescendantOf(*realised);
}

}  // namespace ui::testing
