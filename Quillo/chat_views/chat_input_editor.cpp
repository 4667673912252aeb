#include "Quillo/chat_views/chat_input_editor.h"

#include <algorithm>
#include <utility>

#include "Introspect/app_kit_introspection_view.h"
#include "Quillo/chat_views/chat_view_modifiers.h"
#include "platform/appkit/responder.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace Quillo {

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
  // The focus state follows the window's focus only while the editor is in a window, so the window is
  // asked as well.
  auto textView = context.textView.lock();
  if (!textView || appkit::firstResponder(*window) != textView) return event;
  if (!window->isKeyWindow()) return event;
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

  // The text view and its window are remembered for the key handler.
  auto editor = Introspect::customizeNSTextView(TextEditor(text_), [context](appkit::TextView& textView) {
    context->textView = std::static_pointer_cast<appkit::TextView>(textView.shared_from_this());
    context->nsWindow = textView.window();
  });
  editor = editor.focused(focus)
               .frame(std::nullopt, multilineEditorHeight(text, font_, lineLimit_))
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
