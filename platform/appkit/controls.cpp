#include "platform/appkit/controls.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/appkit/color_panel.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/window.h"
#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"

namespace appkit {

namespace {

// Command, Control or Option held: the key is a shortcut or a binding, not text.
bool isShortcut(const Event& event) {
  return !(event.modifierFlags() & (ModifierFlags::command | ModifierFlags::control | ModifierFlags::option))
              .isEmpty();
}

bool isReturn(const Event& event) {
  return event.keyCode() == KeyCode::returnKey || event.keyCode() == KeyCode::keypadEnter;
}

bool isDeletion(const Event& event) {
  const auto key = event.specialKey();
  return event.keyCode() == KeyCode::deleteBackward ||
         (key && (*key == SpecialKey::delete_ || *key == SpecialKey::backspace));
}

// Text a key types: its characters when they hold no special key and no control character.
std::optional<std::string> typedText(const Event& event) {
  if (event.characters().empty() || event.specialKey()) return std::nullopt;
  for (char32_t scalar : foundation::unicodeScalars(event.characters())) {
    if (scalar < 0x20 || scalar == 0x7F) return std::nullopt;
  }
  return event.characters();
}

// The last character a person sees (a grapheme cluster) of a text; empty for an empty text.
std::string lastCharacter(std::string_view text) {
  const auto clusters = foundation::graphemeClusters(text);
  return clusters.empty() ? std::string() : clusters.back();
}

// The point of a pointer event in the view's own coordinates.
foundation::Point localPoint(const View& view, const Event& event) {
  return view.convertPointFromView(event.locationInWindow(), nullptr);
}

}  // namespace

void Control::setEnabled(bool isEnabled) {
  isEnabled_ = isEnabled;
  if (isEnabled) return;
  if (auto window = this->window(); window && firstResponder(*window).get() == this) {
    makeFirstResponder(*window, nullptr);
  }
}

void Control::sendAction() {
  if (!isEnabled_ || !action) return;
  auto run = action;  // the action may replace itself
  run();
}

void TextField::userDidEnter(std::string value) {
  if (!isEnabled()) return;
  stringValue_ = std::move(value);
  if (textDidChange) textDidChange(stringValue_);
}

bool TextField::keyDown(const Event& event) {
  if (!isEnabled() || isShortcut(event)) return false;
  if (isReturn(event)) {
    sendAction();
    return true;
  }
  if (event.keyCode() == KeyCode::escape) return cancelOperation && cancelOperation();
  if (isDeletion(event)) {
    if (!stringValue_.empty()) {
      userDidEnter(stringValue_.substr(0, stringValue_.size() - lastCharacter(stringValue_).size()));
    }
    return true;
  }
  if (auto text = typedText(event)) {
    userDidEnter(stringValue_ + *text);
    return true;
  }
  // The arrow and other editing keys move a caret that a one-line field keeps no record of; Tab,
  // Escape and the rest belong to someone else.
  const auto key = event.specialKey();
  return key && *key >= SpecialKey::upArrow && *key <= SpecialKey::pageDown;
}

std::size_t TextView::utf16Length() const { return foundation::utf16Length(string_); }

void TextView::setString(std::string text) {
  string_ = std::move(text);
  setSelectedRange(selectedRange_);
}

void TextView::setSelectedRange(TextRange range) {
  std::size_t length = utf16Length();
  range.location = std::min(range.location, length);
  range.length = std::min(range.length, length - range.location);
  selectedRange_ = range;
}

void TextView::insertText(const std::string& text) {
  if (!isEditable_) return;
  auto start = foundation::utf8Offset(string_, selectedRange_.location);
  auto end = foundation::utf8Offset(string_, selectedRange_.location + selectedRange_.length);
  string_.replace(start, end - start, text);
  selectedRange_ = {selectedRange_.location + foundation::utf16Length(text), 0};
  if (textDidChange) textDidChange(string_);
}

void TextView::deleteBackward() {
  if (!isEditable_) return;
  if (selectedRange_.length == 0) {
    if (selectedRange_.location == 0) return;
    const auto before =
        std::string_view(string_).substr(0, foundation::utf8Offset(string_, selectedRange_.location));
    const auto removed = foundation::utf16Length(lastCharacter(before));
    selectedRange_ = {selectedRange_.location - removed, removed};
  }
  insertText("");
}

bool TextView::keyDown(const Event& event) {
  if (!isEditable_) return false;
  // Return breaks the line with Shift, Option or Control held as well; Command makes any key a shortcut.
  if (isReturn(event) && !event.modifierFlags().contains(ModifierFlags::command)) {
    insertText("\n");
    return true;
  }
  if (isShortcut(event) || event.specialKey() == SpecialKey::backTab) return false;
  if (event.keyCode() == KeyCode::tab) {
    if (event.modifierFlags().contains(ModifierFlags::shift)) return false;
    insertText("\t");
    return true;
  }
  if (isDeletion(event)) {
    deleteBackward();
    return true;
  }
  if (auto text = typedText(event)) {
    insertText(*text);
    return true;
  }
  const auto key = event.specialKey();
  return key && *key >= SpecialKey::upArrow && *key <= SpecialKey::pageDown;
}

ScrollView::ScrollView() : ScrollView(foundation::Rect{}) {}

ScrollView::ScrollView(foundation::Rect frame) : View(frame), clipView_(std::make_shared<ClipView>()) {
  clipView_->setFrame({{0, 0}, frame.size});
}

std::shared_ptr<View> ScrollView::documentView() const {
  return clipView_->subviews().empty() ? nullptr : clipView_->subviews().front();
}

void ScrollView::setDocumentView(std::shared_ptr<View> view) {
  // The clip view joins the hierarchy lazily: a view cannot hand itself out while it is being made.
  if (!clipView_->superview()) addSubview(clipView_);
  if (view) {
    clipView_->setSubviews({std::move(view)});
  } else {
    clipView_->setSubviews({});
  }
}

void ScrollView::setFrame(foundation::Rect frame) {
  View::setFrame(frame);
  if (!clipView_->superview()) addSubview(clipView_);
  clipView_->setFrame({{0, 0}, frame.size});
}

std::vector<foundation::Rect> TabView::tabRects(foundation::Rect bounds,
                                                const std::vector<double>& labelWidths) {
  const std::size_t count = labelWidths.size();
  std::vector<foundation::Rect> rects;
  if (count == 0) return rects;
  double total = 0;
  for (double width : labelWidths) total += std::isfinite(width) ? std::max(0.0, width) : 0;
  const double room = std::max(0.0, bounds.width());
  const double extra = total < room ? (room - total) / static_cast<double>(count) : 0;
  const double scale = total > room ? room / total : 1;
  double x = bounds.minX();
  for (double width : labelWidths) {
    const double label = std::isfinite(width) ? std::max(0.0, width) : 0;
    const double share = label * scale + extra;
    rects.emplace_back(x, bounds.minY(), share, kTabBarHeight);
    x += share;
  }
  return rects;
}

void TabView::selectTab(std::size_t index) {
  if (index >= tabLabels_.size() || index == selectedIndex_) return;
  selectedIndex_ = index;
  if (didSelectTab) {
    auto report = didSelectTab;
    report(index);
  }
}

bool TabView::keyDown(const Event& event) {
  const auto count = tabLabels_.size();
  if (count == 0) return false;
  const auto held =
      (event.modifierFlags() & ModifierFlags::deviceIndependentFlagsMask)
          .subtracting(ModifierFlags::capsLock | ModifierFlags::numericPad | ModifierFlags::function);
  const std::size_t next = (selectedIndex_ + 1) % count;
  const std::size_t previous = (selectedIndex_ + count - 1) % count;
  if (event.keyCode() == KeyCode::tab && held.subtracting(ModifierFlags::shift) == ModifierFlags::control) {
    // The focused view goes with the tab it is in; the bar keeps focus, so the next press comes here too.
    if (auto window = this->window()) makeFirstResponder(*window, shared_from_this());
    selectTab(held.contains(ModifierFlags::shift) ? previous : next);
    return true;
  }
  // The arrows belong to the bar only while it has focus itself.
  auto window = this->window();
  if (!window || firstResponder(*window).get() != this || !held.isEmpty()) return false;
  if (event.keyCode() == KeyCode::rightArrow) {
    if (selectedIndex_ + 1 < count) selectTab(selectedIndex_ + 1);
    return true;
  }
  if (event.keyCode() == KeyCode::leftArrow) {
    if (selectedIndex_ > 0) selectTab(selectedIndex_ - 1);
    return true;
  }
  return false;
}

void TabView::mouseDown(const Event& event) {
  const auto point = localPoint(*this, event);
  const auto count = tabLabels_.size();
  const auto rects =
      tabRects(bounds(), labelWidths_.size() == count ? labelWidths_ : std::vector<double>(count, 0.0));
  for (std::size_t i = 0; i < count; ++i) {
    if (rects[i].contains(point)) {
      selectTab(i);
      return;
    }
  }
}

void Button::mouseDown(const Event&) { isPressed_ = isEnabled(); }

void Button::mouseUp(const Event& event) {
  const bool wasPressed = std::exchange(isPressed_, false);
  // A press dragged off the button before its release cancels the click.
  if (!wasPressed || !isEnabled() || !bounds().contains(localPoint(*this, event))) return;
  if (kind_ == Kind::checkbox) state_ = !state_;
  sendAction();
}

void SegmentedControl::mouseDown(const Event& event) {
  const auto count = segmentCount();
  if (!isEnabled() || count == 0) return;
  const auto point = localPoint(*this, event);
  if (!bounds().contains(point)) return;
  const double width = bounds().width() / static_cast<double>(count);
  const auto segment = std::min(count - 1, static_cast<std::size_t>((point.x - bounds().minX()) / width));
  selectedSegment_ = static_cast<int>(segment);
  sendAction();
}

void ColorWell::activate() {
  if (!isEnabled()) return;
  auto panel = ColorPanel::shared();
  if (auto other = panel->activeWell(); other && other.get() != this) other->deactivate();
  isActive_ = true;
  panel->setActiveWell(std::static_pointer_cast<ColorWell>(shared_from_this()));
  panel->setShowsAlpha(supportsAlpha_);
  panel->setColor(color_);
  panel->orderFront();
}

void ColorWell::deactivate() {
  if (!isActive_) return;
  isActive_ = false;
  auto panel = ColorPanel::shared();
  if (panel->activeWell().get() == this) panel->setActiveWell(nullptr);
}

void ColorWell::takeColorFromPanel(Components color) {
  if (!isActive_ || !isEnabled()) return;
  if (!supportsAlpha_) color.alpha = 1;
  color_ = color;
  sendAction();
}

void ColorWell::mouseDown(const Event&) {
  if (!isEnabled()) return;
  if (isActive_) {
    deactivate();
  } else {
    activate();
  }
}

}  // namespace appkit
