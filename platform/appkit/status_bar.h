// The status bar: items the application puts into the menu bar, each with a button showing an image and
// a tooltip that sends an action when clicked.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/controls.h"
#include "platform/appkit/image.h"
#include "platform/appkit/styled_window.h"

namespace appkit {

// The button of a status item. Main thread only.
class StatusBarButton final : public Control {
 public:
  // Where the image stands beside the title, with the platform's raw values.
  enum class ImagePosition : std::uint64_t {
    noImage = 0,
    imageOnly = 1,
    imageLeft = 2,
    imageRight = 3,
    imageBelow = 4,
    imageAbove = 5,
    imageOverlaps = 6,
    imageLeading = 7,
    imageTrailing = 8,
  };

  using Control::Control;

  const std::optional<Image>& image() const { return image_; }
  void setImage(std::optional<Image> image);
  const std::optional<std::string>& toolTip() const { return toolTip_; }
  void setToolTip(std::optional<std::string> toolTip);
  ImagePosition imagePosition() const { return imagePosition_; }
  void setImagePosition(ImagePosition position) { imagePosition_ = position; }

  // The action message a click sends; with no target it goes to the application (see
  // Application::sendAction). Empty: a click sends nothing.
  const std::string& action() const { return action_; }
  void setAction(std::string action) { action_ = std::move(action); }

  // Clicks the button: a disabled button does nothing; otherwise the action is sent.
  void performClick();

 private:
  friend class StatusItem;
  class StatusItem* item_ = nullptr;  // the item showing this button; it outlives the button's use
  std::optional<Image> image_;
  std::optional<std::string> toolTip_;
  ImagePosition imagePosition_ = ImagePosition::noImage;
  std::string action_;
};

// The window of the menu bar that a status item's button is drawn in.
class StatusBarWindow final : public StyledWindow {
 public:
  explicit StatusBarWindow(foundation::Rect frame);
};

// One item of the status bar. Main thread only. Made by StatusBar::statusItem; it stays in the menu
// bar until it is removed or destroyed.
class StatusItem : public std::enable_shared_from_this<StatusItem> {
 public:
  // Lengths with the platform's meaning: as wide as the button's content, or as wide as the bar is high.
  static constexpr double variableLength = -1;
  static constexpr double squareLength = -2;

  ~StatusItem();
  StatusItem(const StatusItem&) = delete;
  StatusItem& operator=(const StatusItem&) = delete;

  double length() const { return length_; }
  void setLength(double length);
  // Always present while the item is in the bar.
  const std::shared_ptr<StatusBarButton>& button() const { return button_; }
  // The desktop's number for the item; 0 when there is no desktop.
  std::uint64_t itemNumber() const { return itemNumber_; }

  struct Token {};
  StatusItem(Token, double length);

 private:
  friend class StatusBar;
  friend class StatusBarButton;
  void attach();
  // Tells the desktop what the button shows and moves the button's window to the item's place.
  void update();

  double length_;
  std::shared_ptr<StatusBarButton> button_;
  std::shared_ptr<StatusBarWindow> window_;
  std::uint64_t itemNumber_ = 0;
};

class StatusBar {
 public:
  // The menu bar's status bar.
  static StatusBar& system();
  // The height of the bar.
  double thickness() const;
  // A new item at the left of the application's other items.
  std::shared_ptr<StatusItem> statusItem(double length);

 private:
  StatusBar() = default;
};

}  // namespace appkit
