// The headless web engine and file panels that the web chat tests drive: script results and use from
// several threads.
#include "platform/desktop/headless_web.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/json_text.h"

namespace {

TEST(HeadlessWebPage, AnswersTheDocumentHTMLAsAJSONString) {
  struct Case {
    std::string html;
    std::string text;
  };
  const Case cases[] = {
      {"<p class=\"a\">x\\y</p>\n", "<p class=\"a\">x\\y</p>\n"},
      {"", ""},
      {std::string("bad \xff byte"), "bad \xef\xbf\xbd byte"},  // invalid UTF-8 reads as U+FFFD
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    desktop::HeadlessWebPage page(1);
    page.setDocumentHTML(c.html);
    auto evaluation = page.evaluateScript("document.documentElement.outerHTML");
    ASSERT_TRUE(evaluation.resultJSON);
    EXPECT_EQ(foundation::parseJson(*evaluation.resultJSON), foundation::Json(c.text));
  }
}

TEST(HeadlessWebPage, RecordsLoadsFromOneThreadWhileAnotherReads) {
  desktop::HeadlessWebPage page(1);
  constexpr int kLoads = 2000;
  std::thread loader([&] {
    for (int i = 0; i < kLoads; ++i) page.load({"https://example.com/" + std::to_string(i), 60.0}, {});
  });
  std::size_t seen = 0;
  while (seen < kLoads) {
    const auto loads = page.loads();
    ASSERT_GE(loads.size(), seen);  // never shrinks, never torn
    seen = loads.size();
  }
  loader.join();
  EXPECT_EQ(page.currentURL(), "https://example.com/1999");
}

TEST(HeadlessFilePanels, AnswersScriptedFromTwoThreadsAreEachUsedOnce) {
  desktop::HeadlessFilePanels panels;
  constexpr int kEach = 500;
  auto script = [&](const std::string& prefix) {
    for (int i = 0; i < kEach; ++i)
      panels.answerNextOpenPanel(std::vector<std::string>{prefix + std::to_string(i)});
  };
  std::thread first(script, "/a/");
  std::thread second(script, "/b/");
  first.join();
  second.join();
  std::set<std::string> chosen;
  for (int i = 0; i < 2 * kEach; ++i) chosen.insert(panels.runOpenPanel({}).value().at(0));
  EXPECT_EQ(chosen.size(), 2u * kEach);
  EXPECT_FALSE(panels.runOpenPanel({}).has_value());
  EXPECT_EQ(panels.shownPanels().size(), 2u * kEach + 1);
}

}  // namespace
