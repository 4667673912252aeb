// The live desktop of an X11 session, through GTK 3: the services the platform layers reach, served by
// the display, the clipboard, GTK's dialogs and GIO.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/appkit/workspace.h"  // ActivationAnnouncer: other applications coming forward
#include "platform/desktop/atspi/atspi_accessibility.h"
#include "platform/desktop/audio/live_speech.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_choice.h"
#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/input_event_service.h"
#include "platform/desktop/permission_service.h"
#include "platform/desktop/synthetic_input_service.h"
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
// main run loop runs inside GTK's (RunLoop::main().run() serves the display too), and the workspace's
// notification centre hears when another application comes forward.
//
// Global hot keys, the input event stream and typing into other applications are live where the session
// has them (X, with the XInput 2 and XTest extensions), each on an X connection of its own; where it has
// not (a Wayland session), the desktop says so once and hands out services that reach nothing. Other
// applications' elements are read through AT-SPI when the session's accessibility bus answers.
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
  InputEventService& inputEvents() override { return *inputEvents_; }
  SyntheticInputService& syntheticInput() override { return *syntheticInput_; }
  HotKeyService& hotKeys() override { return *hotKeys_; }
  atspi::AtspiAccessibility& accessibility() override { return accessibility_; }
  // Speech through eSpeak NG and PocketSphinx, heard and captured through the machine's sound system.
  audio::LiveSpeech& speech() override { return speech_; }
  // Pages of the chat service through WebKitGTK, one web process for all.
  WebKitWebEngine& web() override { return web_; }

  // Light or dark, as the desktop's setting says.
  GtkAppearance& appearance() { return appearance_; }
  GtkMainLoop& mainLoop() { return mainLoop_; }

  // An X session asks no permission of its programs: each is granted, except that reading other
  // applications' elements ("accessibility") needs the session's accessibility bus to answer, the
  // microphone needs one to be there and speech recognition needs its model.
  bool isPermissionGranted(std::string_view permission) const override;
  // Nothing can grant accessibility from inside the program: asked for it while the bus does not answer,
  // the desktop tells the person, once, how to turn accessibility on (logged, and in an alert).
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
  std::unique_ptr<HotKeyService> hotKeys_;
  std::unique_ptr<InputEventService> inputEvents_;
  std::unique_ptr<SyntheticInputService> syntheticInput_;
  atspi::AtspiAccessibility accessibility_;
  std::unique_ptr<appkit::Workspace::ActivationAnnouncer> activationAnnouncer_;
  audio::LiveSpeech speech_;
  WebKitWebEngine web_;
};

// What a person in a Wayland session misses when this program runs through XWayland; empty outside one.
std::string waylandLimitations(const EnvironmentReader& environment);

// What a person can do to turn accessibility on, when the session's accessibility bus does not answer.
std::string accessibilityAdvice();

}  // namespace desktop::x11
