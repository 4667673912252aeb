#include "platform/appkit/search_field.h"

#include "platform/appkit/window.h"

namespace appkit {

SearchField::SearchField(foundation::Rect frame) : TextField(frame) {
  // The clear button acts on the field through a plain pointer; the field disarms it when it goes.
  ownCancelButtonCell_ = std::make_shared<ButtonCell>([this](View*) { clearAsPerson(); });
  cancelButtonCell_ = ownCancelButtonCell_;
  searchButtonCell_ = std::make_shared<ButtonCell>();
}

SearchField::~SearchField() { ownCancelButtonCell_->setAction({}); }

float SearchField::contentHuggingPriority(LayoutOrientation orientation) const {
  return orientation == LayoutOrientation::horizontal ? horizontalHugging_ : verticalHugging_;
}

void SearchField::setContentHuggingPriority(float priority, LayoutOrientation orientation) {
  (orientation == LayoutOrientation::horizontal ? horizontalHugging_ : verticalHugging_) = priority;
}

foundation::Size SearchField::intrinsicContentSize() const { return {kNoIntrinsicMetric, kIntrinsicHeight}; }

void SearchField::noteWindowChange() {
  auto now = window();
  if (hasSeenWindow_ && now == lastWindow_.lock()) return;
  if (!hasSeenWindow_ && !now) return;
  hasSeenWindow_ = true;
  lastWindow_ = now;
  viewDidMoveToWindow();
}

bool SearchField::becomeFirstResponder() {
  if (!isEnabled()) return false;
  fieldEditor_ = std::make_unique<FieldEditor>();
  fieldEditor_->setString(stringValue());
  return true;
}

bool SearchField::resignFirstResponder() {
  if (!fieldEditor_) return true;
  fieldEditor_.reset();
  if (auto delegate = delegate_.lock()) delegate->controlTextDidEndEditing(*this);
  return true;
}

void SearchField::userDidEnter(std::string value) {
  if (!isEnabled()) return;
  setStringValue(std::move(value));
  if (fieldEditor_) fieldEditor_->setString(stringValue());
  if (auto delegate = delegate_.lock()) delegate->controlTextDidChange(*this);
  if (textDidChange) textDidChange(stringValue());
}

void SearchField::mouseDown(const Event& event) {
  if (!isEnabled() || !cancelButtonCell_) return;
  const auto point = convertPointFromView(event.locationInWindow(), nullptr);
  const foundation::Rect button(bounds().maxX() - kIntrinsicHeight, bounds().minY(), kIntrinsicHeight,
                                bounds().height());
  if (button.contains(point)) cancelButtonCell_->performClick(this);
}

void SearchField::clearAsPerson() {
  setStringValue({});
  if (fieldEditor_) fieldEditor_->setString({});
  if (auto delegate = delegate_.lock()) delegate->controlTextDidChange(*this);
  if (textDidChange) textDidChange(stringValue());
}

}  // namespace appkit
