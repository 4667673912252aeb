#include "platform/desktop/x11/web/webkit_page.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <utility>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace desktop::x11 {

namespace {

// A script's value as JSON text; undefined and what JSON cannot express become null.
std::string jsonOf(JSCValue* value) {
  if (value == nullptr) return "null";
  gchar* json = jsc_value_to_json(value, 0);
  std::string text = json != nullptr ? json : "null";
  g_free(json);
  return text;
}

// WebKit's load errors under the codes the program's web views report (the platform's URL error codes).
int navigationErrorCode(const GError& error) {
  if (error.domain == WEBKIT_NETWORK_ERROR) {
    switch (error.code) {
      case WEBKIT_NETWORK_ERROR_CANCELLED:
        return -999;
      case WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL:
        return -1002;
      case WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST:
        return -1100;
      default:
        break;
    }
  }
  return -1;
}

// One handler name's connection: the name travels with the signal, which carries only the message.
struct HandlerConnection {
  std::weak_ptr<WebKitPage> page;
  std::string name;
};

}  // namespace

std::shared_ptr<WebKitPage> WebKitPage::make(WebKitWebContext* context, WebKitWebView* relatedView,
                                             ChildLayerFinder childLayerOf) {
  auto page = std::make_shared<WebKitPage>(Token{}, context, relatedView, std::move(childLayerOf));
  return page;
}

WebKitPage::WebKitPage(Token, WebKitWebContext* context, WebKitWebView* relatedView,
                       ChildLayerFinder childLayerOf)
    : childLayerOf_(std::move(childLayerOf)) {
  contentManager_ = webkit_user_content_manager_new();
  settings_ = webkit_settings_new();
  // A related view shares its web process (and the context it belongs to); each page keeps its own
  // scripts, handlers and settings.
  GObject* made = relatedView != nullptr
                      ? static_cast<GObject*>(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", relatedView,
                                                           "user-content-manager", contentManager_,
                                                           "settings", settings_, nullptr))
                      : static_cast<GObject*>(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context,
                                                           "user-content-manager", contentManager_,
                                                           "settings", settings_, nullptr));
  webView_ = WEBKIT_WEB_VIEW(g_object_ref_sink(made));
  // Shown when it is placed, never by a window showing all its widgets.
  gtk_widget_set_no_show_all(GTK_WIDGET(webView_), TRUE);
  g_signal_connect(webView_, "decide-policy", G_CALLBACK(&WebKitPage::decidePolicy), this);
  g_signal_connect(webView_, "load-changed", G_CALLBACK(&WebKitPage::loadChanged), this);
  g_signal_connect(webView_, "load-failed", G_CALLBACK(&WebKitPage::loadFailed), this);
  g_signal_connect(webView_, "run-file-chooser", G_CALLBACK(&WebKitPage::runFileChooser), this);
}

WebKitPage::~WebKitPage() {
  stopTimeout();
  g_signal_handlers_disconnect_by_data(webView_, this);
  for (const auto& name : handlerNames_)
    webkit_user_content_manager_unregister_script_message_handler(contentManager_, name.c_str());
  if (GtkWidget* parent = gtk_widget_get_parent(GTK_WIDGET(webView_)))
    gtk_container_remove(GTK_CONTAINER(parent), GTK_WIDGET(webView_));
  gtk_widget_destroy(GTK_WIDGET(webView_));
  g_object_unref(webView_);
  g_object_unref(settings_);
  g_object_unref(contentManager_);
}

void WebKitPage::post(std::function<void(const WebPageClient&)> event) {
  std::weak_ptr<WebKitPage> weakSelf = weak_from_this();
  foundation::RunLoop::main().async([weakSelf, event = std::move(event)] {
    if (auto self = weakSelf.lock()) {
      // A copy: the client may replace itself while it answers.
      const WebPageClient client = self->client_;
      event(client);
    }
  });
}

void WebKitPage::setClient(WebPageClient client) { client_ = std::move(client); }

void WebKitPage::setCustomUserAgent(std::optional<std::string> userAgent) {
  // Null gives the engine's own user agent back.
  webkit_settings_set_user_agent(settings_, userAgent ? userAgent->c_str() : nullptr);
}

void WebKitPage::setScriptMessageHandlerNames(std::vector<std::string> names) {
  for (const auto& name : handlerNames_) {
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    webkit_user_content_manager_unregister_script_message_handler(contentManager_, name.c_str());
    const guint id = g_signal_lookup("script-message-received", WEBKIT_TYPE_USER_CONTENT_MANAGER);
    g_signal_handlers_disconnect_matched(
        contentManager_, static_cast<GSignalMatchType>(G_SIGNAL_MATCH_ID | G_SIGNAL_MATCH_DETAIL), id,
        g_quark_from_string(name.c_str()), nullptr, nullptr, nullptr);
  }
  for (const auto& name : names) {
    if (std::find(handlerNames_.begin(), handlerNames_.end(), name) != handlerNames_.end()) continue;
    if (!webkit_user_content_manager_register_script_message_handler(contentManager_, name.c_str())) {
      foundation::log("The web page cannot take messages for \"" + name + "\"");
      continue;
    }
    const std::string signal = "script-message-received::" + name;
    auto* connection = new HandlerConnection{weak_from_this(), name};
    g_signal_connect_data(
        contentManager_, signal.c_str(),
        G_CALLBACK(+[](WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
          auto& connection = *static_cast<HandlerConnection*>(data);
          auto page = connection.page.lock();
          if (!page) return;
          page->receiveScriptMessage(connection.name, jsonOf(webkit_javascript_result_get_js_value(result)));
        }),
        connection, [](gpointer data, GClosure*) { delete static_cast<HandlerConnection*>(data); },
        GConnectFlags{});
  }
  handlerNames_ = std::move(names);
}

void WebKitPage::receiveScriptMessage(const std::string& name, std::string bodyJSON) {
  post([name, bodyJSON = std::move(bodyJSON)](const WebPageClient& client) {
    if (client.didReceiveScriptMessage) client.didReceiveScriptMessage(name, bodyJSON);
  });
}

void WebKitPage::load(PageLoad load, std::vector<InjectedScript> scripts) {
  webkit_user_content_manager_remove_all_scripts(contentManager_);
  for (const auto& script : scripts) {
    WebKitUserScript* userScript =
        webkit_user_script_new(script.source.c_str(),
                               script.forMainFrameOnly ? WEBKIT_USER_CONTENT_INJECT_TOP_FRAME
                                                       : WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               script.atDocumentEnd ? WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END
                                                    : WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                               nullptr, nullptr);
    webkit_user_content_manager_add_script(contentManager_, userScript);
    webkit_user_script_unref(userScript);
  }
  stopTimeout();
  if (load.timeoutSeconds && *load.timeoutSeconds > 0) {
    const double milliseconds = std::min(*load.timeoutSeconds * 1000.0, 1e9);
    timeoutSource_ = g_timeout_add(static_cast<guint>(milliseconds), &WebKitPage::timedOut, this);
  }
  webkit_web_view_load_uri(webView_, load.url.c_str());
}

gboolean WebKitPage::timedOut(gpointer data) {
  auto& self = *static_cast<WebKitPage*>(data);
  self.timeoutSource_ = 0;
  if (!self.isCommitted_) webkit_web_view_stop_loading(self.webView_);
  return G_SOURCE_REMOVE;
}

void WebKitPage::stopTimeout() {
  if (timeoutSource_ != 0) g_source_remove(timeoutSource_);
  timeoutSource_ = 0;
}

void WebKitPage::evaluateScript(const std::string& script, std::function<void(ScriptEvaluation)> completion) {
  auto* pending = new std::function<void(ScriptEvaluation)>(std::move(completion));
  webkit_web_view_evaluate_javascript(
      webView_, script.c_str(), static_cast<gssize>(script.size()), nullptr, nullptr, nullptr,
      +[](GObject* source, GAsyncResult* result, gpointer data) {
        std::unique_ptr<std::function<void(ScriptEvaluation)>> completion(
            static_cast<std::function<void(ScriptEvaluation)>*>(data));
        GError* error = nullptr;
        JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
        ScriptEvaluation evaluation;
        if (value != nullptr) {
          evaluation.resultJSON = jsonOf(value);
          g_object_unref(value);
        } else {
          evaluation.errorDescription = error != nullptr ? error->message : "A JavaScript exception occurred";
        }
        if (error != nullptr) g_error_free(error);
        auto finish = std::make_shared<std::function<void(ScriptEvaluation)>>(std::move(*completion));
        foundation::RunLoop::main().async([finish, evaluation = std::move(evaluation)]() mutable {
          if (*finish) (*finish)(std::move(evaluation));
        });
      },
      pending);
}

gboolean WebKitPage::decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                  WebKitPolicyDecisionType type, gpointer data) {
  auto& self = *static_cast<WebKitPage*>(data);
  if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    if (webkit_response_policy_decision_is_mime_type_supported(response)) return FALSE;
    // A response the page cannot show is handed over as a download, which the program takes or leaves;
    // the page itself stays where it is.
    const std::string url =
        webkit_uri_response_get_uri(webkit_response_policy_decision_get_response(response));
    webkit_policy_decision_ignore(decision);
    self.post([url](const WebPageClient& client) {
      if (client.didBecomeDownload) client.didBecomeDownload(url);
    });
    return TRUE;
  }
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const gchar* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const std::string url = uri != nullptr ? uri : "";
  // Held until the program answers; an answer after the page has gone changes nothing.
  g_object_ref(decision);
  auto held = std::shared_ptr<WebKitPolicyDecision>(decision, [](WebKitPolicyDecision* decision) {
    g_object_unref(decision);  // one left unanswered WebKit settles itself
  });
  auto isAnswered = std::make_shared<std::atomic<bool>>(false);
  auto decide = [held, isAnswered](bool allow) {
    if (isAnswered->exchange(true)) return;
    if (allow)
      webkit_policy_decision_use(held.get());
    else
      webkit_policy_decision_ignore(held.get());
  };
  self.post([url, decide](const WebPageClient& client) {
    if (!client.decidePolicyForNavigation) return decide(true);
    client.decidePolicyForNavigation(url, decide);
  });
  return TRUE;
}

void WebKitPage::loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
  auto& self = *static_cast<WebKitPage*>(data);
  switch (event) {
    case WEBKIT_LOAD_STARTED:
      self.isCommitted_ = false;
      self.hasFailed_ = false;
      break;
    case WEBKIT_LOAD_REDIRECTED:
      break;
    case WEBKIT_LOAD_COMMITTED:
      self.isCommitted_ = true;
      self.stopTimeout();
      self.post([](const WebPageClient& client) {
        if (client.didCommitNavigation) client.didCommitNavigation();
      });
      break;
    case WEBKIT_LOAD_FINISHED:
      self.stopTimeout();
      // WebKit finishes a failed load too; only a document that committed and did not fail finished.
      if (self.isCommitted_ && !self.hasFailed_) {
        self.post([](const WebPageClient& client) {
          if (client.didFinishNavigation) client.didFinishNavigation();
        });
      }
      break;
  }
}

gboolean WebKitPage::loadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer data) {
  auto& self = *static_cast<WebKitPage*>(data);
  self.hasFailed_ = true;
  if (self.isCommitted_ && error != nullptr) {
    const int code = navigationErrorCode(*error);
    const std::string description = error->message;
    self.post([code, description](const WebPageClient& client) {
      if (client.didFailNavigation) client.didFailNavigation(code, description);
    });
  }
  return FALSE;
}

gboolean WebKitPage::runFileChooser(WebKitWebView*, WebKitFileChooserRequest* request, gpointer data) {
  auto& self = *static_cast<WebKitPage*>(data);
  g_object_ref(request);
  auto held = std::shared_ptr<WebKitFileChooserRequest>(request, [](WebKitFileChooserRequest* request) {
    g_object_unref(request);  // unanswered, WebKit cancels the choice
  });
  auto isAnswered = std::make_shared<std::atomic<bool>>(false);
  auto choose = [held, isAnswered](std::optional<std::vector<std::string>> fileURLs) {
    if (isAnswered->exchange(true)) return;
    if (!fileURLs) return webkit_file_chooser_request_cancel(held.get());
    std::vector<std::string> paths;
    for (const auto& url : *fileURLs) {
      gchar* path = g_filename_from_uri(url.c_str(), nullptr, nullptr);
      if (path == nullptr) continue;  // not a local file: the page cannot read it
      paths.emplace_back(path);
      g_free(path);
    }
    std::vector<const gchar*> names;
    for (const auto& path : paths) names.push_back(path.c_str());
    names.push_back(nullptr);
    webkit_file_chooser_request_select_files(held.get(), names.data());
  };
  const bool allowsMultipleSelection = webkit_file_chooser_request_get_select_multiple(request);
  self.post([allowsMultipleSelection, choose](const WebPageClient& client) {
    if (!client.runOpenPanel) return choose(std::nullopt);
    client.runOpenPanel(allowsMultipleSelection, choose);
  });
  return TRUE;
}

void WebKitPage::setPlacement(std::optional<PagePlacement> placement) {
  placement_ = std::move(placement);
  applyPlacement();
}

void WebKitPage::applyPlacement() {
  auto* widget = GTK_WIDGET(webView_);
  GtkWidget* layer = placement_ ? childLayerOf_(placement_->windowNumber) : nullptr;
  if (layer == nullptr) {
    gtk_widget_hide(widget);
    return;
  }
  const auto& frame = placement_->frame;
  const int x = static_cast<int>(std::lround(frame.origin.x));
  const int y = static_cast<int>(std::lround(frame.origin.y));
  const int width = std::max(1, static_cast<int>(std::lround(frame.size.width)));
  const int height = std::max(1, static_cast<int>(std::lround(frame.size.height)));
  GtkWidget* parent = gtk_widget_get_parent(widget);
  if (parent != layer) {
    if (parent != nullptr) gtk_container_remove(GTK_CONTAINER(parent), widget);
    gtk_fixed_put(GTK_FIXED(layer), widget, x, y);
  } else {
    gtk_fixed_move(GTK_FIXED(layer), widget, x, y);
  }
  gtk_widget_set_size_request(widget, width, height);
  gtk_widget_show(widget);
}

bool WebKitPage::isShown() const {
  auto* widget = GTK_WIDGET(webView_);
  return gtk_widget_get_parent(widget) != nullptr && gtk_widget_get_mapped(widget);
}

}  // namespace desktop::x11
