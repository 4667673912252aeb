#include "platform/desktop/headless_web.h"

#include <atomic>
#include <exception>
#include <utility>

#include "platform/foundation/json_text.h"

namespace desktop {

void HeadlessWebPage::setClient(WebPageClient client) {
  std::lock_guard lock(mutex_);
  client_ = std::move(client);
}

WebPageClient HeadlessWebPage::client() const {
  std::lock_guard lock(mutex_);
  return client_;
}

void HeadlessWebPage::setCustomUserAgent(std::optional<std::string> userAgent) {
  std::lock_guard lock(mutex_);
  customUserAgent_ = std::move(userAgent);
}

void HeadlessWebPage::setScriptMessageHandlerNames(std::vector<std::string> names) {
  std::lock_guard lock(mutex_);
  handlerNames_ = std::move(names);
}

std::vector<std::string> HeadlessWebPage::scriptMessageHandlerNames() const {
  std::lock_guard lock(mutex_);
  return handlerNames_;
}

void HeadlessWebPage::setPlacement(std::optional<PagePlacement> placement) {
  std::lock_guard lock(mutex_);
  placements_.push_back(placement);
}

std::optional<PagePlacement> HeadlessWebPage::placement() const {
  std::lock_guard lock(mutex_);
  return placements_.empty() ? std::nullopt : placements_.back();
}

std::vector<std::optional<PagePlacement>> HeadlessWebPage::placements() const {
  std::lock_guard lock(mutex_);
  return placements_;
}

void HeadlessWebPage::load(PageLoad load, std::vector<InjectedScript> scripts) {
  std::lock_guard lock(mutex_);
  loads_.push_back(std::move(load));
  scripts_ = std::move(scripts);
}

ScriptEvaluation HeadlessWebPage::evaluateScript(const std::string& script) {
  std::lock_guard lock(mutex_);
  evaluated_.push_back(script);
  if (script == "document.documentElement.outerHTML") {
    try {
      return {foundation::jsonText(foundation::Json(documentHTML_)), std::nullopt};
    } catch (const std::exception& error) {
      return {std::nullopt, error.what()};
    }
  }
  return {std::nullopt, "A JavaScript exception occurred"};
}

void HeadlessWebPage::evaluateScript(const std::string& script,
                                     std::function<void(ScriptEvaluation)> completion) {
  auto evaluation = evaluateScript(script);
  if (completion) completion(std::move(evaluation));
}

std::vector<PageLoad> HeadlessWebPage::loads() const {
  std::lock_guard lock(mutex_);
  return loads_;
}

std::optional<std::string> HeadlessWebPage::currentURL() const {
  std::lock_guard lock(mutex_);
  if (loads_.empty()) return std::nullopt;
  return loads_.back().url;
}

std::optional<std::string> HeadlessWebPage::customUserAgent() const {
  std::lock_guard lock(mutex_);
  return customUserAgent_;
}

std::string HeadlessWebPage::userAgent() const {
  std::lock_guard lock(mutex_);
  return customUserAgent_.value_or(kDefaultUserAgent);
}

std::vector<InjectedScript> HeadlessWebPage::injectedScripts() const {
  std::lock_guard lock(mutex_);
  return scripts_;
}

std::vector<std::string> HeadlessWebPage::evaluatedScripts() const {
  std::lock_guard lock(mutex_);
  return evaluated_;
}

void HeadlessWebPage::setDocumentHTML(std::string html) {
  std::lock_guard lock(mutex_);
  documentHTML_ = std::move(html);
}

void HeadlessWebPage::commitNavigation() {
  if (auto c = client(); c.didCommitNavigation) c.didCommitNavigation();
}

void HeadlessWebPage::finishNavigation() {
  if (auto c = client(); c.didFinishNavigation) c.didFinishNavigation();
}

void HeadlessWebPage::failNavigation(int code, const std::string& description) {
  if (auto c = client(); c.didFailNavigation) c.didFailNavigation(code, description);
}

bool HeadlessWebPage::postScriptMessage(const std::string& name, const std::string& bodyJSON) {
  auto c = client();
  return c.didReceiveScriptMessage && c.didReceiveScriptMessage(name, bodyJSON);
}

void HeadlessWebPage::followLink(const std::string& url) {
  std::size_t index = 0;
  {
    std::lock_guard lock(mutex_);
    index = decisions_.size();
    decisions_.push_back({url, std::nullopt});
  }
  auto c = client();
  if (!c.decidePolicyForNavigation) {
    std::lock_guard lock(mutex_);
    decisions_[index].allowed = true;
    loads_.push_back({url, std::nullopt});
    return;
  }
  // The program answers once; a second answer, or one that arrives after the page is gone, is dropped.
  auto answered = std::make_shared<std::atomic<bool>>(false);
  std::weak_ptr<HeadlessWebPage> weakPage = weak_from_this();
  c.decidePolicyForNavigation(url, [weakPage, answered, index, url](bool allow) {
    if (answered->exchange(true)) return;
    auto page = weakPage.lock();
    if (!page) return;
    std::lock_guard lock(page->mutex_);
    page->decisions_[index].allowed = allow;
    if (allow) page->loads_.push_back({url, std::nullopt});
  });
}

std::vector<NavigationDecision> HeadlessWebPage::navigationDecisions() const {
  std::lock_guard lock(mutex_);
  return decisions_;
}

void HeadlessWebPage::clickFileInput(bool allowsMultipleSelection) {
  std::size_t index = 0;
  {
    std::lock_guard lock(mutex_);
    index = fileChoices_.size();
    fileChoices_.emplace_back(std::nullopt);
  }
  auto c = client();
  if (!c.runOpenPanel) return;
  auto answered = std::make_shared<std::atomic<bool>>(false);
  std::weak_ptr<HeadlessWebPage> weakPage = weak_from_this();
  c.runOpenPanel(allowsMultipleSelection,
                 [weakPage, answered, index](std::optional<std::vector<std::string>> fileURLs) {
                   if (answered->exchange(true)) return;
                   auto page = weakPage.lock();
                   if (!page) return;
                   std::lock_guard lock(page->mutex_);
                   page->fileChoices_[index] = std::move(fileURLs);
                 });
}

std::vector<std::optional<std::vector<std::string>>> HeadlessWebPage::fileChoices() const {
  std::lock_guard lock(mutex_);
  return fileChoices_;
}

void HeadlessWebPage::receiveDownload(const std::string& url) {
  if (auto c = client(); c.didBecomeDownload) c.didBecomeDownload(url);
}

std::shared_ptr<WebPage> HeadlessWeb::openPage() {
  std::lock_guard lock(mutex_);
  auto page = std::make_shared<HeadlessWebPage>(static_cast<int>(pages_.size()) + 1);
  pages_.push_back(page);
  return page;
}

std::vector<std::shared_ptr<HeadlessWebPage>> HeadlessWeb::pages() const {
  std::lock_guard lock(mutex_);
  return pages_;
}

std::shared_ptr<HeadlessWebPage> HeadlessWeb::lastPage() const {
  std::lock_guard lock(mutex_);
  return pages_.empty() ? nullptr : pages_.back();
}

}  // namespace desktop
