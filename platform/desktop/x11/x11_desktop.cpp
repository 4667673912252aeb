#include "platform/desktop/x11/x11_desktop.h"

#include <gio/gio.h>
#include <gtk/gtk.h>

#include <mutex>
#include <vector>

#include "platform/desktop/x11/global_input/x11_hot_keys.h"
#include "platform/desktop/x11/global_input/x11_input_events.h"
#include "platform/desktop/x11/global_input/xtest_typing.h"
#include "platform/desktop/x11/unavailable_global_input.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"

namespace desktop::x11 {

std::string waylandLimitations(const EnvironmentReader& environment) {
  const auto wayland = environment("WAYLAND_DISPLAY");
  if (!wayland || wayland->empty()) return {};
  return "Quillo runs through XWayland in this Wayland session: global hot keys and Inline (which watches "
         "your typing in other applications and types answers into them) are not available here. "
         "Everything else works.";
}

std::string accessibilityAdvice() {
  return "Quillo reads and writes other applications' text fields through the desktop's accessibility bus "
         "(AT-SPI), which does not answer in this session. To turn accessibility on, install the "
         "at-spi2-core package, run \"gsettings set org.gnome.desktop.interface toolkit-accessibility "
         "true\", log out and in again, and start Quillo again.";
}

std::unique_ptr<X11Desktop> X11Desktop::open(const EnvironmentReader& environment) {
  const auto display = environment("DISPLAY");
  if (!display || display->empty()) throw foundation::TextError("DISPLAY is not set");
  static std::once_flag waylandNotice;
  if (auto limitations = waylandLimitations(environment); !limitations.empty())
    std::call_once(waylandNotice, [&] { foundation::log(limitations); });
  // GTK would take the Wayland display when both are there.
  gdk_set_allowed_backends("x11");
  if (GdkDisplay* current = gdk_display_get_default()) {
    if (*display != gdk_display_get_name(current))
      throw foundation::TextError("this program already shows its windows on display " +
                                  std::string(gdk_display_get_name(current)));
  } else {
    std::vector<std::string> arguments{"quillo", "--display", *display};
    std::vector<char*> pointers;
    for (auto& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    int count = static_cast<int>(arguments.size());
    char** values = pointers.data();
    if (!gtk_init_check(&count, &values))
      throw foundation::TextError("the X display \"" + *display + "\" does not answer");
  }
  return std::unique_ptr<X11Desktop>(new X11Desktop());
}

DesktopKind X11Desktop::kind() {
  return DesktopKind{"X11", [](const EnvironmentReader& environment) -> std::unique_ptr<Desktop> {
                       return open(environment);
                     }};
}

namespace {

foundation::Rect mainScreenFrame(const WorkspaceService& workspace) {
  const auto screens = workspace.screens();
  return screens.empty() ? foundation::Rect() : screens.front().frame;
}

// The live service where the session can serve it; otherwise one that reaches nothing, and one line
// saying why. A Wayland session is not named here: open() has told the person once what it lacks.
template <typename Service, typename Live>
std::unique_ptr<Service> liveOrUnavailable(std::string_view what) {
  try {
    return std::make_unique<Live>();
  } catch (const foundation::TextError& error) {
    if (waylandLimitations(processEnvironment()).empty())
      foundation::log("Not available on this desktop: " + std::string(what) + " (" + error.text() + ").");
    return std::make_unique<UnavailableGlobalInput>();
  }
}

}  // namespace

X11Desktop::X11Desktop()
    : statusBar_(mainScreenFrame(workspace_)),
      hotKeys_(liveOrUnavailable<HotKeyService, X11HotKeys>("global hot keys")),
      inputEvents_(liveOrUnavailable<InputEventService, X11InputEvents>(
          "watching the keys and clicks that go to other applications")),
      syntheticInput_(
          liveOrUnavailable<SyntheticInputService, XTestTyping>("typing into other applications")),
      activationAnnouncer_(std::make_unique<appkit::Workspace::ActivationAnnouncer>(workspace_)),
      web_(WebKitWebEngine::defaultDataDirectory(processEnvironment()),
           WebKitWebEngine::defaultCacheDirectory(processEnvironment()), [this](std::uint64_t number) {
             auto* shown = windowServer_.presenter(number);
             return shown != nullptr && shown->isShown() ? shown->childLayer() : nullptr;
           }) {
  // What the main queue's work changed is drawn at the next frame.
  mainLoop_.setWorkObserver([this] { windowServer_.redrawAll(); });
  // The windows follow the desktop's light or dark setting while the program runs.
  windowServer_.setColorScheme(appearance_.colorScheme());
  appearance_.addObserver([this](ui::ColorScheme scheme) { windowServer_.setColorScheme(scheme); });
}

X11Desktop::~X11Desktop() { withdraw(); }

bool X11Desktop::isPermissionGranted(std::string_view permission) const {
  if (permission == permission::accessibility) return accessibility_.isTrusted();
  if (permission == permission::microphone) return speech_.hasMicrophone();
  if (permission == permission::speechRecognition) return speech_.canMakeRecognizer();
  return false;
}

void X11Desktop::requestPermission(std::string_view permission) {
  if (permission != permission::accessibility || accessibility_.isTrusted()) return;
  static std::once_flag advised;
  std::call_once(advised, [] {
    const std::string advice = accessibilityAdvice();
    foundation::log(advice);
    // Asked from any thread; the alert belongs to the main thread and to the desktop installed there.
    foundation::RunLoop::main().async([advice] {
      if (Desktop* desktop = Desktop::current()) {
        desktop->alerts().present({"Accessibility is turned off", advice, 0, {"OK"}, std::nullopt},
                                  [](std::size_t) {});
      }
    });
  });
}

bool X11Desktop::openURL(const foundation::URL& url) {
  GError* error = nullptr;
  const bool isOpened = g_app_info_launch_default_for_uri(url.absoluteString().c_str(), nullptr, &error);
  if (error != nullptr) {
    foundation::log("Opening " + url.absoluteString() + " failed: " + error->message);
    g_error_free(error);
  }
  return isOpened;
}

}  // namespace desktop::x11
