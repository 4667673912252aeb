#include "KeyboardShortcuts/recorder/recorder.h"

#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/ui/views.h"

namespace KeyboardShortcuts {

std::shared_ptr<appkit::View> RecorderRepresentable::makeView(const ui::RepresentableContext&) const {
  return RecorderCocoa::make(name, onChange);
}

void RecorderRepresentable::updateView(appkit::View& view, const ui::RepresentableContext& context) const {
  auto* recorder = dynamic_cast<RecorderCocoa*>(&view);
  if (!recorder) return;
  recorder->setShortcutName(name);
  // A disabled recorder takes no focus, so it cannot record; disabling it while it records ends that.
  recorder->setEnabled(context.environment.isEnabled());
  // The platform views tell no one when they move into a window, so the control checks here: hosting
  // updates a representable once it sits in its final place, and a hosting view made in this turn is
  // usually put into its window later in the same turn, hence the second look from the main queue.
  recorder->noteWindowChange();
  std::weak_ptr<RecorderCocoa> weak = std::static_pointer_cast<RecorderCocoa>(recorder->shared_from_this());
  foundation::RunLoop::main().async([weak] {
    if (auto control = weak.lock()) control->noteWindowChange();
  });
}

Recorder::Recorder(Name name, RecorderChangeAction onChange)
    : name(std::move(name)), onChange(std::move(onChange)) {}

Recorder::Recorder(std::string title, Name name, RecorderChangeAction onChange)
    : name(std::move(name)),
      onChange(std::move(onChange)),
      hasLabel(true),
      label(ui::Text::verbatim(std::move(title))) {}

Recorder::Recorder(Name name, RecorderChangeAction onChange, const std::function<ui::AnyView()>& label)
    : name(std::move(name)),
      onChange(std::move(onChange)),
      hasLabel(true),
      label(label ? label() : ui::AnyView()) {}

ui::AnyView Recorder::body() const {
  // Platform views take the size they are offered; the control's intrinsic size with its high hugging
  // priority in both directions means it keeps that size, so the view gives it exactly that.
  auto control = ui::Representable(RecorderRepresentable(name, onChange))
                     .frame(RecorderCocoa::kMinimumWidth, appkit::SearchField::kIntrinsicHeight);
  if (!hasLabel) return control;
  // Labelled content with a label view of any kind, arranged as the view layer arranges labelled content.
  const std::vector<ui::AnyView> parts{label, control};
  return ui::AnyView(
      std::make_shared<ui::detail::ContainerSpec>("LabeledContent", ui::detail::childrenOf(parts)));
}

}  // namespace KeyboardShortcuts
