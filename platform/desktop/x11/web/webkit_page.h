// One web view's page in WebKitGTK: a WebKitWebView that loads the program's documents with their injected
// scripts and handler names, reports its navigations, messages and file inputs to the program, and stands
// in the child layer of the window its view is shown in.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/web_engine_service.h"

namespace desktop::x11 {

// The child layer of the program's window of that number while the window is shown, else null.
using ChildLayerFinder = std::function<GtkWidget*(std::uint64_t windowNumber)>;

// Main thread only (the GTK thread), as the web views it serves. The page's events reach the client
// through the main queue, never from inside WebKit's own signal handlers, so a client may run a modal
// panel or let the page go while it answers; they arrive in the order the page raised them.
class WebKitPage final : public WebPage, public std::enable_shared_from_this<WebKitPage> {
  struct Token {};

 public:
  // A page in `context`, sharing the web process of `relatedView` when there is one.
  static std::shared_ptr<WebKitPage> make(WebKitWebContext* context, WebKitWebView* relatedView,
                                          ChildLayerFinder childLayerOf);
  WebKitPage(Token, WebKitWebContext* context, WebKitWebView* relatedView, ChildLayerFinder childLayerOf);
  ~WebKitPage() override;
  WebKitPage(const WebKitPage&) = delete;
  WebKitPage& operator=(const WebKitPage&) = delete;

  void setClient(WebPageClient client) override;
  void setCustomUserAgent(std::optional<std::string> userAgent) override;
  void setScriptMessageHandlerNames(std::vector<std::string> names) override;
  // Navigations the document asks for itself go to the client's policy first, and so does this load.
  // A load that has not committed when its time-out passes is stopped. Failures before the document
  // commits (an address that does not answer) are not reported, as the platform reports them apart.
  void load(PageLoad load, std::vector<InjectedScript> scripts) override;
  // A script whose value JSON cannot express (undefined, a function) gives JSON null.
  void evaluateScript(const std::string& script, std::function<void(ScriptEvaluation)> completion) override;
  // Puts the web view into the window's child layer at the frame (whole pixels) and shows it; hides it
  // when there is no placement or the window is not shown.
  void setPlacement(std::optional<PagePlacement> placement) override;

  WebKitWebView* webView() const { return webView_; }
  const std::optional<PagePlacement>& placement() const { return placement_; }
  // Whether the web view is shown in a window now.
  bool isShown() const;

 private:
  static gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                               gpointer self);
  static void loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer self);
  static gboolean loadFailed(WebKitWebView*, WebKitLoadEvent event, gchar* uri, GError* error, gpointer self);
  static gboolean runFileChooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer self);
  static gboolean timedOut(gpointer self);

  // Runs `event` with the client on the main queue, unless the page has gone by then.
  void post(std::function<void(const WebPageClient&)> event);
  void receiveScriptMessage(const std::string& name, std::string bodyJSON);
  void applyPlacement();
  void stopTimeout();

  ChildLayerFinder childLayerOf_;
  WebKitUserContentManager* contentManager_ = nullptr;
  WebKitSettings* settings_ = nullptr;
  WebKitWebView* webView_ = nullptr;
  WebPageClient client_;
  std::vector<std::string> handlerNames_;
  std::optional<PagePlacement> placement_;
  guint timeoutSource_ = 0;
  // Of the document loading now: whether it committed, and whether it failed since.
  bool isCommitted_ = false;
  bool hasFailed_ = false;
};

}  // namespace desktop::x11
