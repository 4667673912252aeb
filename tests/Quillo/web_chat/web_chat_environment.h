// What every web chat test runs in: a temporary standard suite for the whole program (the settings keys
// bind to the standard suite of their first use), and per test a fresh main queue, a manual clock and a
// headless desktop.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/desktop/headless_desktop.h"
#include "platform/desktop/headless_web.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/run_loop.h"
#include "platform/webkit/web_view.h"

namespace webchattest {

// A fresh directory under the system's temporary directory, removed with everything in it at the end.
class TemporaryDirectory {
 public:
  TemporaryDirectory();
  ~TemporaryDirectory();
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The headless page behind a web view, which a test drives as a person and a web site would; null when
// the view has none.
inline std::shared_ptr<desktop::HeadlessWebPage> headlessPage(const webkit::WebView& view) {
  return std::dynamic_pointer_cast<desktop::HeadlessWebPage>(view.page());
}

class WebChatTest : public ::testing::Test {
 protected:
  WebChatTest();
  ~WebChatTest() override;

  foundation::ManualClock& clock() { return *clock_; }
  desktop::HeadlessDesktop& desktop() { return desktop_; }
  // Runs the main queue until nothing is due.
  void settle() { foundation::RunLoop::main().runUntilIdle(); }
  void advance(foundation::Duration by) { foundation::RunLoop::main().advanceAndRun(*clock_, by); }

 private:
  foundation::ScopedMainRunLoop loop_;
  std::shared_ptr<foundation::ManualClock> clock_ = std::make_shared<foundation::ManualClock>();
  foundation::ScopedClock clockScope_{clock_};
  desktop::HeadlessDesktop desktop_;
  desktop::HeadlessDesktop::Scope desktopScope_{desktop_};
};

}  // namespace webchattest
