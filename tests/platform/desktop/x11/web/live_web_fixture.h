// What the live web tests share: pages served on 127.0.0.1 by the test, windows on the live desktop, and
// the WebKit page behind a web view.
#pragma once

#include <httplib.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/x11/web/webkit_page.h"
#include "platform/webkit/web_view.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"

namespace livewebtest {

// An HTTP server on 127.0.0.1 with pages set by the test; it records the Cookie header of every request
// by path. Thread-safe: the server's threads and the test meet under one mutex.
class PageServer {
 public:
  using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

  PageServer() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~PageServer() {
    server_.stop();
    thread_.join();
  }

  // Serves `html` at `path`, with extra headers.
  void page(const std::string& path, std::string html,
            std::vector<std::pair<std::string, std::string>> headers = {}) {
    server_.Get(path, [this, html, headers](const httplib::Request& request, httplib::Response& response) {
      {
        std::lock_guard lock(mutex_);
        cookies_[request.path].push_back(request.get_header_value("Cookie"));
      }
      for (const auto& [name, value] : headers) response.set_header(name, value);
      response.set_content(html, "text/html; charset=utf-8");
    });
  }

  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // The Cookie header of each request for `path` so far ("" for none).
  std::vector<std::string> cookiesSent(const std::string& path) const {
    std::lock_guard lock(mutex_);
    auto found = cookies_.find(path);
    return found == cookies_.end() ? std::vector<std::string>{} : found->second;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> cookies_;
};

// A titled application window with its content rectangle at `frame` (global coordinates), shown.
inline std::shared_ptr<appkit::StyledWindow> showWindow(foundation::Rect frame,
                                                        std::shared_ptr<appkit::View> content,
                                                        const std::string& title) {
  using Style = appkit::StyledWindow::StyleMask;
  auto window = std::make_shared<appkit::StyledWindow>(
      frame, Style::titled | Style::resizable, appkit::StyledWindow::BackingStoreType::buffered, false);
  window->setTitle(title);
  window->setContentView(std::move(content));
  window->orderFront();
  return window;
}

// The WebKit page behind a web view (null without one).
inline std::shared_ptr<desktop::x11::WebKitPage> webKitPage(const webkit::WebView& view) {
  return std::dynamic_pointer_cast<desktop::x11::WebKitPage>(view.page());
}

// The result of a script evaluated in a web view's page, as JSON; "" for an error. Serves the loop until
// it arrives.
std::string evaluated(webkit::WebView& view, const std::string& script);

// Where a point of the web view's page (CSS pixels from its top-left) is on the display.
foundation::Point onDisplay(webkit::WebView& view, foundation::Point inPage);

class LiveWebTest : public testsupport::live::LiveDesktopTest {
 protected:
  void TearDown() override {
    appkit::Application::shared().resetForTesting();
    foundation::RunLoop::main().runUntilIdle();
    LiveDesktopTest::TearDown();
  }
};

}  // namespace livewebtest
