// The platform's standard views and controls: text fields and text views, scroll views with their
// clip and document views, tables, split and tab views, buttons, sliders, steppers, date pickers,
// segmented controls and colour wells. They keep their state as plain values and take a person's clicks
// and key presses as the window hands them on (see Window::sendEvent); drawing comes later.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/appkit/responder.h"
#include "platform/appkit/view.h"

namespace appkit {

// A view a person operates. A disabled one takes no input and no keyboard focus: disabling the first
// responder takes focus from it.
class Control : public View, public Responder {
 public:
  using View::View;
  bool isEnabled() const { return isEnabled_; }
  void setEnabled(bool isEnabled);

  // What a person's use of the control does (a click on a button, Return in a text field, a chosen
  // segment or colour).
  std::function<void()> action;
  // Runs the action, while the control is enabled.
  void sendAction();

 private:
  bool isEnabled_ = true;
};

// A range of text in UTF-16 code units.
struct TextRange {
  std::size_t location = 0;
  std::size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// A one-line editable text. While it has keyboard focus a person types at its end, deletes backwards
// and commits with Return, which runs the action; the key-view loop has it.
class TextField : public Control {
 public:
  using Control::Control;
  const std::string& stringValue() const { return stringValue_; }
  void setStringValue(std::string value) { stringValue_ = std::move(value); }
  const std::string& placeholderString() const { return placeholderString_; }
  void setPlaceholderString(std::string placeholder) { placeholderString_ = std::move(placeholder); }
  // What a person typed replaces the value and is reported (not called for setStringValue); nothing
  // happens while the field is disabled.
  virtual void userDidEnter(std::string value);
  std::function<void(const std::string&)> textDidChange;
  // Escape while the field is being edited: the cancel operation, which returns whether someone took
  // it. Escape that nobody takes goes on up the responders (to a window's cancel button, say).
  std::function<bool()> cancelOperation;

  bool acceptsFirstResponder() const override { return isEnabled(); }
  // Editing ends whenever focus is given to the field again (Tab in a window with no other field).
  bool usesFieldEditor() const override { return true; }
  bool keyDown(const Event& event) override;

 private:
  std::string stringValue_;
  std::string placeholderString_;
};

// A text field that never shows its characters.
class SecureTextField : public TextField {
 public:
  using TextField::TextField;
};

// A multi-line editable text with a selection (the caret when empty). While it has keyboard focus a
// person types at the caret; Return and Tab insert a line break and a tab, Shift-Tab leaves it.
class TextView : public View, public Responder {
 public:
  using View::View;
  const std::string& string() const { return string_; }
  // Replaces the text; the selection is kept where it still fits, otherwise moved to the end.
  void setString(std::string text);
  TextRange selectedRange() const { return selectedRange_; }
  // Clamped to the text.
  void setSelectedRange(TextRange range);
  bool isEditable() const { return isEditable_; }
  void setEditable(bool isEditable) { isEditable_ = isEditable; }
  // What a person types replaces the selection and leaves the caret after it; it is reported (not
  // called for setString). Nothing happens when the view is not editable.
  void insertText(const std::string& text);
  // Deletes the selection, or the character before the caret, as a person's Delete key does.
  void deleteBackward();
  std::function<void(const std::string&)> textDidChange;

  // Only an editable text takes focus: a read-only one is as good as disabled here.
  bool acceptsFirstResponder() const override { return isEditable_; }
  bool keyDown(const Event& event) override;

 private:
  std::size_t utf16Length() const;
  std::string string_;
  TextRange selectedRange_;
  bool isEditable_ = true;
};

// The visible part of a scroll view's document.
class ClipView : public View {
 public:
  using View::View;
};

// Shows a part of a larger document view through its clip view.
class ScrollView : public View {
 public:
  ScrollView();
  explicit ScrollView(foundation::Rect frame);
  const std::shared_ptr<ClipView>& contentView() const { return clipView_; }
  std::shared_ptr<View> documentView() const;
  void setDocumentView(std::shared_ptr<View> view);
  void setFrame(foundation::Rect frame) override;

 private:
  std::shared_ptr<ClipView> clipView_;
};

// Rows of cells.
class TableView : public Control {
 public:
  using Control::Control;
};

// The view of one cell of a table.
class TableCellView : public View {
 public:
  using View::View;
};

// Panes side by side or one above the other, with dividers between them.
class SplitView : public View {
 public:
  using View::View;
  bool isVertical() const { return isVertical_; }
  void setVertical(bool isVertical) { isVertical_ = isVertical; }

 private:
  bool isVertical_ = true;
};

// Tabs with labels in a bar along the top, one tab shown at a time. A person chooses a tab by clicking
// its label, with the arrow keys while the bar has focus (a click on it gives it focus), and with
// Control-Tab and Control-Shift-Tab from anywhere inside; the bar is left out of the key-view loop, as
// without full keyboard access.
class TabView : public View, public Responder {
 public:
  // The height of the bar of labels (an icon above a title).
  static constexpr double kTabBarHeight = 48;

  using View::View;
  const std::vector<std::string>& tabLabels() const { return tabLabels_; }
  void setTabLabels(std::vector<std::string> labels) { tabLabels_ = std::move(labels); }
  std::size_t selectedIndex() const { return selectedIndex_; }
  // Shows a tab without telling anyone (the owner's own choice).
  void setSelectedIndex(std::size_t index) { selectedIndex_ = index; }
  // Chooses a tab as a person does: an index of another tab changes the selection and is reported.
  void selectTab(std::size_t index);
  std::function<void(std::size_t)> didSelectTab;

  // How wide the tabs' labels are, in order (the bar is shared out by them; none: shared equally).
  const std::vector<double>& labelWidths() const { return labelWidths_; }
  void setLabelWidths(std::vector<double> widths) { labelWidths_ = std::move(widths); }

  // Where the tabs sit in the bar of a tab view of `bounds`, one for each of `labelWidths`: each tab is
  // as wide as its label, and what room is left is shared equally; labels wider than the bar together
  // share it in proportion to their widths.
  static std::vector<foundation::Rect> tabRects(foundation::Rect bounds,
                                                const std::vector<double>& labelWidths);

  bool acceptsFirstResponder() const override { return true; }
  bool canBecomeKeyView() const override { return false; }
  bool keyDown(const Event& event) override;
  void mouseDown(const Event& event) override;

 private:
  std::vector<std::string> tabLabels_;
  std::vector<double> labelWidths_;
  std::size_t selectedIndex_ = 0;
};

// A push button or a check box. A click (press and release over it) runs the action, after a check box
// has turned itself over. Buttons take no keyboard focus, as without full keyboard access.
class Button : public Control {
 public:
  enum class Kind { push, checkbox };
  using Control::Control;
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }
  Kind kind() const { return kind_; }
  void setKind(Kind kind) { kind_ = kind; }
  // On or off, for check boxes.
  bool state() const { return state_; }
  void setState(bool state) { state_ = state; }

  void mouseDown(const Event& event) override;
  void mouseUp(const Event& event) override;

 private:
  std::string title_;
  Kind kind_ = Kind::push;
  bool state_ = false;
  bool isPressed_ = false;
};

class Slider : public Control {
 public:
  using Control::Control;
  double doubleValue() const { return value_; }
  void setDoubleValue(double value) { value_ = value; }
  double minValue() const { return minValue_; }
  double maxValue() const { return maxValue_; }
  void setRange(double minValue, double maxValue) {
    minValue_ = minValue;
    maxValue_ = maxValue;
  }

 private:
  double value_ = 0, minValue_ = 0, maxValue_ = 1;
};

class Stepper : public Control {
 public:
  using Control::Control;
  double doubleValue() const { return value_; }
  void setDoubleValue(double value) { value_ = value; }
  double increment() const { return increment_; }
  void setIncrement(double increment) { increment_ = increment; }

 private:
  double value_ = 0, increment_ = 1;
};

// Seconds since 1 January 2001, as the platform counts dates.
class DatePicker : public Control {
 public:
  using Control::Control;
  double dateValue() const { return dateValue_; }
  void setDateValue(double seconds) { dateValue_ = seconds; }

 private:
  double dateValue_ = 0;
};

// Segments side by side, sharing the width equally, each showing a label or an image; a click selects
// the segment under the pointer and runs the action.
class SegmentedControl : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& labels() const { return labels_; }
  void setLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }
  // The names of the images the segments show (an empty name: the label instead), and whether the
  // images are drawn as templates (in the current foreground colour).
  const std::vector<std::string>& imageNames() const { return imageNames_; }
  void setImageNames(std::vector<std::string> names) { imageNames_ = std::move(names); }
  bool areImagesTemplates() const { return areImagesTemplates_; }
  void setImagesTemplates(bool areTemplates) { areImagesTemplates_ = areTemplates; }
  std::size_t segmentCount() const { return std::max(labels_.size(), imageNames_.size()); }
  // -1 when no segment is selected.
  int selectedSegment() const { return selectedSegment_; }
  void setSelectedSegment(int segment) { selectedSegment_ = segment; }

  void mouseDown(const Event& event) override;

 private:
  std::vector<std::string> labels_;
  std::vector<std::string> imageNames_;
  bool areImagesTemplates_ = false;
  int selectedSegment_ = -1;
};

// A swatch of a colour, as sRGB components with opacity. A click makes the well active and opens the
// shared colour panel on its colour (a click on the active well makes it inactive); while it is active,
// every colour a person picks in the panel becomes the well's and runs the action.
class ColorWell : public Control {
 public:
  using Control::Control;
  struct Components {
    double red = 0, green = 0, blue = 0, alpha = 1;
    bool operator==(const Components&) const = default;
  };
  Components color() const { return color_; }
  void setColor(Components color) { color_ = color; }
  // Whether the panel offers opacity for this well; without it a picked colour is made opaque.
  bool supportsAlpha() const { return supportsAlpha_; }
  void setSupportsAlpha(bool supportsAlpha) { supportsAlpha_ = supportsAlpha; }

  bool isActive() const { return isActive_; }
  // Makes the well the panel's one active well and shows the panel on the well's colour. The panel holds
  // its well weakly: a well that goes away leaves it with none.
  void activate();
  void deactivate();
  // The panel's colour as a person picked it.
  void takeColorFromPanel(Components color);

  void mouseDown(const Event& event) override;

 private:
  Components color_;
  bool supportsAlpha_ = true;
  bool isActive_ = false;
};

}  // namespace appkit
