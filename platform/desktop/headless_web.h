// The web engine as the headless desktop runs it: pages that record what the program loads into them and
// injects, and that a test drives as a person and a web site would (navigation progress, scripts posting
// messages, links, file inputs, script results).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/headless_file_panels.h"
#include "platform/desktop/web_engine_service.h"

namespace desktop {

// A navigation the page asked the program about, and the program's answer (nothing while unanswered).
struct NavigationDecision {
  std::string url;
  std::optional<bool> allowed;

  bool operator==(const NavigationDecision&) const = default;
};

// One page (one web view's content). The program side sets the client, the user agent and loads; the test
// side reads what happened and drives the page. Thread-safe: one mutex guards the records; the client is
// called outside the lock on the calling thread (web views expect the main thread).
class HeadlessWebPage final : public WebPage, public std::enable_shared_from_this<HeadlessWebPage> {
 public:
  // The engine's own user agent, presented while the program sets no custom one.
  static constexpr const char* kDefaultUserAgent =
      "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/605.1.15 (KHTML, like Gecko)";

  explicit HeadlessWebPage(int identifier) : identifier_(identifier) {}
  HeadlessWebPage(const HeadlessWebPage&) = delete;
  HeadlessWebPage& operator=(const HeadlessWebPage&) = delete;

  int identifier() const { return identifier_; }

  // Program side.
  void setClient(WebPageClient client) override;
  void setCustomUserAgent(std::optional<std::string> userAgent) override;
  void setScriptMessageHandlerNames(std::vector<std::string> names) override;
  void load(PageLoad load, std::vector<InjectedScript> scripts) override;
  void setPlacement(std::optional<PagePlacement> placement) override;
  // Evaluates a script in the current document. The headless document answers
  // "document.documentElement.outerHTML" with its HTML (see setDocumentHTML) and fails every other script.
  ScriptEvaluation evaluateScript(const std::string& script);
  // The same, its completion called within the call.
  void evaluateScript(const std::string& script, std::function<void(ScriptEvaluation)> completion) override;

  // Test side: what the program did.
  std::vector<PageLoad> loads() const;
  std::optional<std::string> currentURL() const;
  std::optional<std::string> customUserAgent() const;
  // The user agent the page presents to web sites: the custom one, else the engine's own.
  std::string userAgent() const;
  // The scripts injected into the current document, in the order they run.
  std::vector<InjectedScript> injectedScripts() const;
  std::vector<std::string> evaluatedScripts() const;
  // The handler names the program declared last.
  std::vector<std::string> scriptMessageHandlerNames() const;
  // Where the program shows the page now (nothing: nowhere), and every placement it was given, in order.
  std::optional<PagePlacement> placement() const;
  std::vector<std::optional<PagePlacement>> placements() const;

  // Test side: driving the page.
  void setDocumentHTML(std::string html);
  void commitNavigation();
  void finishNavigation();
  void failNavigation(int code, const std::string& description);
  // A script in the page posts `bodyJSON` to the handler `name`; returns whether the program received it.
  bool postScriptMessage(const std::string& name, const std::string& bodyJSON);
  // The person follows a link; the page asks the program, and goes there (a new load) when allowed.
  void followLink(const std::string& url);
  std::vector<NavigationDecision> navigationDecisions() const;
  // The person clicks a file input; the choice the program hands back is recorded.
  void clickFileInput(bool allowsMultipleSelection);
  // Each file choice so far: the chosen file URLs, or nothing for a cancelled (or never answered) one.
  std::vector<std::optional<std::vector<std::string>>> fileChoices() const;
  // The page receives a response it cannot show and hands it over as a download.
  void receiveDownload(const std::string& url);

 private:
  WebPageClient client() const;

  const int identifier_;
  mutable std::mutex mutex_;
  WebPageClient client_;
  std::optional<std::string> customUserAgent_;
  std::vector<PageLoad> loads_;
  std::vector<InjectedScript> scripts_;
  std::vector<std::string> evaluated_;
  std::vector<std::string> handlerNames_;
  std::vector<std::optional<PagePlacement>> placements_;
  std::string documentHTML_;
  std::vector<NavigationDecision> decisions_;
  std::vector<std::optional<std::vector<std::string>>> fileChoices_;
};

// The web engine of the desktop: the pages of every web view the program made, and the file panels that
// web pages and the program show. Thread-safe (one mutex guards the page list).
class HeadlessWeb final : public WebEngineService {
 public:
  // A new page for a new web view; it is the newest of pages().
  std::shared_ptr<WebPage> openPage() override;
  // Every page opened so far, oldest first, and the newest one (nothing before the first).
  std::vector<std::shared_ptr<HeadlessWebPage>> pages() const;
  std::shared_ptr<HeadlessWebPage> lastPage() const;

  HeadlessFilePanels& filePanels() { return filePanels_; }

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<HeadlessWebPage>> pages_;
  HeadlessFilePanels filePanels_;
};

}  // namespace desktop
