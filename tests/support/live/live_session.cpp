#include "tests/support/live/live_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

extern char** environ;

namespace testsupport::live {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A window manager that follows the desktop conventions names its check window on the root window; until
// it does, windows are neither managed nor focused the way a person's desktop does it.
bool hasWindowManager(Display* display) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &count, &remaining, &data);
  const bool found = status == Success && type == XA_WINDOW && count == 1;
  if (data) XFree(data);
  return found;
}

std::string workOutUnavailableReason() {
  if (const std::string reason = environmentValue("QUILLO_LIVE_SESSION_UNAVAILABLE"); !reason.empty())
    return reason;
  if (environmentValue("QUILLO_LIVE_SESSION").empty())
    return "the test program runs outside tests/support/live_session.sh (run it through ctest)";
  if (environmentValue("DBUS_SESSION_BUS_ADDRESS").empty()) return "the session has no D-Bus session bus";
  std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr), &XCloseDisplay);
  if (!display) return "the virtual X server at DISPLAY=" + environmentValue("DISPLAY") + " cannot be opened";
  if (!waitUntil([&] { return hasWindowManager(display.get()); }))
    return "the window manager (openbox) did not start on the virtual X server";
  return "";
}

}  // namespace

const std::string& liveSessionUnavailableReason() {
  static const std::string reason = workOutUnavailableReason();
  return reason;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

FixtureProgram::FixtureProgram(std::vector<std::string> arguments) {
  if (arguments.empty()) return;
  static std::atomic<int> counter{0};
  std::string folder = environmentValue("QUILLO_LIVE_SESSION");
  if (folder.empty()) folder = environmentValue("TMPDIR").empty() ? "/tmp" : environmentValue("TMPDIR");
  outputPath_ = folder + "/fixture-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".log";
  const int outputFile = ::open(outputPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (outputFile < 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outputFile, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, outputFile, STDERR_FILENO);
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = -1;
  if (::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) pid_ = child;
  posix_spawn_file_actions_destroy(&actions);
  ::close(outputFile);
}

FixtureProgram::~FixtureProgram() {
  if (pid_ <= 0 || hasEnded_) return;
  ::kill(pid_, SIGTERM);
  if (!waitUntil([this] { return !isRunning(); }, std::chrono::seconds(3))) {
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

bool FixtureProgram::isRunning() {
  if (pid_ <= 0 || hasEnded_) return false;
  const pid_t result = ::waitpid(pid_, nullptr, WNOHANG);
  if (result == pid_ || (result < 0 && errno == ECHILD)) hasEnded_ = true;
  return !hasEnded_;
}

std::string FixtureProgram::output() const {
  std::ifstream file(outputPath_, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool FixtureProgram::waitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
  return waitUntil([&] { return output().find(text) != std::string::npos || !isRunning(); }, timeout) &&
         output().find(text) != std::string::npos;
}

}  // namespace testsupport::live
