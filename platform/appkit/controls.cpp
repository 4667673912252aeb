#include "platform/appkit/controls.h"

#include <algorithm>

#include "platform/foundation/utf16.h"

namespace appkit {

void TextField::userDidEnter(std::string value) {
  if (!isEnabled()) return;
  stringValue_ = std::move(value);
  if (textDidChange) textDidChange(stringValue_);
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

}  // namespace appkit
