#include "platform/ui/views.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "platform/foundation/bundle.h"
#include "platform/ui/image_modifiers.h"
#include "platform/ui/state.h"

namespace ui {

namespace detail {

std::string describeColorValue(const Color& color);
std::string describeShapeValue(const ShapeOutline& shape);

std::vector<Child> childrenOf(const std::vector<AnyView>& views) {
  std::vector<Child> result;
  result.reserve(views.size());
  for (const auto& view : views) result.push_back(Child{view.spec(), std::nullopt});
  return result;
}

std::string TextSpec::string() const {
  std::string result;
  for (const auto& segment : segments_) result += segment.text.characters();
  return result;
}

AttributedString TextSpec::attributedString() const {
  AttributedString result;
  for (const auto& segment : segments_) result.append(segment.text);
  return result;
}

bool TextSpec::hasImages() const {
  return std::any_of(segments_.begin(), segments_.end(), [](const Segment& s) { return s.image != nullptr; });
}

std::string TextSpec::describe() const {
  if (!hasImages()) return fmt::format("Text \"{}\"", string());
  // Pictures show where they stand in the line: Text "see " + Image("a.png") + " here".
  std::vector<std::string> pieces;
  bool isAfterCharacters = false;  // whether the last piece is a quoted run that goes on
  for (const auto& segment : segments_) {
    if (segment.image) {
      if (isAfterCharacters) pieces.back() += '"';
      pieces.push_back(segment.image->describe());
      isAfterCharacters = false;
    } else if (!segment.text.isEmpty()) {
      if (!isAfterCharacters) pieces.emplace_back("\"");
      pieces.back() += segment.text.characters();
      isAfterCharacters = true;
    }
  }
  if (isAfterCharacters) pieces.back() += '"';
  return "Text " + fmt::format("{}", fmt::join(pieces, " + "));
}

std::string ImageSpec::describe() const {
  const char* kind = source == Source::systemSymbol ? "systemName: " : "";
  std::string text = fmt::format("Image({}\"{}\")", kind, name);
  if (bundleDirectory) text += fmt::format(" bundle \"{}\"", bundleDirectory->filename().string());
  if (size) text += fmt::format(" {}x{}", size->width, size->height);
  if (!label.empty()) text += fmt::format(" label \"{}\"", label);
  if (isResizable) text += " resizable";
  return isTemplate ? text + " template" : text;
}

std::string ShapeSpec::typeName() const {
  auto text = describeShapeValue(outline);
  return text.substr(0, text.find('('));
}

std::string ShapeSpec::describe() const {
  std::string text = describeShapeValue(outline);
  if (fill) text += " fill(" + describeColorValue(*fill) + ")";
  if (stroke) {
    text += fmt::format(" stroke({}, lineWidth: {}", describeColorValue(*stroke), lineWidth);
    if (!strokeStyle.dash.empty()) {
      text += fmt::format(", dash: [{}], dashPhase: {}", fmt::join(strokeStyle.dash, ", "),
                          strokeStyle.dashPhase);
    }
    text += ")";
  }
  return text;
}

std::string ColorSpec::describe() const { return "Color " + describeColorValue(color); }

std::string SpacerSpec::describe() const {
  return minLength ? fmt::format("Spacer(minLength: {})", *minLength) : "Spacer";
}

std::string StackSpec::typeName() const {
  switch (axis) {
    case Axis::horizontal:
      return "HStack";
    case Axis::vertical:
      return "VStack";
    case Axis::depth:
      return "ZStack";
  }
  return "Stack";
}

std::string StackSpec::describe() const {
  static constexpr const char* horizontal[] = {"leading", "center", "trailing"};
  static constexpr const char* vertical[] = {"top", "center", "bottom", "firstTextBaseline",
                                             "lastTextBaseline"};
  std::string alignmentText;
  switch (axis) {
    case Axis::horizontal:
      alignmentText = vertical[static_cast<int>(alignment.vertical)];
      break;
    case Axis::vertical:
      alignmentText = horizontal[static_cast<int>(alignment.horizontal)];
      break;
    case Axis::depth:
      alignmentText = fmt::format("{} {}", horizontal[static_cast<int>(alignment.horizontal)],
                                  vertical[static_cast<int>(alignment.vertical)]);
      break;
  }
  return fmt::format("{}(alignment: {}, spacing: {})", typeName(), alignmentText,
                     spacing ? fmt::format("{}", *spacing) : std::string("default"));
}

std::string ToggleSpec::describe() const { return fmt::format("Toggle({})", isOn.get() ? "on" : "off"); }

std::string TextInputSpec::typeName() const {
  switch (kind) {
    case Kind::textField:
      return "TextField";
    case Kind::secureField:
      return "SecureField";
    case Kind::textEditor:
      return "TextEditor";
  }
  return "TextField";
}

std::string TextInputSpec::describe() const {
  // A secure field never shows what was typed, not even in a dump.
  auto shown = kind == Kind::secureField ? std::string(text.get().size(), '*') : text.get();
  if (kind == Kind::textEditor) return fmt::format("TextEditor \"{}\"", shown);
  return fmt::format("{}(\"{}\") \"{}\"", typeName(), title, shown);
}

std::string PickerSpec::describe() const {
  auto index = selectedIndex();
  return fmt::format("Picker(\"{}\") selected \"{}\"", title,
                     index && *index < optionTitles.size() ? optionTitles[*index] : std::string());
}

std::vector<Child> PickerSpec::children() const {
  std::vector<Child> result;
  result.reserve(optionLabels.size());
  for (const auto& label : optionLabels) result.push_back(Child{label, std::nullopt});
  return result;
}

std::string optionTitle(const SpecPointer& label) {
  for (const ViewSpec* spec = label.get(); spec;) {
    if (auto* text = dynamic_cast<const TextSpec*>(spec)) return text->string();
    if (auto* image = dynamic_cast<const ImageSpec*>(spec)) return image->name;
    auto* modified = dynamic_cast<const ModifiedSpec*>(spec);
    if (!modified) break;
    spec = modified->content().get();
  }
  return {};
}

std::string ColorPickerSpec::describe() const {
  return fmt::format("ColorPicker({}){}", describeColorValue(selection.get()),
                     supportsOpacity ? "" : " opaque");
}

std::string TabViewSpec::describe() const { return fmt::format("TabView selected {}", selectedIndex); }

std::string LinkSpec::describe() const { return fmt::format("Link({})", destination.absoluteString()); }

}  // namespace detail

std::string localizedString(const std::string& key) {
  try {
    if (auto bundle = foundation::Bundle::main()) return bundle->localizedString(key);
  } catch (const std::exception&) {
    // An unreadable string table shows the key, as a missing entry does.
  }
  return key;
}

std::string formatLocalized(const std::string& format, const std::vector<std::string>& arguments) {
  std::string result;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      result += format[i];
      continue;
    }
    if (format[i + 1] == '%') {
      result += '%';
      ++i;
      continue;
    }
    // Optional position ("1$"), then length modifiers, then the conversion character.
    std::size_t j = i + 1;
    std::optional<std::size_t> position;
    std::size_t digitsEnd = j;
    while (digitsEnd < format.size() && std::isdigit(static_cast<unsigned char>(format[digitsEnd])))
      ++digitsEnd;
    if (digitsEnd > j && digitsEnd - j <= 3 && digitsEnd < format.size() && format[digitsEnd] == '$') {
      position = std::stoul(format.substr(j, digitsEnd - j));
      j = digitsEnd + 1;
    }
    while (j < format.size() &&
           (format[j] == 'l' || format[j] == 'h' || format[j] == 'q' || format[j] == 'z'))
      ++j;
    static constexpr std::string_view conversions = "@dDiuUxXfFeEgGsc";
    if (j >= format.size() || conversions.find(format[j]) == std::string_view::npos) {
      result += format[i];
      continue;
    }
    const std::size_t index = position ? *position - 1 : next++;
    if (position && *position == 0) {
      result += format.substr(i, j - i + 1);
    } else if (index < arguments.size()) {
      result += arguments[index];
    } else {
      result += format.substr(i, j - i + 1);
    }
    i = j;
  }
  return result;
}

Text Text::localized(const std::string& key, const std::vector<std::string>& arguments) {
  return Text(std::vector<detail::TextSpec::Segment>{
      {AttributedString(formatLocalized(localizedString(key), arguments)), true, nullptr}});
}

Text::Text(std::string key)
    : Text(std::vector<detail::TextSpec::Segment>{{AttributedString(localizedString(key)), true, nullptr}}) {}

Text::Text(AttributedString attributed)
    : Text(std::vector<detail::TextSpec::Segment>{{std::move(attributed), false, nullptr}}) {}

Text::Text(const Image& image)
    : Text(std::vector<detail::TextSpec::Segment>{
          {AttributedString(), false, std::make_shared<const detail::ImageSpec>(image.imageSpec())}}) {}

Text::Text(std::vector<detail::TextSpec::Segment> segments)
    : AnyView(std::make_shared<detail::TextSpec>(std::move(segments))) {}

Text Text::verbatim(std::string text) {
  return Text(std::vector<detail::TextSpec::Segment>{{AttributedString(std::move(text)), false, nullptr}});
}

const detail::TextSpec& Text::textSpec() const { return static_cast<const detail::TextSpec&>(*spec()); }

Text operator+(const Text& a, const Text& b) {
  auto segments = a.textSpec().segments();
  const auto& more = b.textSpec().segments();
  segments.insert(segments.end(), more.begin(), more.end());
  return Text(std::move(segments));
}

Image::Image(std::shared_ptr<detail::ImageSpec> spec) : AnyView(std::move(spec)) {}

Image::Image(std::string name)
    : AnyView([&] {
        auto spec = std::make_shared<detail::ImageSpec>();
        spec->name = std::move(name);
        return spec;
      }()) {}

Image Image::systemName(std::string name) {
  auto spec = std::make_shared<detail::ImageSpec>();
  spec->source = detail::ImageSpec::Source::systemSymbol;
  spec->name = std::move(name);
  return Image(std::move(spec));
}

Image Image::named(std::string name, const foundation::Bundle& bundle, std::string label) {
  auto spec = std::make_shared<detail::ImageSpec>();
  spec->name = std::move(name);
  spec->bundleDirectory = bundle.resourceDirectory();
  spec->label = std::move(label);
  return Image(std::move(spec));
}

Image Image::picture(std::string name, foundation::Size size, std::shared_ptr<const Bitmap> bitmap) {
  auto spec = std::make_shared<detail::ImageSpec>();
  spec->bitmap = std::move(bitmap);
  spec->source = detail::ImageSpec::Source::bitmap;
  spec->name = std::move(name);
  spec->size = size;
  return Image(std::move(spec));
}

const detail::ImageSpec& Image::imageSpec() const { return static_cast<const detail::ImageSpec&>(*spec()); }

bool operator==(const Image& a, const Image& b) {
  const auto &x = a.imageSpec(), &y = b.imageSpec();
  return x.source == y.source && x.name == y.name && x.isResizable == y.isResizable &&
         x.bundleDirectory == y.bundleDirectory && x.size == y.size && x.label == y.label &&
         x.isTemplate == y.isTemplate && x.bitmap == y.bitmap;
}

Image Image::renderingMode(ImageRenderingMode mode) const {
  auto copy = std::make_shared<detail::ImageSpec>(static_cast<const detail::ImageSpec&>(*spec()));
  copy->isTemplate = mode == ImageRenderingMode::asTemplate;
  return Image(std::move(copy));
}

Image Image::resizable() const {
  auto copy = std::make_shared<detail::ImageSpec>(imageSpec());
  copy->isResizable = true;
  return Image(std::move(copy));
}

Image Image::withSize(foundation::Size size) const {
  auto copy = std::make_shared<detail::ImageSpec>(imageSpec());
  copy->size = size;
  return Image(std::move(copy));
}

Shape::Shape(ShapeOutline outline)
    : AnyView([&] {
        auto spec = std::make_shared<detail::ShapeSpec>();
        spec->outline = outline;
        return spec;
      }()) {}

const ShapeOutline& Shape::outline() const { return static_cast<const detail::ShapeSpec&>(*spec()).outline; }

AnyView Shape::fill(const Color& color) const {
  auto copy = std::make_shared<detail::ShapeSpec>(static_cast<const detail::ShapeSpec&>(*spec()));
  copy->fill = color;
  return AnyView(std::move(copy));
}

AnyView Shape::stroke(const Color& color, double lineWidth) const {
  StrokeStyle style;
  style.lineWidth = lineWidth;
  return stroke(color, style);
}

AnyView Shape::stroke(const Color& color, const StrokeStyle& style) const {
  auto copy = std::make_shared<detail::ShapeSpec>(static_cast<const detail::ShapeSpec&>(*spec()));
  copy->stroke = color;
  copy->lineWidth = style.lineWidth;
  copy->strokeStyle = style;
  return AnyView(std::move(copy));
}

Spacer::Spacer() : AnyView(std::make_shared<detail::SpacerSpec>()) {}

Spacer Spacer::minLength(double length) const {
  auto copy = std::make_shared<detail::SpacerSpec>(static_cast<const detail::SpacerSpec&>(*spec()));
  copy->minLength = length;
  Spacer result;
  static_cast<AnyView&>(result) = AnyView(std::move(copy));
  return result;
}

AnyView Divider() {
  return AnyView(std::make_shared<detail::ContainerSpec>("Divider", std::vector<detail::Child>{}));
}

AnyView EmptyView() {
  static const auto empty =
      std::make_shared<detail::ContainerSpec>("EmptyView", std::vector<detail::Child>{});
  return AnyView(empty);
}

namespace {
AnyView stack(detail::StackSpec::Axis axis, Alignment alignment, std::optional<double> spacing,
              std::vector<detail::Child> children) {
  auto spec = std::make_shared<detail::StackSpec>();
  spec->axis = axis;
  spec->alignment = alignment;
  spec->spacing = spacing;
  spec->items = std::move(children);
  return AnyView(std::move(spec));
}

AnyView container(std::string name, const std::vector<AnyView>& views, std::string description = {}) {
  return AnyView(std::make_shared<detail::ContainerSpec>(std::move(name), detail::childrenOf(views),
                                                         std::move(description)));
}
}  // namespace

HStack::HStack(VerticalAlignment alignment, std::optional<double> spacing,
               std::vector<detail::Child> children)
    : AnyView(stack(detail::StackSpec::Axis::horizontal, {HorizontalAlignment::center, alignment}, spacing,
                    std::move(children))) {}

VStack::VStack(HorizontalAlignment alignment, std::optional<double> spacing,
               std::vector<detail::Child> children)
    : AnyView(stack(detail::StackSpec::Axis::vertical, {alignment, VerticalAlignment::center}, spacing,
                    std::move(children))) {}

ZStack::ZStack(Alignment alignment, std::vector<detail::Child> children)
    : AnyView(stack(detail::StackSpec::Axis::depth, alignment, std::nullopt, std::move(children))) {}

AnyView Group(const std::vector<AnyView>& views) { return container("Group", views); }

AnyView conditional(bool condition, AnyView whenTrue, AnyView whenFalse) {
  std::vector<detail::Child> children{condition ? detail::Child{whenTrue.spec(), 0}
                                                : detail::Child{whenFalse.spec(), 1}};
  return AnyView(std::make_shared<detail::ContainerSpec>("Conditional", std::move(children)));
}

AnyView Button(std::function<void()> action, AnyView label) {
  auto spec = std::make_shared<detail::ButtonSpec>();
  spec->action = std::move(action);
  spec->label = label.spec();
  return AnyView(std::move(spec));
}

AnyView Button(std::string titleKey, std::function<void()> action) {
  return Button(std::move(action), Text(std::move(titleKey)));
}

AnyView Toggle(Binding<bool> isOn, AnyView label) {
  return AnyView(std::make_shared<detail::ToggleSpec>(std::move(isOn), label.spec()));
}

AnyView Toggle(std::string titleKey, Binding<bool> isOn) {
  return Toggle(std::move(isOn), Text(std::move(titleKey)));
}

AnyView TextField(std::string titleKey, Binding<std::string> text) {
  return AnyView(std::make_shared<detail::TextInputSpec>(detail::TextInputSpec::Kind::textField,
                                                         std::move(titleKey), std::move(text)));
}

AnyView TextField(std::string titleKey, Binding<std::int64_t> value, NumberFormatter formatter) {
  auto commit = [value, formatter](const std::string& typed) {
    if (auto number = formatter.number(typed)) value.set(*number);
    return formatter.string(value.get());
  };
  Binding<std::string> text([value, formatter] { return formatter.string(value.get()); },
                            [commit](std::string typed) { commit(typed); });
  auto spec = std::make_shared<detail::TextInputSpec>(detail::TextInputSpec::Kind::textField,
                                                      std::move(titleKey), std::move(text));
  spec->commit = commit;
  return AnyView(std::move(spec));
}

AnyView ColorPicker(std::string titleKey, Binding<Color> selection, bool supportsOpacity) {
  return AnyView(std::make_shared<detail::ColorPickerSpec>(
      std::move(selection), Text(std::move(titleKey)).spec(), supportsOpacity));
}

AnyView SecureField(std::string titleKey, Binding<std::string> text) {
  return AnyView(std::make_shared<detail::TextInputSpec>(detail::TextInputSpec::Kind::secureField,
                                                         std::move(titleKey), std::move(text)));
}

AnyView TextEditor(Binding<std::string> text) {
  return AnyView(
      std::make_shared<detail::TextInputSpec>(detail::TextInputSpec::Kind::textEditor, "", std::move(text)));
}

AnyView Link(foundation::URL destination, AnyView label) {
  return AnyView(std::make_shared<detail::LinkSpec>(std::move(destination), label.spec()));
}

AnyView Link(std::string titleKey, foundation::URL destination) {
  return Link(std::move(destination), Text(std::move(titleKey)));
}

AnyView Label(std::string titleKey, std::string systemImage) {
  return container("Label", {Image::systemName(std::move(systemImage)), Text(std::move(titleKey))});
}

AnyView LabeledContent(std::string titleKey, AnyView content) {
  return container("LabeledContent", {Text(std::move(titleKey)), std::move(content)});
}

AnyView ScrollView(AnyView content, Axis axis, bool showsIndicators) {
  return container("ScrollView", {std::move(content)},
                   fmt::format("({}{})", axis == Axis::vertical ? "vertical" : "horizontal",
                               showsIndicators ? "" : ", no indicators"));
}

AnyView List(const std::vector<AnyView>& rows) { return container("List", rows); }

AnyView Section(AnyView header, const std::vector<AnyView>& content) {
  std::vector<AnyView> all{std::move(header)};
  all.insert(all.end(), content.begin(), content.end());
  return container("Section", all);
}

AnyView Form(const std::vector<AnyView>& content) { return container("Form", content); }

AnyView Menu(std::string titleKey, const std::vector<AnyView>& items) {
  return Menu(Text(std::move(titleKey)), items);
}

AnyView Menu(AnyView label, const std::vector<AnyView>& items) {
  std::vector<AnyView> all{std::move(label)};
  all.insert(all.end(), items.begin(), items.end());
  return container("Menu", all);
}

namespace {

// The font of the titles in a tab view's row of tabs.
Font tabLabelFont() { return Font::system(11); }

AnyView tabView(const std::vector<Tab>& tabs, const Binding<std::size_t>& selection) {
  auto spec = std::make_shared<detail::TabViewSpec>();
  const std::size_t count = tabs.size();
  const std::size_t selected = selection.get();
  spec->selectedIndex = selected < count ? selected : 0;
  for (std::size_t i = 0; i < count; ++i) {
    const auto& tab = tabs[i];
    // The row of tabs sets its titles small, with their icons large above them, so that many fit.
    auto label = imageScale(tab.label.font(tabLabelFont()), ImageScale::large);
    auto item =
        i == spec->selectedIndex ? container("TabItem", {label, tab.content}) : container("TabItem", {label});
    spec->tabs.push_back(detail::Child{item.spec(), std::nullopt});
  }
  spec->select = [selection, count](std::size_t index) {
    if (index < count) selection.set(index);
  };
  return AnyView(std::move(spec));
}

// A tab view keeping its selection as view state at its place.
class TabViewWithOwnSelection final : public View {
 public:
  explicit TabViewWithOwnSelection(std::vector<Tab> tabs) : tabs_(std::move(tabs)) {}
  AnyView body() const override { return tabView(tabs_, selection_.binding()); }
  static std::string viewTypeName() { return "TabViewSelection"; }

 private:
  std::vector<Tab> tabs_;
  State<std::size_t> selection_{0};
};

}  // namespace

AnyView TabView(const std::vector<Tab>& tabs) { return AnyView(TabViewWithOwnSelection(tabs)); }

AnyView TabView(Binding<std::size_t> selection, const std::vector<Tab>& tabs) {
  return tabView(tabs, selection);
}

AnyView Grid(const std::vector<AnyView>& rows, std::optional<double> horizontalSpacing,
             std::optional<double> verticalSpacing) {
  auto text = [](const std::optional<double>& value) {
    return value ? fmt::format("{}", *value) : std::string("default");
  };
  return container("Grid", rows,
                   fmt::format("(horizontalSpacing: {}, verticalSpacing: {})", text(horizontalSpacing),
                               text(verticalSpacing)));
}

AnyView GridRow(const std::vector<AnyView>& cells) { return container("GridRow", cells); }

}  // namespace ui
