#include "Quillo/chat_views/chat_input_editor.h"

#include <algorithm>
#include <utility>

#include "Introspect/app_kit_introspection_view.h"
#include "Quillo/chat_views/chat_view_modifiers.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

// The platform layer's plain windows keep no key state (only styled windows do, and a plain window cannot
// be told apart from one), so the window that holds the focused text view counts as the key window.
bool isKeyWindow(const appkit::Window&) { return true; }

}  // namespace

MultilineEditor::MultilineEditor(ui::Binding<std::string> text, std::string placeholder, int lineLimit,
                                 ui::Font font, std::function<void()> onSubmit,
                                 std::optional<ui::Binding<bool>> isFocused)
    : text_(std::move(text)),
      isFocused_(std::move(isFocused)),
      placeholder_(std::move(placeholder)),
      lineLimit_(lineLimit),
      font_(std::move(font)),
      onSubmit_(std::move(onSubmit)) {}

double multilineEditorHeight(const std::string& text, const ui::Font& font, int lineLimit) {
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  return ui::defaultTextMeasurer()->lineHeight(font) * std::clamp(lines, 1, std::max(lineLimit, 1));
}

std::optional<appkit::Event> MultilineEditor::handleKeyDown(KeyContext& context, const appkit::Event& event) {
  if (!context.isFocused || !context.isFocused()) return event;
  auto window = context.nsWindow.lock();
  if (!window) return event;
  if (!isKeyWindow(*window)) return event;
  if (event.type() != appkit::EventType::keyDown) return event;
  // Any device-independent flag (Caps Lock and the keypad flag included) lets the text view have it.
  if (!(event.modifierFlags() & appkit::ModifierFlags::deviceIndependentFlagsMask).isEmpty()) return event;
  if (event.keyCode() != kReturnKeyCode) return event;
  if (context.onSubmit) context.onSubmit();
  return std::nullopt;
}

ui::AnyView MultilineEditor::body() const {
  using namespace ui;
  // One context per place in the tree; it always holds this evaluation's action and focus.
  auto context = *keyContext_;
  const auto focus = isFocused_ ? *isFocused_ : ownFocus_.binding();
  context->onSubmit = onSubmit_;
  context->isFocused = [focus] { return focus.get(); };

  const std::string text = text_.get();
  const bool isEmpty = text.empty();

  // The text view's window is remembered for the key handler. Focus is the focus state alone: the
  // platform's text views take no part in the window's first-responder chain.
  auto editor = Introspect::customizeNSTextView(
      TextEditor(text_), [context](appkit::TextView& textView) { context->nsWindow = textView.window(); });
  editor = editor.frame(std::nullopt, multilineEditorHeight(text, font_, lineLimit_))
               .foregroundStyle(Color::labelColor());

  auto measuringText = Text::verbatim(isEmpty ? placeholder_ : text)
                           .foregroundStyle(Color::named(systemColorCatalog, "placeholderTextColor"))
                           .opacity(isEmpty ? 1 : 0)
                           .padding(Edges::leading, 5);
  measuringText = allowsHitTesting(lineLimit(measuringText, lineLimit_), false);

  return ZStack(Alignment::topLeading(), editor, measuringText)
      .font(font_)
      .onAppear([context] {
        if (context->localMonitor) appkit::removeMonitor(context->localMonitor);
        std::weak_ptr<KeyContext> weak = context;
        context->localMonitor = appkit::addLocalMonitorForEvents(
            appkit::EventTypeMask::of(appkit::EventType::keyDown),
            [weak](const appkit::Event& event) -> std::optional<appkit::Event> {
              auto held = weak.lock();
              return held ? handleKeyDown(*held, event) : std::optional<appkit::Event>(event);
            });
      })
      .onDisappear([context] {
        if (context->localMonitor) appkit::removeMonitor(context->localMonitor);
      });
}

}  // namespace Quillo
