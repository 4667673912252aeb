#include "platform/desktop/x11/gtk_window.h"

#include <X11/extensions/XInput2.h>
#include <gdk/gdkx.h>

#include <cctype>
#include <cmath>

#include "platform/appkit/application_menu.h"
#include "platform/appkit/event_dispatch.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/x11/keys.h"
#include "platform/desktop/x11/screen_coordinates.h"
#include "platform/render/renderer.h"
#include "platform/ui/hosting.h"

namespace desktop::x11 {

namespace {

using appkit::EventType;
using appkit::StyledWindow;

foundation::Point locationOf(double x, double y) { return foundation::Point{x, y}; }

// A key equivalent of the main menu chosen by a key press: the item whose character and modifiers the
// press has (a capital letter stands for Shift with its letter), performed. False when none took it.
bool performMenuKeyEquivalent(const appkit::Menu& menu, const appkit::Event& event) {
  using appkit::ModifierFlags;
  const auto relevant =
      ModifierFlags::shift | ModifierFlags::control | ModifierFlags::option | ModifierFlags::command;
  const auto pressed = event.modifierFlags() & relevant;
  for (const auto& item : menu.items()) {
    if (item->hasSubmenu() && performMenuKeyEquivalent(*item->submenu(), event)) return true;
    std::string key = item->keyEquivalent();
    if (key.empty() || !item->isEnabled()) continue;
    auto mask = item->keyEquivalentModifierMask() & relevant;
    if (key.size() == 1 && std::isupper(static_cast<unsigned char>(key[0]))) {
      key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
      mask |= ModifierFlags::shift;
    }
    std::string typed = event.charactersIgnoringModifiers();
    if (typed.size() == 1) typed[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(typed[0])));
    if (key == typed && mask == pressed) return item->performAction();
  }
  return false;
}

}  // namespace

WindowChrome WindowChrome::of(const appkit::Window& window) {
  WindowChrome chrome;
  chrome.acceptsFocus = window.canBecomeKeyWindow();
  const auto* styled = dynamic_cast<const StyledWindow*>(&window);
  if (styled == nullptr) return chrome;
  const auto mask = styled->styleMask();
  chrome.isTitled = (mask & StyledWindow::StyleMask::titled) != 0;
  chrome.isResizable = (mask & StyledWindow::StyleMask::resizable) != 0;
  chrome.keepsAbove = styled->level() >= StyledWindow::Level::floating;
  chrome.isSticky = (styled->collectionBehavior() & StyledWindow::CollectionBehavior::canJoinAllSpaces) != 0;
  chrome.ignoresMouseEvents = styled->ignoresMouseEvents();
  chrome.skipsTaskbar = !chrome.isTitled || (mask & StyledWindow::StyleMask::utilityWindow) != 0;
  return chrome;
}

GtkWindowPresenter::GtkWindowPresenter(std::shared_ptr<appkit::Window> window) : window_(std::move(window)) {
  gtkWindow_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref_sink(gtkWindow_);
  area_ = gtk_drawing_area_new();
  gtk_widget_set_can_focus(area_, TRUE);
  gtk_widget_add_events(area_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                   GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK |
                                   GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);
  GtkWidget* overlay = gtk_overlay_new();
  gtk_container_add(GTK_CONTAINER(overlay), area_);
  childLayer_ = gtk_fixed_new();
  gtk_overlay_add_overlay(GTK_OVERLAY(overlay), childLayer_);
  gtk_overlay_set_overlay_pass_through(GTK_OVERLAY(overlay), childLayer_, TRUE);
  gtk_container_add(GTK_CONTAINER(gtkWindow_), overlay);
  g_signal_connect(area_, "draw", G_CALLBACK(&GtkWindowPresenter::drawn), this);
  g_signal_connect(area_, "button-press-event", G_CALLBACK(&GtkWindowPresenter::buttonEvent), this);
  g_signal_connect(area_, "button-release-event", G_CALLBACK(&GtkWindowPresenter::buttonEvent), this);
  g_signal_connect(area_, "motion-notify-event", G_CALLBACK(&GtkWindowPresenter::motionEvent), this);
  g_signal_connect(area_, "enter-notify-event", G_CALLBACK(&GtkWindowPresenter::crossingEvent), this);
  g_signal_connect(area_, "leave-notify-event", G_CALLBACK(&GtkWindowPresenter::crossingEvent), this);
  g_signal_connect(gtkWindow_, "key-press-event", G_CALLBACK(&GtkWindowPresenter::keyEvent), this);
  g_signal_connect(gtkWindow_, "key-release-event", G_CALLBACK(&GtkWindowPresenter::keyEvent), this);
  g_signal_connect(gtkWindow_, "focus-in-event", G_CALLBACK(&GtkWindowPresenter::focusEvent), this);
  g_signal_connect(gtkWindow_, "focus-out-event", G_CALLBACK(&GtkWindowPresenter::focusEvent), this);
  g_signal_connect(gtkWindow_, "configure-event", G_CALLBACK(&GtkWindowPresenter::configured), this);
  g_signal_connect(gtkWindow_, "delete-event", G_CALLBACK(&GtkWindowPresenter::deleted), this);
  inputMethod_ = gtk_im_multicontext_new();
  g_signal_connect(inputMethod_, "commit", G_CALLBACK(&GtkWindowPresenter::committed), this);
  // XInput 2 focus events name no GDK window before GDK translates them, so only a filter of all events
  // sees them.
  gdk_window_add_filter(nullptr, &GtkWindowPresenter::filterGrabFocusChange, this);
  updateChrome();
}

GtkWindowPresenter::~GtkWindowPresenter() {
  gdk_window_remove_filter(nullptr, &GtkWindowPresenter::filterGrabFocusChange, this);
  g_signal_handlers_disconnect_by_data(inputMethod_, this);
  gtk_im_context_set_client_window(inputMethod_, nullptr);
  g_object_unref(inputMethod_);
  if (pendingPress_ != nullptr) gdk_event_free(reinterpret_cast<GdkEvent*>(pendingPress_));
  g_signal_handlers_disconnect_by_data(gtkWindow_, this);
  g_signal_handlers_disconnect_by_data(area_, this);
  GList* lent = gtk_container_get_children(GTK_CONTAINER(childLayer_));
  for (GList* item = lent; item != nullptr; item = item->next)
    gtk_container_remove(GTK_CONTAINER(childLayer_), GTK_WIDGET(item->data));
  g_list_free(lent);
  gtk_widget_destroy(gtkWindow_);
  g_object_unref(gtkWindow_);
}

void GtkWindowPresenter::updateChrome() {
  const auto chrome = WindowChrome::of(*window_);
  auto* gtkWindow = GTK_WINDOW(gtkWindow_);
  gtk_window_set_title(gtkWindow, window_->title().c_str());
  gtk_window_set_decorated(gtkWindow, chrome.isTitled);
  gtk_window_set_resizable(gtkWindow, chrome.isResizable);
  gtk_window_set_keep_above(gtkWindow, chrome.keepsAbove);
  if (chrome.isSticky)
    gtk_window_stick(gtkWindow);
  else
    gtk_window_unstick(gtkWindow);
  gtk_window_set_accept_focus(gtkWindow, chrome.acceptsFocus);
  gtk_window_set_skip_taskbar_hint(gtkWindow, chrome.skipsTaskbar);
  gtk_window_set_skip_pager_hint(gtkWindow, chrome.skipsTaskbar);
  if (!chrome.isTitled) gtk_window_set_type_hint(gtkWindow, GDK_WINDOW_TYPE_HINT_UTILITY);
  hasAppliedShape_ = false;
  updateShapes();
}

void GtkWindowPresenter::updateShapes() {
  GdkWindow* surface = gtk_widget_get_window(gtkWindow_);
  if (surface == nullptr) return;
  const bool ignoresMouse = WindowChrome::of(*window_).ignoresMouseEvents;
  const auto* styled = dynamic_cast<const StyledWindow*>(window_.get());
  auto shape = styled != nullptr ? styled->clickRegion() : std::nullopt;
  if (hasAppliedShape_ && shape == appliedShape_ && ignoresMouse == appliedIgnoresMouse_) return;
  hasAppliedShape_ = true;
  appliedShape_ = shape;
  appliedIgnoresMouse_ = ignoresMouse;
  cairo_region_t* region = nullptr;
  if (shape) {
    region = cairo_region_create();
    for (const auto& rect : *shape) {
      const int left = static_cast<int>(std::floor(rect.minX()));
      const int top = static_cast<int>(std::floor(rect.minY()));
      const cairo_rectangle_int_t area{left, top, static_cast<int>(std::ceil(rect.maxX())) - left,
                                       static_cast<int>(std::ceil(rect.maxY())) - top};
      cairo_region_union_rectangle(region, &area);
    }
  }
  gdk_window_shape_combine_region(surface, region, 0, 0);
  if (ignoresMouse) {
    // An empty input shape: every click goes to the window below.
    cairo_region_t* nothing = cairo_region_create();
    gdk_window_input_shape_combine_region(surface, nothing, 0, 0);
    cairo_region_destroy(nothing);
  } else {
    gdk_window_input_shape_combine_region(surface, region, 0, 0);
  }
  if (region != nullptr) cairo_region_destroy(region);
}

void GtkWindowPresenter::setFrame(foundation::Rect frame) {
  if (frame == shownFrame_) return;
  shownFrame_ = frame;
  const int width = std::max(1, static_cast<int>(std::lround(frame.size.width)));
  const int height = std::max(1, static_cast<int>(std::lround(frame.size.height)));
  gtk_widget_set_size_request(area_, width, height);
  gtk_window_resize(GTK_WINDOW(gtkWindow_), width, height);
  const int top = mainScreenBottom() - static_cast<int>(std::lround(frame.origin.y)) - height;
  gtk_window_move(GTK_WINDOW(gtkWindow_), static_cast<int>(std::lround(frame.origin.x)), top);
}

void GtkWindowPresenter::show(bool makeKey) {
  setFrame(window_->frame());
  // Under a compositor a window that lets clicks through gets an alpha channel, so its clear parts (the
  // rounded corners within its shape) show what lies beneath; the visual must be chosen before the window
  // is made on the server.
  const auto* styled = dynamic_cast<const StyledWindow*>(window_.get());
  if (styled != nullptr && styled->letsClicksThrough() && !gtk_widget_get_realized(gtkWindow_)) {
    GdkScreen* screen = gtk_widget_get_screen(gtkWindow_);
    GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
    if (rgba != nullptr && gdk_screen_is_composited(screen)) {
      gtk_widget_set_visual(gtkWindow_, rgba);
      gtk_widget_set_app_paintable(gtkWindow_, TRUE);
    }
  }
  gtk_widget_show_all(gtkWindow_);
  updateChrome();  // the input shape needs the realised window
  gtk_im_context_set_client_window(inputMethod_, gtk_widget_get_window(area_));
  if (makeKey && WindowChrome::of(*window_).acceptsFocus) {
    gtk_window_present(GTK_WINDOW(gtkWindow_));
    gtk_widget_grab_focus(area_);
    window_->makeKeyWindow();
  }
}

void GtkWindowPresenter::hide() {
  gtk_widget_hide(gtkWindow_);
  if (window_->isKeyWindow()) window_->resignKeyWindow();
}

bool GtkWindowPresenter::isShown() const { return gtk_widget_get_visible(gtkWindow_); }

void GtkWindowPresenter::setColorScheme(ui::ColorScheme scheme) {
  auto hosting = std::dynamic_pointer_cast<ui::HostingView>(window_->contentView());
  if (!hosting || hosting->graph().environment().colorScheme() == scheme) return;
  auto environment = hosting->graph().environment();
  environment.set<ui::ColorSchemeKey>(scheme);
  hosting->graph().setEnvironment(std::move(environment));
  setNeedsDisplay();
}

void GtkWindowPresenter::setNeedsDisplay() { gtk_widget_queue_draw(area_); }

std::uint64_t GtkWindowPresenter::xWindow() const {
  GdkWindow* surface = gtk_widget_get_window(gtkWindow_);
  return surface != nullptr ? gdk_x11_window_get_xid(surface) : 0;
}

gboolean GtkWindowPresenter::drawn(GtkWidget*, cairo_t* cr, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  render::Renderer().draw(*self.window_, cr);
  self.updateShapes();
  return FALSE;
}

void GtkWindowPresenter::deliver(const appkit::Event& event) {
  // Keep the window alive through its own event: a view may close it.
  auto window = window_;
  // The main menu's key equivalents come first, as a GTK window's accelerators do.
  const auto menu = appkit::mainMenu();
  const bool isEquivalent = event.type() == EventType::keyDown && !event.modifierFlags().isEmpty() && menu &&
                            performMenuKeyEquivalent(*menu, event);
  if (!isEquivalent) appkit::dispatchEvent(event, window);
  setNeedsDisplay();
}

gboolean GtkWindowPresenter::buttonEvent(GtkWidget*, GdkEventButton* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  // GDK follows the second and third press with a double- and triple-press event of its own; the
  // presses themselves were delivered already.
  if (event->type == GDK_2BUTTON_PRESS || event->type == GDK_3BUTTON_PRESS) return TRUE;
  const bool isPress = event->type == GDK_BUTTON_PRESS;
  if (isPress) {
    gtk_widget_grab_focus(self.area_);
    if (self.pressObserver_)
      self.pressObserver_(foundation::Point{event->x_root, mainScreenBottom() - event->y_root});
  }
  EventType type;
  switch (event->button) {
    case 1:
      type = isPress ? EventType::leftMouseDown : EventType::leftMouseUp;
      break;
    case 3:
      type = isPress ? EventType::rightMouseDown : EventType::rightMouseUp;
      break;
    default:
      type = isPress ? EventType::otherMouseDown : EventType::otherMouseUp;
      break;
  }
  self.deliver(appkit::Event::mouseEvent(type, locationOf(event->x, event->y),
                                         applicationModifiers(static_cast<GdkModifierType>(event->state))));
  return TRUE;
}

gboolean GtkWindowPresenter::motionEvent(GtkWidget*, GdkEventMotion* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  EventType type = EventType::mouseMoved;
  if (event->state & GDK_BUTTON1_MASK)
    type = EventType::leftMouseDragged;
  else if (event->state & GDK_BUTTON3_MASK)
    type = EventType::rightMouseDragged;
  else if (event->state & GDK_BUTTON2_MASK)
    type = EventType::otherMouseDragged;
  self.deliver(appkit::Event::mouseEvent(type, locationOf(event->x, event->y),
                                         applicationModifiers(static_cast<GdkModifierType>(event->state))));
  return TRUE;
}

gboolean GtkWindowPresenter::crossingEvent(GtkWidget*, GdkEventCrossing* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  const auto type = event->type == GDK_ENTER_NOTIFY ? EventType::mouseEntered : EventType::mouseExited;
  self.deliver(appkit::Event::mouseEvent(type, locationOf(event->x, event->y),
                                         applicationModifiers(static_cast<GdkModifierType>(event->state))));
  return TRUE;
}

void GtkWindowPresenter::deliverKey(const GdkEventKey& event, std::string characters) {
  const bool isPress = event.type == GDK_KEY_PRESS;
  const auto code = virtualKeyCode(event.hardware_keycode).value_or(0);
  auto modifiers = applicationModifiers(static_cast<GdkModifierType>(event.state));
  if (event.is_modifier) {
    // The state of a modifier's own event is the state before it: the flags change now.
    deliver(appkit::Event::keyEvent(EventType::flagsChanged, code, modifiers));
    return;
  }
  // Ignoring modifiers other than Shift, as a key equivalent reads the key.
  std::string unmodified = charactersOfKey(event.keyval);
  if (characters.empty()) characters = unmodified;
  deliver(appkit::Event::keyEvent(isPress ? EventType::keyDown : EventType::keyUp, code, modifiers,
                                  characters, unmodified));
}

gboolean GtkWindowPresenter::keyEvent(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  if (GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(self.gtkWindow_));
      focus != nullptr && gtk_widget_is_ancestor(focus, self.childLayer_))
    return FALSE;  // GTK hands it to the focused widget
  if (event->is_modifier) {
    self.deliverKey(*event, {});
    return TRUE;
  }
  // Text goes through the input method first (compose sequences, non-Latin scripts); it commits the text
  // that the press types. Key equivalents (with Ctrl) and keys that type nothing go straight on.
  const bool isEquivalent = (event->state & GDK_CONTROL_MASK) != 0;
  if (!isEquivalent) {
    if (self.pendingPress_ != nullptr) gdk_event_free(reinterpret_cast<GdkEvent*>(self.pendingPress_));
    self.pendingPress_ = reinterpret_cast<GdkEventKey*>(gdk_event_copy(reinterpret_cast<GdkEvent*>(event)));
    self.isCommitting_ = false;
    const bool isTaken = gtk_im_context_filter_keypress(self.inputMethod_, event);
    const bool didCommit = self.isCommitting_;
    gdk_event_free(reinterpret_cast<GdkEvent*>(self.pendingPress_));
    self.pendingPress_ = nullptr;
    if (isTaken) {
      // A press whose text was committed was delivered with it; one that only composes is not a key press
      // of the views. Its release goes on, as the press did.
      return TRUE;
    }
    if (didCommit) return TRUE;
  }
  self.deliverKey(*event, {});
  return TRUE;
}

void GtkWindowPresenter::committed(GtkIMContext*, gchar* text, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  self.isCommitting_ = true;
  if (self.pendingPress_ != nullptr) {
    self.deliverKey(*self.pendingPress_, text);
  } else {
    // Text an input method commits on its own (a finished composition): a key press typing it.
    GdkEventKey press{};
    press.type = GDK_KEY_PRESS;
    self.deliverKey(press, text);
  }
}

// A keyboard grab (a global hot key held down, another program's menu) does not move the input focus, yet
// the X server tells the focused window that it lost the focus when the grab begins and got it back when
// it ends, and GDK passes both on as focus changes. Taken as such, the focus "coming back" at the release
// of a hot key makes this window key again just after the hot key's action made another window key, which
// may close that window at once (a panel that closes on losing key status). Those changes are dropped
// here; real focus changes arrive as usual.
GdkFilterReturn GtkWindowPresenter::filterGrabFocusChange(GdkXEvent* xEvent, GdkEvent*, gpointer data) {
  const auto& self = *static_cast<GtkWindowPresenter*>(data);
  const auto* event = static_cast<const XEvent*>(xEvent);
  if (event->type != GenericEvent || event->xcookie.data == nullptr) return GDK_FILTER_CONTINUE;
  if (event->xcookie.evtype != XI_FocusIn && event->xcookie.evtype != XI_FocusOut) return GDK_FILTER_CONTINUE;
  const auto* focus = static_cast<const XIFocusInEvent*>(event->xcookie.data);
  const std::uint64_t window = self.xWindow();
  if (window == 0 || focus->event != window) return GDK_FILTER_CONTINUE;
  switch (focus->mode) {
    case XINotifyGrab:
    case XINotifyUngrab:
    case XINotifyPassiveGrab:
    case XINotifyPassiveUngrab:
      return GDK_FILTER_REMOVE;
    default:
      return GDK_FILTER_CONTINUE;
  }
}

gboolean GtkWindowPresenter::focusEvent(GtkWidget*, GdkEventFocus* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  if (event->in) {
    gtk_im_context_focus_in(self.inputMethod_);
    self.window_->makeKeyWindow();
  } else {
    gtk_im_context_focus_out(self.inputMethod_);
    if (self.window_->isKeyWindow()) self.window_->resignKeyWindow();
    if (self.focusLossObserver_) self.focusLossObserver_();
  }
  self.setNeedsDisplay();
  return FALSE;
}

gboolean GtkWindowPresenter::configured(GtkWidget*, GdkEventConfigure* event, gpointer data) {
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  const double height = event->height;
  const foundation::Rect frame(
      foundation::Point{static_cast<double>(event->x), mainScreenBottom() - event->y - height},
      foundation::Size{static_cast<double>(event->width), height});
  // Recorded first: the window tells its window server, which gives the frame back.
  self.shownFrame_ = frame;
  if (frame != self.window_->frame()) self.window_->setFrame(frame);
  return FALSE;
}

gboolean GtkWindowPresenter::deleted(GtkWidget*, GdkEvent*, gpointer data) {
  // The window manager's close button closes the window as its own close would; the presenter stays.
  auto& self = *static_cast<GtkWindowPresenter*>(data);
  if (auto* styled = dynamic_cast<StyledWindow*>(self.window_.get())) styled->close();
  self.hide();
  return TRUE;
}

}  // namespace desktop::x11
