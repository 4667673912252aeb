// An application window shown on the X display: a GTK window of the window's frame, drawn by the
// renderer, whose pointer and key events go to the window's views.
#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/window.h"
#include "platform/ui/color_scheme.h"

namespace desktop::x11 {

// How the window manager is asked to treat a window.
struct WindowChrome {
  // A title bar and border from the window manager; none for borderless windows and popovers.
  bool isTitled = true;
  bool isResizable = true;
  // Above the normal windows (floating levels and higher).
  bool keepsAbove = false;
  // On every workspace.
  bool isSticky = false;
  // Whether it takes keyboard focus when shown.
  bool acceptsFocus = true;
  // Clicks pass through it to the windows below.
  bool ignoresMouseEvents = false;
  // Left out of the task bar and pager (panels, popovers).
  bool skipsTaskbar = false;

  // The chrome a window's style asks for (a plain window is titled and resizable).
  static WindowChrome of(const appkit::Window& window);
  bool operator==(const WindowChrome&) const = default;
};

// Main thread only. Shows nothing until show(); the GTK window goes with this object.
class GtkWindowPresenter {
 public:
  explicit GtkWindowPresenter(std::shared_ptr<appkit::Window> window);
  ~GtkWindowPresenter();
  GtkWindowPresenter(const GtkWindowPresenter&) = delete;
  GtkWindowPresenter& operator=(const GtkWindowPresenter&) = delete;

  // Shows the window at its frame (global coordinates, origin at the main screen's bottom-left) with the
  // chrome of its style, and gives it keyboard focus when `makeKey` and it accepts focus.
  void show(bool makeKey = true);
  void hide();
  bool isShown() const;
  // Moves and resizes the shown window (global coordinates); the same frame again does nothing.
  void setFrame(foundation::Rect frame);
  // Told of every press of the pointer in the window, at its global location.
  void setPressObserver(std::function<void(foundation::Point)> observer) {
    pressObserver_ = std::move(observer);
  }
  // Told when the window loses keyboard focus.
  void setFocusLossObserver(std::function<void()> observer) { focusLossObserver_ = std::move(observer); }
  // Shows the window's hosted views in the desktop's appearance; a window without hosted views keeps its
  // own.
  void setColorScheme(ui::ColorScheme scheme);
  // Draws the window again at the next frame (its views changed).
  void setNeedsDisplay();
  // Takes the window's title and chrome again.
  void updateChrome();

  const std::shared_ptr<appkit::Window>& window() const { return window_; }
  GtkWidget* widget() const { return gtkWindow_; }
  // A GtkFixed over the renderer's drawing, as large as the content, for widgets of other toolkits that
  // show part of the content themselves (web pages), placed at content coordinates. The pointer passes
  // through it to the drawing wherever it holds no widget. Widgets put there are lent: they are taken out
  // again, not destroyed, when the GTK window goes, and keys typed while one of them has the focus are its.
  GtkWidget* childLayer() const { return childLayer_; }
  // The X window, 0 before it is shown the first time.
  std::uint64_t xWindow() const;

 private:
  static gboolean drawn(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean buttonEvent(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean motionEvent(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean crossingEvent(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean keyEvent(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean focusEvent(GtkWidget*, GdkEventFocus* event, gpointer self);
  // Sees the X server's events before GDK does: drops the focus changes of this window that a keyboard
  // grab causes (see the definition).
  static GdkFilterReturn filterGrabFocusChange(GdkXEvent* xEvent, GdkEvent*, gpointer self);
  static gboolean configured(GtkWidget*, GdkEventConfigure* event, gpointer self);
  static gboolean deleted(GtkWidget*, GdkEvent*, gpointer self);
  static void committed(GtkIMContext*, gchar* text, gpointer self);

  void deliver(const appkit::Event& event);
  void deliverKey(const GdkEventKey& event, std::string characters);
  // A window that lets clicks through where it draws nothing is there, for the eye and for the pointer,
  // only where its views draw: its shape and input shape are that region (no compositor is needed to see
  // through the rest). Other windows are whole, unless they ignore the pointer. Applied again after each
  // drawing, as the views move; an unchanged region is not sent again.
  void updateShapes();

  std::shared_ptr<appkit::Window> window_;
  // The frame the GTK window was last given or reported.
  foundation::Rect shownFrame_;
  std::function<void(foundation::Point)> pressObserver_;
  std::function<void()> focusLossObserver_;
  GtkWidget* gtkWindow_ = nullptr;
  GtkWidget* area_ = nullptr;
  GtkWidget* childLayer_ = nullptr;
  GtkIMContext* inputMethod_ = nullptr;
  // The key press the input method is working on, for the text it commits.
  GdkEventKey* pendingPress_ = nullptr;
  bool isCommitting_ = false;
  // The shape last given to the X window: none while the window is whole.
  std::optional<std::vector<foundation::Rect>> appliedShape_;
  bool hasAppliedShape_ = false;
  bool appliedIgnoresMouse_ = false;
};

}  // namespace desktop::x11
