// A document that changes while it is shown (a streamed reply) looks exactly as a view made afresh from
// its latest text, wherever the change falls: blocks kept from before are laid out around the new ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace MarkdownRender {
namespace {

using ui::testing::WindowHost;

ui::AnyView shown(const std::string& text) { return ui::ScrollView(Markdown(text)); }

// Every view in tree order with its frame, the tree's text dump below them.
void describe(const ui::LayoutPass& layout, const ui::detail::Node& node, std::ostream& out, int depth = 0) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.typeName();
  if (auto frame = layout.frame(node)) {
    out << " (" << frame->minX() << ", " << frame->minY() << ", " << frame->width() << ", " << frame->height()
        << ")";
  }
  out << "\n";
  for (const auto& child : node.children()) describe(layout, *child, out, depth + 1);
}

std::string arrangement(WindowHost& host) {
  std::ostringstream out;
  describe(host.hostingView().layout(), *host.graph().root(), out);
  return out.str() + host.dump();
}

TEST(StreamedMarkdown, EveryStepLooksAsTheSameTextShownAfresh) {
  struct Case {
    const char* what;
    std::vector<std::string> steps;
  };
  const Case cases[] = {
      {"a paragraph that grows in place",
       {"First paragraph.\n\nSecond", "First paragraph.\n\nSecond paragraph, longer now",
        "First paragraph.\n\nSecond paragraph, longer now and wrapping onto a further line of text "
        "because it keeps going well past the width of the view"}},
      {"a block that changes its kind in place",
       {"Intro\n\n# Head", "Intro\n\n# Heading\n\n- item", "Intro\n\n## Heading\n\n1. item"}},
      {"a block inserted before the others",
       {"alpha\n\nbeta\n\ngamma", "new first block\n\nalpha\n\nbeta\n\ngamma",
        "> quoted\n\nnew first block\n\nalpha\n\nbeta\n\ngamma"}},
      {"a table that grows a row",
       {"| a | b |\n|---|--:|\n| 1 | 2 |", "| a | b |\n|---|--:|\n| 1 | 2 |\n| 3",
        "| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |", "| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |\n\nAfter."}},
      {"blocks that leave",
       {"one\n\ntwo\n\n```\ncode\n```\n\nthree", "one\n\nthree", "three"}},
      {"a list whose items change the margins around it",
       {"Text\n\n- a\n- b", "Text\n\n- a\n\n- b\n\nMore", "Text\n\n- a\n- b\n\nMore"}},
      {"a block in the middle that changes in place",
       {"# Title\n\nfirst\n\n> quoted\n\nlast", "# Title\n\nfirst, longer\n\n> quoted\n\nlast",
        "# Title\n\n## first\n\n> quoted\n\nlast"}},
      {"blocks that leave and come back",
       {"one\n\ntwo\n\nthree", "one\n\nthree", "one\n\ntwo\n\nthree", "one", "one\n\ntwo\n\nthree"}},
      {"the same block at another offset",
       {"same\n\nsame\n\nsame", "same\n\nsame", "# Head\n\nsame\n\nsame\n\nsame"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WindowHost streamed(shown(c.steps.front()), {400, 600});
    for (const auto& step : c.steps) {
      SCOPED_TRACE(step);
      streamed.setRoot(shown(step));
      WindowHost fresh(shown(step), {400, 600});
      EXPECT_EQ(arrangement(streamed), arrangement(fresh));
    }
  }
}

// A reply of many blocks of every kind, streamed in pieces of a few characters: each step, wherever it
// cuts the text (inside a table row, a fence, a list marker), looks as the same text shown afresh, and so
// do the margins between all the blocks kept from the steps before.
TEST(StreamedMarkdown, ALongReplyStreamedInSmallPiecesLooksAsItsTextShownAfresh) {
  std::string reply;
  for (int section = 1; section <= 3; ++section) {
    const auto n = std::to_string(section);
    reply += "## Step " + n + "\n\nRecords are **sorted** with `sort()`, see [the guide](https://example.com/";
    reply += n + ").\n\n";
    reply += "- read\n- sort\n  1. by date\n- write " + n + "\n\n";
    reply += "```swift\nrecords.sort { $0.date > $1.date }\n```\n\n";
    reply += "> quoted " + n + "\n\n";
    reply += "| Method | Mutates |\n|:--|--:|\n| `sort()` | yes |\n| `sorted()` | no |\n\n";
    if (section == 2) reply += "---\n\n";
  }
  WindowHost streamed(shown(""), {400, 600});
  for (std::size_t end = 9; end < reply.size() + 9; end += 9) {
    const std::string step = reply.substr(0, std::min(end, reply.size()));
    streamed.setRoot(shown(step));
    if (end % 36 != 0 && end < reply.size()) continue;  // every fourth step is compared, and the last
    SCOPED_TRACE(step);
    WindowHost fresh(shown(step), {400, 600});
    ASSERT_EQ(arrangement(streamed), arrangement(fresh));
  }
}

TEST(StreamedMarkdown, AGrowingReplyKeepsTheViewsOfItsFinishedBlocks) {
  WindowHost host(shown("First paragraph.\n\nSecond"), {400, 600});
  auto first = host.find(ui::testing::text("First paragraph."));
  host.setRoot(shown("First paragraph.\n\nSecond paragraph"));
  EXPECT_TRUE(first.isAttached());
  EXPECT_EQ(host.find(ui::testing::text("First paragraph.")), first);
}

TEST(StreamedMarkdown, ADocumentMadeAgainWithTheSameTextKeepsItsViewsWithoutEvaluatingThem) {
  // As a chat bubble evaluated again for a reason of its own makes its reply's view again: the reply's
  // blocks are not evaluated again, and what changed around them is shown.
  class Bubble final : public ui::View {
   public:
    ui::AnyView body() const override {
      return ui::VStack(ui::Button("Mark", [marks = marks_] { marks.set(*marks + 1); }),
                        ui::Text::verbatim("marks " + std::to_string(*marks_)),
                        Markdown("First paragraph.\n\n- an item\n- another"));
    }

   private:
    ui::State<int> marks_{0};
  };
  WindowHost host(Bubble(), {400, 600});
  const auto paragraph = host.find(ui::testing::text("First paragraph."));
  const auto evaluations = paragraph.node().evaluationCount();
  host.tap(ui::testing::button("Mark"));
  EXPECT_TRUE(host.exists(ui::testing::text("marks 1")));
  EXPECT_EQ(host.find(ui::testing::text("First paragraph.")), paragraph);
  EXPECT_EQ(paragraph.node().evaluationCount(), evaluations);
}

}  // namespace
}  // namespace MarkdownRender
