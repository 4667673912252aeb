// The platform's standard views and controls: text fields and text views, scroll views with their
// clip and document views, tables, split and tab views, buttons, sliders, steppers, date pickers,
// segmented controls and colour wells. They keep their state as plain values; drawing comes later.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/appkit/view.h"

namespace appkit {

// A view a person operates; a disabled one takes no input.
class Control : public View {
 public:
  using View::View;
  bool isEnabled() const { return isEnabled_; }
  void setEnabled(bool isEnabled) { isEnabled_ = isEnabled; }

 private:
  bool isEnabled_ = true;
};

// A range of text in UTF-16 code units.
struct TextRange {
  std::size_t location = 0;
  std::size_t length = 0;
  bool operator==(const TextRange&) const = default;
};

// A one-line editable text.
class TextField : public Control {
 public:
  using Control::Control;
  const std::string& stringValue() const { return stringValue_; }
  void setStringValue(std::string value) { stringValue_ = std::move(value); }
  const std::string& placeholderString() const { return placeholderString_; }
  void setPlaceholderString(std::string placeholder) { placeholderString_ = std::move(placeholder); }
  // What a person typed replaces the value and is reported (not called for setStringValue).
  void userDidEnter(std::string value);
  std::function<void(const std::string&)> textDidChange;

 private:
  std::string stringValue_;
  std::string placeholderString_;
};

// A text field that never shows its characters.
class SecureTextField : public TextField {
 public:
  using TextField::TextField;
};

// A multi-line editable text with a selection (the caret when empty).
class TextView : public View {
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
  std::function<void(const std::string&)> textDidChange;

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

// Tabs with labels, one shown at a time.
class TabView : public View {
 public:
  using View::View;
  const std::vector<std::string>& tabLabels() const { return tabLabels_; }
  void setTabLabels(std::vector<std::string> labels) { tabLabels_ = std::move(labels); }
  std::size_t selectedIndex() const { return selectedIndex_; }
  void setSelectedIndex(std::size_t index) { selectedIndex_ = index; }

 private:
  std::vector<std::string> tabLabels_;
  std::size_t selectedIndex_ = 0;
};

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

 private:
  std::string title_;
  Kind kind_ = Kind::push;
  bool state_ = false;
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

class SegmentedControl : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& labels() const { return labels_; }
  void setLabels(std::vector<std::string> labels) { labels_ = std::move(labels); }
  // -1 when no segment is selected.
  int selectedSegment() const { return selectedSegment_; }
  void setSelectedSegment(int segment) { selectedSegment_ = segment; }

 private:
  std::vector<std::string> labels_;
  int selectedSegment_ = -1;
};

// A swatch that opens the colour panel; the colour as sRGB components with opacity.
class ColorWell : public Control {
 public:
  using Control::Control;
  struct Components {
    double red = 0, green = 0, blue = 0, alpha = 1;
    bool operator==(const Components&) const = default;
  };
  Components color() const { return color_; }
  void setColor(Components color) { color_ = color; }

 private:
  Components color_;
};

}  // namespace appkit
