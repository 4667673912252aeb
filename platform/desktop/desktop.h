// The world outside the application as a desktop of services, one per concern, and the one desktop that is
// installed for the platform layers to talk to.
#pragma once

namespace desktop {

class AccessibilityService;
class AlertService;
class FilePanelService;
class HotKeyService;
class InputEventService;
class PasteboardService;
class PermissionService;
class SpeechService;
class StatusBarService;
class SyntheticInputService;
class URLOpenerService;
class WebEngineService;
class WindowServerService;
class WorkspaceService;

// The platform layers reach the outside world only through the services of the installed desktop, never
// through a concrete desktop: which desktop that is (the headless one in tests, a live one in a desktop
// session) is decided by whoever installs it. A desktop owns its services for its whole life, so a
// service found through current() may be kept while that desktop stays installed. Every service is safe
// to call from any thread; a service that calls back says on which thread.
//
// A concern the application kit gains later becomes one more service: an abstract class in a header of
// its own and an accessor here, implemented by every desktop.
class Desktop {
 public:
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;
  virtual ~Desktop();

  // The installed desktop, or nullptr when none is installed (the platform layers then do without one).
  static Desktop* current();

  // Installs a desktop as current() for the scope's lifetime and restores the previous one when it ends;
  // scopes nest.
  class Scope {
   public:
    explicit Scope(Desktop& desktop);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    Desktop* previous_;
  };

  // Screens and the other applications running on the desktop.
  virtual WorkspaceService& workspace() = 0;
  // The person's input as the whole desktop sees it.
  virtual InputEventService& inputEvents() = 0;
  // Input this program makes up and sends to other applications.
  virtual SyntheticInputService& syntheticInput() = 0;
  virtual PasteboardService& pasteboard() = 0;
  // Alerts, sheets and the system beep.
  virtual AlertService& alerts() = 0;
  // Open and save panels.
  virtual FilePanelService& filePanels() = 0;
  virtual URLOpenerService& urlOpener() = 0;
  // What the person allowed this program to do.
  virtual PermissionService& permissions() = 0;
  // Global hot keys and the keyboard layout.
  virtual HotKeyService& hotKeys() = 0;
  // Other applications' user-interface elements.
  virtual AccessibilityService& accessibility() = 0;
  // Speech recognition, the microphone and speech synthesis.
  virtual SpeechService& speech() = 0;
  // The web engine behind web views.
  virtual WebEngineService& web() = 0;
  // This program's windows on screen.
  virtual WindowServerService& windowServer() = 0;
  // This program's items in the menu bar's status area.
  virtual StatusBarService& statusBar() = 0;

 protected:
  Desktop() = default;
  // Stops being current() if it is. A desktop calls this first thing in its destructor, so nothing finds
  // it while its services are being torn down.
  void withdraw();
};

}  // namespace desktop
