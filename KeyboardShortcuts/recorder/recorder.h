// The shortcut recorder as a view: the recorder control for a name, alone or beside a label.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "KeyboardShortcuts/name.h"
#include "KeyboardShortcuts/recorder/recorder_cocoa.h"
#include "platform/ui/representable.h"
#include "platform/ui/view.h"

namespace KeyboardShortcuts {

// Makes the recorder control for the name when the view is first shown; later evaluations point the same
// control at the current name (the change action stays the first one).
class RecorderRepresentable final : public ui::ViewRepresentable {
 public:
  RecorderRepresentable(Name name, RecorderChangeAction onChange)
      : name(std::move(name)), onChange(std::move(onChange)) {}

  std::shared_ptr<appkit::View> makeView(const ui::RepresentableContext& context) const override;
  void updateView(appkit::View& view, const ui::RepresentableContext& context) const override;

  Name name;
  RecorderChangeAction onChange;
};

class Recorder final : public ui::View {
 public:
  // The control alone.
  explicit Recorder(Name name, RecorderChangeAction onChange = {});
  // The control labelled with the title, shown as given (not looked up as a key).
  Recorder(std::string title, Name name, RecorderChangeAction onChange = {});
  // The control labelled with any view.
  Recorder(Name name, RecorderChangeAction onChange, const std::function<ui::AnyView()>& label);

  // Without a label: the control. With one: labelled content, the label first, then the control.
  ui::AnyView body() const override;

  Name name;
  RecorderChangeAction onChange;
  bool hasLabel = false;
  ui::AnyView label;
};

}  // namespace KeyboardShortcuts
