// The multi-line editor of the chat input: grows with its text up to a line limit, shows a placeholder
// while empty, and sends with plain Return while every other key combination reaches the text view.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/controls.h"
#include "platform/appkit/event.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/window.h"
#include "platform/ui/binding.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/font.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

// The key code of Return (the keypad's Enter is 76 and never sends).
inline constexpr std::uint16_t kReturnKeyCode = 36;

class MultilineEditor final : public ui::View {
 public:
  // `isFocused` is the owner's focus state for the editor (the owner moves focus in by setting it);
  // without one the editor keeps its own, which starts unfocused.
  MultilineEditor(ui::Binding<std::string> text, std::string placeholder, int lineLimit, ui::Font font,
                  std::function<void()> onSubmit, std::optional<ui::Binding<bool>> isFocused = std::nullopt);

  ui::AnyView body() const override;

  // What the key monitor shares with the view: the latest submit action and focus state, and the text
  // view with its window once the customisation has found them. Main thread only.
  struct KeyContext {
    std::function<void()> onSubmit;
    std::function<bool()> isFocused;
    std::weak_ptr<appkit::TextView> textView;
    std::weak_ptr<appkit::Window> nsWindow;
    std::shared_ptr<appkit::LocalEventMonitorObject> localMonitor;
  };

  // Decides one key-down event for the editor: runs the submit action and swallows the event for plain
  // Return while the editor has focus (its focus state says so and its text view is its window's first
  // responder) in the key window; passes every other event on unchanged, so a Return meant for another
  // field, or for another window's editor, goes there.
  static std::optional<appkit::Event> handleKeyDown(KeyContext& context, const appkit::Event& event);

 private:
  ui::Binding<std::string> text_;
  ui::FocusState<bool> ownFocus_;
  std::optional<ui::Binding<bool>> isFocused_;
  std::string placeholder_;
  int lineLimit_;
  ui::Font font_;
  std::function<void()> onSubmit_;
  // Kept in view state without re-evaluating the view when it changes (the monitor and the window are
  // not shown).
  ui::State<std::shared_ptr<KeyContext>> keyContext_{std::make_shared<KeyContext>()};
};

// The editor's height for a text: one line of the font per line of the text (at least one, at most
// `lineLimit`), measured with the text measurer of the layout.
double multilineEditorHeight(const std::string& text, const ui::Font& font, int lineLimit);

}  // namespace Quillo
