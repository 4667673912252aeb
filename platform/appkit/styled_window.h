// Windows with the platform's window chrome as data: style mask, backing, level, collection behaviour,
// title bar appearance, whether they may become key or main, ordering on and off the screen, the screen
// they are on and whether the user can see them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/color.h"
#include "platform/appkit/screen.h"
#include "platform/appkit/window.h"
#include "platform/foundation/geometry.h"

namespace appkit {

// Always owned through a shared pointer, like every window. Main thread only.
//
// A window shown for the first time joins the application's window list, which keeps it alive until it
// is closed. While it exists the desktop's window server knows it (title, frame, level, on screen or
// not) and reports when the user starts or stops seeing it and where the pointer is pressed.
class StyledWindow : public Window {
 public:
  // Style mask bits, with the platform's raw values.
  struct StyleMask {
    static constexpr std::uint64_t borderless = 0;
    static constexpr std::uint64_t titled = 1 << 0;
    static constexpr std::uint64_t closable = 1 << 1;
    static constexpr std::uint64_t miniaturizable = 1 << 2;
    static constexpr std::uint64_t resizable = 1 << 3;
    static constexpr std::uint64_t utilityWindow = 1 << 4;
    static constexpr std::uint64_t nonactivatingPanel = 1 << 7;
    static constexpr std::uint64_t fullSizeContentView = 1 << 15;
  };
  enum class BackingStoreType : std::uint64_t { retained = 0, nonretained = 1, buffered = 2 };
  enum class TitleVisibility : std::int64_t { visible = 0, hidden = 1 };
  // Window levels, with the platform's raw values.
  struct Level {
    static constexpr int normal = 0;
    static constexpr int floating = 3;
    static constexpr int modalPanel = 8;
    static constexpr int mainMenu = 24;
    static constexpr int statusBar = 25;
    static constexpr int popUpMenu = 101;
    static constexpr int screenSaver = 1000;
  };
  // Collection behaviour bits, with the platform's raw values.
  struct CollectionBehavior {
    static constexpr std::uint64_t none = 0;
    static constexpr std::uint64_t canJoinAllSpaces = 1 << 0;
    static constexpr std::uint64_t moveToActiveSpace = 1 << 1;
    static constexpr std::uint64_t managed = 1 << 2;
    static constexpr std::uint64_t transient = 1 << 3;
    static constexpr std::uint64_t stationary = 1 << 4;
    static constexpr std::uint64_t fullScreenPrimary = 1 << 7;
    static constexpr std::uint64_t fullScreenAuxiliary = 1 << 8;
  };

  // Occlusion state bits, with the platform's raw values. A window the window server knows carries the
  // bit `tracked`; `visible` is set while some of it can be seen.
  struct OcclusionState {
    static constexpr std::uint64_t visible = 1 << 1;
    static constexpr std::uint64_t tracked = 1 << 13;
  };
  // Posted on the default notification centre with the window as object.
  static constexpr const char* didChangeOcclusionStateNotification =
      "NSWindowDidChangeOcclusionStateNotification";
  static constexpr const char* willCloseNotification = "NSWindowWillCloseNotification";

  // A window whose content has the rectangle's size, placed at the rectangle's origin.
  StyledWindow(foundation::Rect contentRect, std::uint64_t styleMask, BackingStoreType backing, bool defer);
  ~StyledWindow() override;

  void setFrame(foundation::Rect frame) override;
  void setTitle(std::string title) override;

  std::uint64_t styleMask() const { return styleMask_; }
  virtual void setStyleMask(std::uint64_t styleMask) { styleMask_ = styleMask; }
  BackingStoreType backingType() const { return backing_; }
  bool isDeferred() const { return isDeferred_; }

  bool titlebarAppearsTransparent() const { return titlebarAppearsTransparent_; }
  void setTitlebarAppearsTransparent(bool isTransparent) { titlebarAppearsTransparent_ = isTransparent; }
  TitleVisibility titleVisibility() const { return titleVisibility_; }
  void setTitleVisibility(TitleVisibility visibility) { titleVisibility_ = visibility; }
  int level() const { return level_; }
  void setLevel(int level);
  bool isMovable() const { return isMovable_; }
  void setMovable(bool isMovable) { isMovable_ = isMovable; }
  bool isMovableByWindowBackground() const { return isMovableByWindowBackground_; }
  void setMovableByWindowBackground(bool isMovable) { isMovableByWindowBackground_ = isMovable; }
  std::uint64_t collectionBehavior() const { return collectionBehavior_; }
  void setCollectionBehavior(std::uint64_t behavior) { collectionBehavior_ = behavior; }
  bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
  void setIgnoresMouseEvents(bool ignores) { ignoresMouseEvents_ = ignores; }

  // Whether the window may take keyboard focus, and become the main window: windows with a title bar or
  // a resize bar may. Each answer stands on its own: a window allowed to take the keyboard does not
  // become main for it.
  bool canBecomeKeyWindow() const override;
  bool canBecomeMainWindow() const override;

  // The frame the window takes on the screen when ordered in: a titled window is moved down until its
  // top lies within the screen's visible frame; other windows keep the frame.
  virtual foundation::Rect constrainFrameRect(foundation::Rect frameRect,
                                              const std::optional<Screen>& screen) const;

  // Moves the window's bottom-left corner (window-system coordinates), keeping its size.
  void setFrameOrigin(foundation::Point origin);
  // Moves the window's top-left corner there, keeping its size.
  void setFrameTopLeftPoint(foundation::Point point);
  // Centres the window on the main screen's visible frame.
  void center();

  // The screen holding the largest part of the window, or nothing when it lies on no screen.
  std::optional<Screen> screen() const;
  // The OcclusionState bits; 0 while the window server does not know the window (never shown, or no
  // desktop).
  std::uint64_t occlusionState() const;
  // The window server's number for the window; 0 until it is first shown.
  std::uint64_t windowNumber() const { return windowNumber_; }

  // Shows the window in front of the others without giving it keyboard focus; its frame is constrained
  // to the main screen first.
  void orderFront();
  // Shows the window and makes it key when it may become key. The first time it becomes key this way
  // with nothing focused, the first view of its key-view loop takes the keyboard.
  void makeKeyAndOrderFront();
  // Takes the window off the screen.
  void orderOut();
  // Takes the window off the screen for good: it is no longer visible, key or main, and it leaves the
  // application's window list. Closing posts willCloseNotification and tells the delegate first.
  virtual void close();

  bool isVisible() const { return isVisible_; }
  bool isClosed() const { return isClosed_; }

  // Drawing of the window itself: its background, whether it is opaque, its shadow, its opacity.
  Color backgroundColor() const { return backgroundColor_; }
  void setBackgroundColor(Color color);
  bool isOpaque() const { return isOpaque_; }
  void setOpaque(bool isOpaque);
  bool hasShadow() const { return hasShadow_; }
  void setHasShadow(bool hasShadow) { hasShadow_ = hasShadow; }
  double alphaValue() const { return alphaValue_; }
  void setAlphaValue(double alpha) { alphaValue_ = alpha; }
  // A window that is not opaque and has a clear background lets a press of the pointer through to the
  // window beneath wherever its views draw nothing.
  bool letsClicksThrough() const { return !isOpaque_ && backgroundColor_.isClear(); }
  // Where the window takes presses, in its own coordinates (origin at the top-left of its frame, y growing
  // downwards): nothing when it takes them everywhere; otherwise the rectangles its content view draws.
  std::optional<std::vector<foundation::Rect>> clickRegion() const;
  // Whether a press at a global point (on the window's frame) is the window's.
  bool takesClickAt(foundation::Point location) const;
  // Whether showing the window makes this program the active application (a non-activating panel never
  // does).
  bool activatesApplication() const { return (styleMask_ & StyleMask::nonactivatingPanel) == 0; }

 protected:
  // The pointer was pressed on the screen: on this window (it was the frontmost window there) or
  // anywhere else. A press on a window makes it key when it may become key and activates the application
  // unless the window is a non-activating panel; a press anywhere else takes key status from it.
  virtual void mouseDownOnScreen(bool isInside, foundation::Point location);

 private:
  void reportToWindowServer();
  // Tells the window server where the window lets presses through, if it does.
  void reportClickRegion();
  void windowServerDidChangeVisibility();

  std::uint64_t styleMask_;
  BackingStoreType backing_;
  bool isDeferred_;
  bool titlebarAppearsTransparent_ = false;
  TitleVisibility titleVisibility_ = TitleVisibility::visible;
  int level_ = Level::normal;
  bool isMovable_ = true;
  bool isMovableByWindowBackground_ = false;
  std::uint64_t collectionBehavior_ = CollectionBehavior::none;
  bool ignoresMouseEvents_ = false;
  bool isVisible_ = false;
  bool isClosed_ = false;
  Color backgroundColor_ = Color::windowBackgroundColor();
  bool isOpaque_ = true;
  bool hasShadow_ = true;
  double alphaValue_ = 1;
  bool hasBeenKey_ = false;
  std::uint64_t windowNumber_ = 0;
};

}  // namespace appkit
