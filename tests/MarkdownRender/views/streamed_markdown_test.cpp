// A document that changes while it is shown (a streamed reply) looks exactly as a view made afresh from
// its latest text, wherever the change falls: blocks kept from before are laid out around the new ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "MarkdownRender/views/markdown_view.h"
#include "platform/appkit/view.h"
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

// The hosted platform views (a code block's scroll view, say), back to front, with their frames.
void describe(const appkit::View& view, std::ostream& out, int depth = 0) {
  const auto frame = view.frame();
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << view.className() << " (" << frame.minX()
      << ", " << frame.minY() << ", " << frame.width() << ", " << frame.height() << ")\n";
  for (const auto& subview : view.subviews()) describe(*subview, out, depth + 1);
}

std::string arrangement(WindowHost& host) {
  std::ostringstream out;
  describe(host.hostingView().layout(), *host.graph().root(), out);
  describe(host.hostingView(), out);
  return out.str() + host.dump();
}

// Texts shown one after another in one view, as a reply is streamed into it.
struct Case {
  const char* what;
  std::vector<std::string> steps;
};

// Each step of the case looks (views, frames, hosted views) as the same text shown afresh.
void expectEveryStepLooksFresh(const Case& c) {
  SCOPED_TRACE(c.what);
  WindowHost streamed(shown(c.steps.front()), {400, 600});
  for (const auto& step : c.steps) {
    SCOPED_TRACE(step);
    streamed.setRoot(shown(step));
    WindowHost fresh(shown(step), {400, 600});
    EXPECT_EQ(arrangement(streamed), arrangement(fresh));
  }
}

TEST(StreamedMarkdown, EveryStepLooksAsTheSameTextShownAfresh) {
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
        "| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |",
        "| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |\n\nAfter."}},
      {"blocks that leave", {"one\n\ntwo\n\n```\ncode\n```\n\nthree", "one\n\nthree", "three"}},
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
  for (const auto& c : cases) expectEveryStepLooksFresh(c);
}

// A reply of many blocks of every kind, streamed in pieces of a few characters: each step, wherever it
// cuts the text (inside a table row, a fence, a list marker), looks as the same text shown afresh, and so
// do the margins between all the blocks kept from the steps before.
TEST(StreamedMarkdown, ALongReplyStreamedInSmallPiecesLooksAsItsTextShownAfresh) {
  std::string reply;
  for (int section = 1; section <= 3; ++section) {
    const auto n = std::to_string(section);
    reply +=
        "## Step " + n + "\n\nRecords are **sorted** with `sort()`, see [the guide](https://example.com/";
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

// `count` paragraphs "Paragraph 1." to "Paragraph <count>.", separated by blank lines.
std::string paragraphs(int count) {
  std::string text;
  for (int n = 1; n <= count; ++n) text += (n > 1 ? "\n\n" : "") + ("Paragraph " + std::to_string(n) + ".");
  return text;
}

// Replies long enough that their blocks are shown in several runs of rows (of 16 blocks each): a change
// inside a run that is otherwise finished, blocks pushed across the runs' bounds, and the space between
// the last block of a run and the first of the next all look as the same text shown afresh.
TEST(StreamedMarkdown, ALongReplyLooksAsItsTextShownAfreshWhereverItChanges) {
  const std::string twenty = paragraphs(20);
  const std::string fifteen = paragraphs(15);  // the 16th block starts the second run
  std::string withCode;  // code blocks (hosted in scroll views of their own) in every run
  for (int n = 1; n <= 40; ++n) {
    withCode += n == 1 ? "" : "\n\n";
    withCode +=
        n % 5 == 0 ? "```\ncode " + std::to_string(n) + "\n```" : "Paragraph " + std::to_string(n) + ".";
  }
  auto withParagraph = [](std::string text, int n, const std::string& replacement) {
    const std::string own = "Paragraph " + std::to_string(n) + ".";
    text.replace(text.find(own + "\n"), own.size(), replacement);
    return text;
  };
  const Case cases[] = {
      {"an early paragraph turned into a setext heading",
       {twenty, withParagraph(twenty, 3, "Paragraph 3.\n==="), withParagraph(twenty, 3, "Paragraph 3.\n---"),
        twenty}},
      {"an early paragraph continued by a lazy line and a list",
       {twenty, withParagraph(twenty, 5, "Paragraph 5.\ncontinued"),
        withParagraph(twenty, 5, "- Paragraph 5.\ncontinued"),
        withParagraph(twenty, 5, "- Paragraph 5.\n- more")}},
      {"a reference defined at the end links a paragraph of a finished run",
       {"[the guide]\n\n" + twenty, "[the guide]\n\n" + twenty + "\n\n[the guide]: https://example.com",
        "[the guide]\n\n" + twenty + "\n\n[the guide]: https://example.com\n\nAfter."}},
      {"blocks inserted before the others, pushing blocks across runs",
       {twenty, "# Title\n\n" + twenty, "# Title\n\n> quoted\n\n" + twenty, twenty}},
      {"blocks removed before the others",
       {"# Title\n\n> quoted\n\n" + twenty, "> quoted\n\n" + twenty, twenty}},
      {"the margins between the last block of a run and the first of the next",
       {fifteen + "\n\nLast.", fifteen + "\n\n# Heading", fifteen + "\n\n```\ncode\n```",
        withParagraph(fifteen + "\n\n```\ncode\n```", 15, "# Paragraph 15."),
        withParagraph(fifteen + "\n\n```\ncode\n```", 15, "- Paragraph 15.\n- another"),
        fifteen + "\n\n```\ncode\n```"}},
      {"a table in a later run that grows a row as it streams",
       {twenty + "\n\n| a | b |\n|---|--:|\n| 1 | 2 |", twenty + "\n\n| a | b |\n|---|--:|\n| 1 | 2 |\n| 3",
        twenty + "\n\n| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |",
        twenty + "\n\n| a | b |\n|---|--:|\n| 1 | 2 |\n| 3 | 4 |\n\nAfter."}},
      {"code blocks in finished runs, moved by a block above them that grows and shrinks",
       {withCode, withCode + "\n\nThe last",
        withParagraph(withCode, 2, "Paragraph 2, now long enough to wrap onto a second line in the view.") +
            "\n\nThe last",
        withCode + "\n\nThe last block", "# Title\n\n" + withCode}},
      {"runs that fill up and empty again",
       {paragraphs(15), paragraphs(16), paragraphs(17), paragraphs(33), paragraphs(32), paragraphs(3)}},
  };
  for (const auto& c : cases) expectEveryStepLooksFresh(c);
}

TEST(StreamedMarkdown, ALongDocumentIsDumpedAsOneBlockAfterAnother) {
  // However many blocks there are, each is shown (and dumped) as a view of the document's one sequence.
  WindowHost host(shown(paragraphs(40)), {400, 600});
  const std::string dump = host.dump();
  EXPECT_EQ(dump.find("ForEachRun"), std::string::npos);
  auto depthOf = [&dump](const std::string& text) {
    const auto at = dump.find("\"" + text + "\"");
    EXPECT_NE(at, std::string::npos) << text;
    const auto lineStart = dump.rfind('\n', at) + 1;
    return dump.find_first_not_of(' ', lineStart) - lineStart;
  };
  EXPECT_EQ(depthOf("Paragraph 1."), depthOf("Paragraph 17."));
  EXPECT_EQ(depthOf("Paragraph 1."), depthOf("Paragraph 40."));
}

TEST(StreamedMarkdown, AGrowingReplyDoesNotEvaluateItsFinishedRunsAgain) {
  // The views of the first run of blocks, all finished, are neither made nor evaluated again while the
  // reply grows at its end; a block that changes inside a finished run is made again, alone.
  auto evaluationsAbove = [](const ui::testing::ViewRef& text) {
    const ui::detail::Node* node = &text.node();
    while (node->kind() != ui::detail::Node::Kind::composite) node = node->parent();
    return std::make_pair(node, node->evaluationCount());
  };
  WindowHost host(shown(paragraphs(20) + "\n\nThe last"), {400, 600});
  const auto second = host.find(ui::testing::text("Paragraph 2."));
  const auto third = host.find(ui::testing::text("Paragraph 3."));
  const auto secondBefore = evaluationsAbove(second);
  const auto thirdBefore = evaluationsAbove(third);
  host.setRoot(shown(paragraphs(20) + "\n\nThe last block"));
  host.setRoot(shown(paragraphs(20) + "\n\nThe last block, growing"));
  EXPECT_EQ(host.find(ui::testing::text("Paragraph 2.")), second);
  EXPECT_EQ(evaluationsAbove(second), secondBefore);
  EXPECT_EQ(evaluationsAbove(third), thirdBefore);
  host.setRoot(shown(std::string(paragraphs(20)).replace(paragraphs(2).size(), 0, "\n===") +
                     "\n\nThe last block, growing"));
  // The heading is a view of its own; the paragraph below it keeps its view.
  EXPECT_NE(host.find(ui::testing::text("Paragraph 2.")), second);
  EXPECT_EQ(host.find(ui::testing::text("Paragraph 3.")), third);
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
