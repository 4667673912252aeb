// A search-style text field: a one-line text with a search button at its start and a clear (cancel)
// button at its end, edited through a field editor while it has keyboard focus, and reporting to a
// delegate when its text changes and when editing ends.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/appkit/controls.h"
#include "platform/foundation/geometry.h"

namespace appkit {

class View;

// A button drawn inside a control; clicking it runs its action with the sender.
class ButtonCell {
 public:
  explicit ButtonCell(std::function<void(View* sender)> action = {}) : action_(std::move(action)) {}
  void performClick(View* sender) const {
    if (action_) action_(sender);
  }
  void setAction(std::function<void(View* sender)> action) { action_ = std::move(action); }

 private:
  std::function<void(View* sender)> action_;
};

// The text view that edits a field while the field has keyboard focus.
class FieldEditor : public TextView {
 public:
  using TextView::TextView;
  // Whether the caret is drawn in the clear colour, so no caret shows.
  bool isInsertionPointColorClear() const { return isInsertionPointColorClear_; }
  void setInsertionPointColorClear(bool isClear) { isInsertionPointColorClear_ = isClear; }

 private:
  bool isInsertionPointColorClear_ = false;
};

// Told of a text field's editing.
class TextFieldDelegate {
 public:
  virtual ~TextFieldDelegate() = default;
  // The text changed by a person (typing, the clear button), not by setStringValue.
  virtual void controlTextDidChange(TextField&) {}
  // Editing ended: the field gave up keyboard focus.
  virtual void controlTextDidEndEditing(TextField&) {}
};

enum class TextAlignment { left, right, center, justified, natural };
enum class LayoutOrientation { horizontal, vertical };

// Views without an intrinsic extent along an axis answer this for it.
inline constexpr double kNoIntrinsicMetric = -1;

// Main thread only.
class SearchField : public TextField {
 public:
  // The height the field asks for.
  static constexpr double kIntrinsicHeight = 22;

  explicit SearchField(foundation::Rect frame = {});
  // A clear button kept elsewhere does nothing once its field is gone.
  ~SearchField() override;

  // The delegate is not owned.
  void setDelegate(std::weak_ptr<TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }

  // The clear button; null hides it. The first one clears the field as a person would.
  const std::shared_ptr<ButtonCell>& cancelButtonCell() const { return cancelButtonCell_; }
  void setCancelButtonCell(std::shared_ptr<ButtonCell> cell) { cancelButtonCell_ = std::move(cell); }
  // The search (magnifying glass) button; null hides it.
  const std::shared_ptr<ButtonCell>& searchButtonCell() const { return searchButtonCell_; }
  void setSearchButtonCell(std::shared_ptr<ButtonCell> cell) { searchButtonCell_ = std::move(cell); }

  TextAlignment alignment() const { return alignment_; }
  void setAlignment(TextAlignment alignment) { alignment_ = alignment; }
  bool wantsLayer() const { return wantsLayer_; }
  void setWantsLayer(bool wantsLayer) { wantsLayer_ = wantsLayer; }
  float contentHuggingPriority(LayoutOrientation orientation) const;
  void setContentHuggingPriority(float priority, LayoutOrientation orientation);

  // Width kNoIntrinsicMetric, height kIntrinsicHeight.
  virtual foundation::Size intrinsicContentSize() const;

  // The field editor while the field is being edited (has keyboard focus), else null.
  FieldEditor* currentEditor() const { return fieldEditor_.get(); }
  bool isEditing() const { return fieldEditor_ != nullptr; }

  // Told once the field has been put into a window or taken out of one (see noteWindowChange).
  void viewDidMoveToWindow() override {}
  // Whoever puts the field into a window (or takes it out) calls this; it calls viewDidMoveToWindow when
  // the field's window differs from the one it had at the last call.
  void noteWindowChange();

  // What a person typed is edited in the field editor as well, and the delegate is told.
  void userDidEnter(std::string value) override;
  // A click on the clear button (the square at the field's end, while there is one) clicks it.
  void mouseDown(const Event& event) override;

  // Focus: an enabled field takes it and starts editing; giving it up ends editing and tells the
  // delegate.
  bool acceptsFirstResponder() const override { return isEnabled(); }
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  bool usesFieldEditor() const override { return true; }

 private:
  // What the clear button does: empties the text and reports the change.
  void clearAsPerson();

  std::weak_ptr<TextFieldDelegate> delegate_;
  std::shared_ptr<ButtonCell> cancelButtonCell_;
  std::shared_ptr<ButtonCell> ownCancelButtonCell_;  // the one that clears this field
  std::shared_ptr<ButtonCell> searchButtonCell_;
  TextAlignment alignment_ = TextAlignment::natural;
  bool wantsLayer_ = false;
  float horizontalHugging_ = 250;
  float verticalHugging_ = 250;
  std::unique_ptr<FieldEditor> fieldEditor_;
  std::weak_ptr<Window> lastWindow_;
  bool hasSeenWindow_ = false;
};

}  // namespace appkit
