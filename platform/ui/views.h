// The built-in views: text, images, shapes, colours, stacks, spacers, lists and the controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/foundation/url.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/binding.h"
#include "platform/ui/bitmap.h"
#include "platform/ui/color.h"
#include "platform/ui/number_formatter.h"
#include "platform/ui/stroke_style.h"
#include "platform/ui/view.h"
#include "platform/ui/view_values.h"

namespace foundation {
class Bundle;
}

namespace ui {

namespace detail {

template <class... Vs>
std::vector<Child> childrenOf(Vs&&... views) {
  std::vector<Child> result;
  result.reserve(sizeof...(Vs));
  (result.push_back(Child{AnyView(std::forward<Vs>(views)).spec(), std::nullopt}), ...);
  return result;
}
std::vector<Child> childrenOf(const std::vector<AnyView>& views);

// Whether a parameter pack is one value of type T (a copy, not a child).
template <class T, class... Vs>
inline constexpr bool isSelf = sizeof...(Vs) == 1 && (std::is_same_v<std::remove_cvref_t<Vs>, T> && ...);

// A built-in view that only holds other views (groups, lists, forms, sections, ...).
class ContainerSpec final : public PrimitiveSpec {
 public:
  ContainerSpec(std::string name, std::vector<Child> children, std::string description = {})
      : name_(std::move(name)),
        children_(std::move(children)),
        description_(std::move(description)),
        isRunOfForEach_(name_ == "ForEachRun"),
        isTransparent_(isRunOfForEach_ || name_ == "Group" || name_ == "ForEach" || name_ == "Conditional" ||
                       name_ == "EmptyView") {}
  std::string typeName() const override { return name_; }
  // Whether its views are laid out as views of the container around it (it has no layout of its own),
  // worked out once: layout asks for every view of a stack at every pass.
  bool isTransparent() const { return isTransparent_; }
  // Whether it is a run of an enclosing ForEach's views (see `ForEachRun`).
  bool isRunOfForEach() const { return isRunOfForEach_; }
  bool hasVariableTypeName() const override { return true; }
  std::vector<Child> children() const override { return children_; }
  std::string describe() const override { return description_.empty() ? name_ : name_ + " " + description_; }

 private:
  std::string name_;
  std::vector<Child> children_;
  std::string description_;
  bool isRunOfForEach_;
  bool isTransparent_;
};

class ImageSpec;

class TextSpec final : public PrimitiveSpec {
 public:
  // A run of characters, or a picture standing in the line like a character (then `text` is empty).
  struct Segment {
    AttributedString text;
    bool isLocalized = false;
    std::shared_ptr<const ImageSpec> image;
  };
  explicit TextSpec(std::vector<Segment> segments) : segments_(std::move(segments)) {}
  std::string typeName() const override { return "Text"; }
  std::string describe() const override;
  const std::vector<Segment>& segments() const { return segments_; }
  // The characters shown; pictures are not characters and add nothing.
  std::string string() const;
  AttributedString attributedString() const;
  bool hasImages() const;

 private:
  std::vector<Segment> segments_;
};

class ImageSpec final : public PrimitiveSpec {
 public:
  enum class Source { named, systemSymbol, bitmap };
  Source source = Source::named;
  std::string name;
  bool isResizable = false;
  // Where a named image is looked up: a bundle's resource directory (absent: the main bundle's).
  std::optional<std::filesystem::path> bundleDirectory;
  // The picture's size in points, for pictures whose pixels were measured where they were read.
  std::optional<foundation::Size> size;
  std::string label;                     // what accessibility reads for the picture
  bool isTemplate = false;               // drawn in the foreground colour, keeping only the image's shape
  std::shared_ptr<const Bitmap> bitmap;  // the pixels of a bitmap image
  std::string typeName() const override { return "Image"; }
  std::string describe() const override;
};

class ShapeSpec final : public PrimitiveSpec {
 public:
  ShapeOutline outline;
  std::optional<Color> fill;  // absent: the foreground style
  std::optional<Color> stroke;
  double lineWidth = 1;
  // The stroke's ends, corners and dashes (its width is `lineWidth`).
  StrokeStyle strokeStyle;
  std::string typeName() const override;
  bool hasVariableTypeName() const override { return true; }
  std::string describe() const override;
};

class ColorSpec final : public PrimitiveSpec {
 public:
  explicit ColorSpec(Color color) : color(std::move(color)) {}
  Color color;
  std::string typeName() const override { return "Color"; }
  std::string describe() const override;
};

class SpacerSpec final : public PrimitiveSpec {
 public:
  std::optional<double> minLength;
  std::string typeName() const override { return "Spacer"; }
  std::string describe() const override;
};

class StackSpec final : public PrimitiveSpec {
 public:
  enum class Axis { horizontal, vertical, depth };
  Axis axis = Axis::horizontal;
  Alignment alignment;
  std::optional<double> spacing;  // absent: the platform's default
  std::vector<Child> items;
  std::string typeName() const override;
  bool hasVariableTypeName() const override { return true; }
  std::string describe() const override;
  std::vector<Child> children() const override { return items; }
};

class ButtonSpec final : public PrimitiveSpec {
 public:
  std::function<void()> action;
  SpecPointer label;
  std::string typeName() const override { return "Button"; }
  std::vector<Child> children() const override { return {Child{label, std::nullopt}}; }
};

class ToggleSpec final : public PrimitiveSpec {
 public:
  ToggleSpec(Binding<bool> isOn, SpecPointer label) : isOn(std::move(isOn)), label(std::move(label)) {}
  Binding<bool> isOn;
  SpecPointer label;
  std::string typeName() const override { return "Toggle"; }
  std::string describe() const override;
  std::vector<Child> children() const override { return {Child{label, std::nullopt}}; }
};

// A text field, secure field or text editor bound to a string.
class TextInputSpec final : public PrimitiveSpec {
 public:
  enum class Kind { textField, secureField, textEditor };
  TextInputSpec(Kind kind, std::string title, Binding<std::string> text)
      : kind(kind), title(std::move(title)), text(std::move(text)) {}
  Kind kind;
  std::string title;  // the placeholder
  Binding<std::string> text;
  // For a field bound to a value through a formatter: what a person types stays in the field until it
  // is committed (Return, or focus leaving); then `commit` stores the value the text reads as, when it
  // reads as one, and returns the text the field shows afterwards (the stored value's). `text` reads the
  // stored value as text, and writing it commits. Absent for a field bound to the text itself, which
  // stores every change at once.
  std::function<std::string(const std::string& typed)> commit;
  std::string typeName() const override;
  bool hasVariableTypeName() const override { return true; }
  std::string describe() const override;
};

// A picker: a label and options, one of which is selected (value types are erased to option indexes).
// The options' label views are its children: segments show them, a pop-up menu shows their titles.
class PickerSpec final : public PrimitiveSpec {
 public:
  std::string title;
  std::vector<std::string> optionTitles;
  std::vector<SpecPointer> optionLabels;
  std::function<std::optional<std::size_t>()> selectedIndex;
  std::function<void(std::size_t)> select;
  std::string typeName() const override { return "Picker"; }
  std::string describe() const override;
  std::vector<Child> children() const override;
};

// The text an option label shows, for a pop-up menu and for searches: a text's characters, an image's
// name, looked for through modifiers; empty for other views.
std::string optionTitle(const SpecPointer& label);

// A colour well with its label (the only child) bound to a colour.
class ColorPickerSpec final : public PrimitiveSpec {
 public:
  ColorPickerSpec(Binding<Color> selection, SpecPointer label, bool supportsOpacity)
      : selection(std::move(selection)), label(std::move(label)), supportsOpacity(supportsOpacity) {}
  Binding<Color> selection;
  SpecPointer label;
  bool supportsOpacity;
  std::string typeName() const override { return "ColorPicker"; }
  std::string describe() const override;
  std::vector<Child> children() const override { return {Child{label, std::nullopt}}; }
};

// Tabs (the children, each a "TabItem" of its label and, for the selected tab only, its content), the
// selected one and how a person chooses another.
class TabViewSpec final : public PrimitiveSpec {
 public:
  std::vector<Child> tabs;
  std::size_t selectedIndex = 0;
  std::function<void(std::size_t)> select;
  std::string typeName() const override { return "TabView"; }
  std::string describe() const override;
  std::vector<Child> children() const override { return tabs; }
};

class LinkSpec final : public PrimitiveSpec {
 public:
  LinkSpec(foundation::URL destination, SpecPointer label)
      : destination(std::move(destination)), label(std::move(label)) {}
  foundation::URL destination;
  SpecPointer label;
  std::string typeName() const override { return "Link"; }
  std::string describe() const override;
  std::vector<Child> children() const override { return {Child{label, std::nullopt}}; }
};

}  // namespace detail

// The main bundle's text for a localization key (the key itself when the table has no entry).
std::string localizedString(const std::string& key);
// `format` with its printf-style placeholders replaced by `arguments`, as localized text uses it. A
// placeholder without an argument is left as it is.
std::string formatLocalized(const std::string& format, const std::vector<std::string>& arguments);

class Image;

// Text: localized by default through the main bundle's string table (the key is shown when it has no
// entry), verbatim on request, or attributed; texts concatenate with +. A text of an image places the
// picture in the line, its bottom edge on the baseline.
class Text : public AnyView {
 public:
  explicit Text(std::string key);
  explicit Text(const char* key) : Text(std::string(key)) {}
  explicit Text(AttributedString attributed);
  explicit Text(const Image& image);
  static Text verbatim(std::string text);
  // Localized text with arguments: the format found for `key` in the string table (the key itself when
  // it has none) with each placeholder (%@, %d, %lld, %ld, %u, %f, or positional %1$@ ...) replaced by
  // the next (or numbered) argument; "%%" is a percent sign.
  static Text localized(const std::string& key, const std::vector<std::string>& arguments);
  friend Text operator+(const Text& a, const Text& b);

 private:
  explicit Text(std::vector<detail::TextSpec::Segment> segments);
  const detail::TextSpec& textSpec() const;
};

enum class ImageRenderingMode { original, asTemplate };

class Image : public AnyView {
 public:
  explicit Image(std::string name);
  static Image systemName(std::string name);
  // The image `name` of a bundle's resources, with the text accessibility reads for it.
  static Image named(std::string name, const foundation::Bundle& bundle, std::string label = {});
  // A picture read elsewhere, known by a name (its address), its size in points and its pixels (none
  // where only its size is known).
  static Image picture(std::string name, foundation::Size size,
                       std::shared_ptr<const Bitmap> bitmap = nullptr);
  Image resizable() const;
  // The same image, measured at `size` points.
  Image withSize(foundation::Size size) const;
  const detail::ImageSpec& imageSpec() const;
  // Images are equal when they show the same picture the same way.
  friend bool operator==(const Image& a, const Image& b);
  Image renderingMode(ImageRenderingMode mode) const;

 private:
  explicit Image(std::shared_ptr<detail::ImageSpec> spec);
};

// Shapes fill with the foreground style unless told otherwise.
class Shape : public AnyView {
 public:
  explicit Shape(ShapeOutline outline);
  const ShapeOutline& outline() const;
  AnyView fill(const Color& color) const;
  AnyView stroke(const Color& color, double lineWidth = 1) const;
  AnyView stroke(const Color& color, const StrokeStyle& style) const;
};

class Rectangle : public Shape {
 public:
  Rectangle() : Shape(ShapeOutline{}) {}
};
class Circle : public Shape {
 public:
  Circle() : Shape(ShapeOutline{ShapeOutline::Kind::circle}) {}
};
class Ellipse : public Shape {
 public:
  Ellipse() : Shape(ShapeOutline{ShapeOutline::Kind::ellipse}) {}
};
class Capsule : public Shape {
 public:
  Capsule() : Shape(ShapeOutline{ShapeOutline::Kind::capsule}) {}
};
class RoundedRectangle : public Shape {
 public:
  explicit RoundedRectangle(double cornerRadius, CornerStyle style = CornerStyle::circular)
      : Shape(ShapeOutline{ShapeOutline::Kind::roundedRectangle, cornerRadius, style}) {}
};

class Spacer : public AnyView {
 public:
  Spacer();
  Spacer minLength(double length) const;
};

AnyView Divider();
AnyView EmptyView();

class HStack : public AnyView {
 public:
  template <ViewConvertible... Vs>
  requires(!detail::isSelf<HStack, Vs...>) explicit HStack(Vs&&... views)
      : HStack(VerticalAlignment::center, std::nullopt, detail::childrenOf(std::forward<Vs>(views)...)) {}
  template <ViewConvertible... Vs>
  HStack(VerticalAlignment alignment, std::optional<double> spacing, Vs&&... views)
      : HStack(alignment, spacing, detail::childrenOf(std::forward<Vs>(views)...)) {}
  HStack(VerticalAlignment alignment, std::optional<double> spacing, std::vector<detail::Child> children);
  HStack(VerticalAlignment alignment, std::optional<double> spacing, const std::vector<AnyView>& children)
      : HStack(alignment, spacing, detail::childrenOf(children)) {}
};

class VStack : public AnyView {
 public:
  template <ViewConvertible... Vs>
  requires(!detail::isSelf<VStack, Vs...>) explicit VStack(Vs&&... views)
      : VStack(HorizontalAlignment::center, std::nullopt, detail::childrenOf(std::forward<Vs>(views)...)) {}
  template <ViewConvertible... Vs>
  VStack(HorizontalAlignment alignment, std::optional<double> spacing, Vs&&... views)
      : VStack(alignment, spacing, detail::childrenOf(std::forward<Vs>(views)...)) {}
  VStack(HorizontalAlignment alignment, std::optional<double> spacing, std::vector<detail::Child> children);
  VStack(HorizontalAlignment alignment, std::optional<double> spacing, const std::vector<AnyView>& children)
      : VStack(alignment, spacing, detail::childrenOf(children)) {}
};

class ZStack : public AnyView {
 public:
  template <ViewConvertible... Vs>
  requires(!detail::isSelf<ZStack, Vs...>) explicit ZStack(Vs&&... views)
      : ZStack(Alignment::center(), detail::childrenOf(std::forward<Vs>(views)...)) {}
  template <ViewConvertible... Vs>
  ZStack(Alignment alignment, Vs&&... views)
      : ZStack(alignment, detail::childrenOf(std::forward<Vs>(views)...)) {}
  ZStack(Alignment alignment, std::vector<detail::Child> children);
  ZStack(Alignment alignment, const std::vector<AnyView>& children)
      : ZStack(alignment, detail::childrenOf(children)) {}
};

// Views shown as one, without layout of their own.
template <ViewConvertible... Vs>
AnyView Group(Vs&&... views) {
  return AnyView(
      std::make_shared<detail::ContainerSpec>("Group", detail::childrenOf(std::forward<Vs>(views)...)));
}
AnyView Group(const std::vector<AnyView>& views);

// One view per element, each keeping its identity (and state) by its id, not its position.
namespace detail {
// A container of the views `make` gives for the items, each identified by the id `idOf` gives.
template <class Range, class IdOf, class Make>
AnyView identifiedViews(std::string name, const Range& items, const IdOf& idOf, const Make& make) {
  std::vector<Child> children;
  if constexpr (requires { items.size(); }) children.reserve(items.size());
  for (const auto& item : items) {
    children.push_back(Child{AnyView(make(item)).spec(), identityHash(idOf(item))});
  }
  return AnyView(std::make_shared<ContainerSpec>(std::move(name), std::move(children)));
}
}  // namespace detail

template <class Range, class IdOf, class Make>
AnyView ForEach(const Range& items, IdOf idOf, Make make) {
  return detail::identifiedViews("ForEach", items, idOf, make);
}

// A run of consecutive views of an enclosing ForEach, standing in it as one of its views: laid out, drawn
// and dumped exactly as if its views stood in the enclosing ForEach themselves, each keeping its identity
// by its id within the run. A long ForEach whose views mostly stay as they are (a document that grows at
// its end) hands the view graph the very same description for each run that did not change, which the
// graph then keeps with everything below it without visiting its views one by one.
template <class Range, class IdOf, class Make>
AnyView ForEachRun(const Range& items, IdOf idOf, Make make) {
  return detail::identifiedViews("ForEachRun", items, idOf, make);
}

// One of two views; each branch has its own identity, so switching branches drops the other's state.
AnyView conditional(bool condition, AnyView whenTrue, AnyView whenFalse = EmptyView());

AnyView Button(std::function<void()> action, AnyView label);
AnyView Button(std::string titleKey, std::function<void()> action);
AnyView Toggle(Binding<bool> isOn, AnyView label);
AnyView Toggle(std::string titleKey, Binding<bool> isOn);
AnyView TextField(std::string titleKey, Binding<std::string> text);
// A field bound to a whole number through a formatter: the value is stored when the typing is committed
// (Return, or focus leaving) and reads as a number; otherwise the field shows the stored value again.
AnyView TextField(std::string titleKey, Binding<std::int64_t> value, NumberFormatter formatter);
AnyView SecureField(std::string titleKey, Binding<std::string> text);
AnyView TextEditor(Binding<std::string> text);
AnyView Link(std::string titleKey, foundation::URL destination);
AnyView Link(foundation::URL destination, AnyView label);
AnyView Label(std::string titleKey, std::string systemImage);
AnyView LabeledContent(std::string titleKey, AnyView content);

enum class Axis { horizontal, vertical };
AnyView ScrollView(AnyView content, Axis axis = Axis::vertical, bool showsIndicators = true);
AnyView List(const std::vector<AnyView>& rows);
AnyView Section(AnyView header, const std::vector<AnyView>& content);
AnyView Form(const std::vector<AnyView>& content);
// A pull-down menu: its label (the first child) is shown; its items (buttons) are chosen from it.
AnyView Menu(std::string titleKey, const std::vector<AnyView>& items);
AnyView Menu(AnyView label, const std::vector<AnyView>& items);
// One option of a picker: the value it stands for and the view that labels it.
template <class T>
struct PickerOption {
  T value;
  AnyView label;
};

// A picker over `options`, bound to the selected value; the title is a localization key. Its style
// comes from the environment (see pickerStyle).
template <std::equality_comparable T>
AnyView Picker(std::string titleKey, Binding<T> selection, std::vector<PickerOption<T>> options) {
  auto spec = std::make_shared<detail::PickerSpec>();
  spec->title = localizedString(titleKey);
  auto values = std::make_shared<std::vector<T>>();
  for (auto& option : options) {
    values->push_back(option.value);
    spec->optionTitles.push_back(detail::optionTitle(option.label.spec()));
    spec->optionLabels.push_back(option.label.spec());
  }
  spec->selectedIndex = [selection, values]() -> std::optional<std::size_t> {
    auto current = selection.get();
    for (std::size_t i = 0; i < values->size(); ++i) {
      if ((*values)[i] == current) return i;
    }
    return std::nullopt;
  };
  spec->select = [selection, values](std::size_t index) {
    if (index < values->size()) selection.set((*values)[index]);
  };
  return AnyView(std::move(spec));
}
// The same with each option titled by a localization key (Text(key)); options whose titles are names
// to show as they stand (models, keys) are given as PickerOption with a verbatim text.
template <std::equality_comparable T>
AnyView Picker(std::string titleKey, Binding<T> selection, std::vector<std::pair<T, std::string>> options) {
  std::vector<PickerOption<T>> labelled;
  labelled.reserve(options.size());
  for (auto& [value, key] : options) labelled.push_back(PickerOption<T>{value, Text(key)});
  return Picker<T>(std::move(titleKey), std::move(selection), std::move(labelled));
}

// A colour well labelled with a localization key, bound to a colour; a click opens the colour panel,
// whose picked colours are stored, with opacity when `supportsOpacity`.
AnyView ColorPicker(std::string titleKey, Binding<Color> selection, bool supportsOpacity = true);

// A tab of a tab view: its content and the label of its tab.
struct Tab {
  AnyView label;
  AnyView content;
};
// Tabs of which one is shown, the first at first; the tab view keeps the selection as its own state. Only
// the selected tab's content is part of the tree (it appears when chosen, and disappears, with its state,
// when another tab is).
AnyView TabView(const std::vector<Tab>& tabs);
// The same with the selected index kept by the caller; an index past the last tab shows the first.
AnyView TabView(Binding<std::size_t> selection, const std::vector<Tab>& tabs);
AnyView Grid(const std::vector<AnyView>& rows, std::optional<double> horizontalSpacing = std::nullopt,
             std::optional<double> verticalSpacing = std::nullopt);
AnyView GridRow(const std::vector<AnyView>& cells);

}  // namespace ui
