// The live desktop of an X11 session, through GTK 3: the services the platform layers reach, served by
// the display, the clipboard, GTK's dialogs and GIO.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_choice.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/url_opener_service.h"
#include "platform/desktop/x11/gtk_appearance.h"
#include "platform/desktop/x11/gtk_dialogs.h"
#include "platform/desktop/x11/gtk_main_loop.h"
#include "platform/desktop/x11/gtk_pasteboard.h"
#include "platform/desktop/x11/web/webkit_web_engine.h"
#include "platform/desktop/x11/x11_status_bar.h"
#include "platform/desktop/x11/x11_window_server.h"
#include "platform/desktop/x11/x11_workspace.h"

namespace desktop::x11 {

// One per process, made and destroyed on the thread that becomes the main thread. While it lives, the
// main run loop runs inside GTK's (RunLoop::main().run() serves the display too).
class X11Desktop final : public Desktop, public PermissionService, public URLOpenerService {
 public:
  // Opens the display the environment names (DISPLAY). Throws foundation::TextError saying why it
  // cannot: no display is named, or it does not answer. In a Wayland session it runs through XWayland
  // and logs once what is not available there.
  static std::unique_ptr<X11Desktop> open(const EnvironmentReader& environment);
  // This desktop as a kind for chooseDesktop.
  static DesktopKind kind();

  ~X11Desktop() override;

  WorkspaceService& workspace() override { return workspace_; }
  PasteboardService& pasteboard() override { return pasteboard_; }
  AlertService& alerts() override { return alerts_; }
  FilePanelService& filePanels() override { return filePanels_; }
  URLOpenerService& urlOpener() override { return *this; }
  PermissionService& permissions() override { return *this; }
  X11WindowServer& windowServer() override { return windowServer_; }
  X11StatusBar& statusBar() override { return statusBar_; }
  WebKitWebEngine& web() override { return web_; }
  // Global input, synthetic typing, hot keys, other applications' elements and speech are not served
  // live by this desktop yet: they are those of a desktop of its own that nothing outside reaches.
  InputEventService& inputEvents() override { return offline_.inputEvents(); }
  SyntheticInputService& syntheticInput() override { return offline_.syntheticInput(); }
  HotKeyService& hotKeys() override { return offline_.hotKeys(); }
  AccessibilityService& accessibility() override { return offline_.accessibility(); }
  SpeechService& speech() override { return offline_.speech(); }

  // Light or dark, as the desktop's setting says.
  GtkAppearance& appearance() { return appearance_; }
  GtkMainLoop& mainLoop() { return mainLoop_; }

  // An X session asks no permission of its programs: each is granted.
  bool isPermissionGranted(std::string_view permission) const override;
  void requestPermission(std::string_view permission) override;

  // Opens the URL with the desktop's handler of its scheme (GIO, which hands web addresses to the
  // browser); false when none opens it.
  bool openURL(const foundation::URL& url) override;

 private:
  X11Desktop();

  GtkMainLoop mainLoop_;
  X11Workspace workspace_;
  X11WindowServer windowServer_;
  X11StatusBar statusBar_;
  GtkPasteboard pasteboard_;
  GtkAlerts alerts_;
  GtkFilePanels filePanels_;
  GtkAppearance appearance_;
  HeadlessDesktop offline_;
  WebKitWebEngine web_;
};

// What a person in a Wayland session misses when this program runs through XWayland; empty outside one.
std::string waylandLimitations(const EnvironmentReader& environment);

}  // namespace desktop::x11
