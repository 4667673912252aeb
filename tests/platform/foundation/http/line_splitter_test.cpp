#include "platform/foundation/http/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/http/http_header_fields.h"

namespace {

using foundation::LineSplitter;

std::vector<std::string> linesOf(const std::vector<std::string_view>& pieces) {
  LineSplitter splitter;
  std::vector<std::string> lines;
  for (const auto piece : pieces) {
    splitter.append(piece);
    while (auto line = splitter.nextLine()) lines.push_back(*line);
  }
  while (auto line = splitter.finish()) lines.push_back(*line);
  return lines;
}

TEST(LineSplitter, SplitsOnLineFeedAndCarriageReturnLineFeed) {
  struct Case {
    std::string_view body;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\r\ntwo\n", {"one", "two"}},
      {"one\n\ntwo", {"one", "", "two"}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\rb\n", {"a\rb"}},  // a carriage return alone is not a line end
      {"tail\r", {"tail\r"}},
      {"data: {\"x\":1}\n\ndata: [DONE]\n\n", {"data: {\"x\":1}", "", "data: [DONE]", ""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(linesOf({c.body}), c.lines);
  }
}

TEST(LineSplitter, GivesTheSameLinesWhereverTheBytesAreCut) {
  // Two- three- and four-byte characters, a CR LF pair and a last line without terminator.
  const std::string body =
      "data: h\xC3\xA9llo\r\ndata: \xE4\xB8\x96\xE7\x95\x8C\n\n\xF0\x9F\x98\x80 end\r\nlast \xC3\xA9";
  const std::vector<std::string> expected = {"data: h\xC3\xA9llo", "data: \xE4\xB8\x96\xE7\x95\x8C", "",
                                             "\xF0\x9F\x98\x80 end", "last \xC3\xA9"};
  const std::string_view view = body;
  for (std::size_t first = 0; first <= body.size(); ++first) {
    for (std::size_t second = first; second <= body.size(); ++second) {
      SCOPED_TRACE(testing::Message() << "cut at " << first << " and " << second);
      ASSERT_EQ(linesOf({view.substr(0, first), view.substr(first, second - first), view.substr(second)}),
                expected);
    }
  }
}

TEST(LineSplitter, GivesTheSameLinesWhenFedOneByteAtATime) {
  const std::string body = "alpha\r\nbeta\n\ngamma";
  std::vector<std::string_view> pieces;
  for (std::size_t i = 0; i < body.size(); ++i) pieces.push_back(std::string_view(body).substr(i, 1));
  EXPECT_EQ(linesOf(pieces), (std::vector<std::string>{"alpha", "beta", "", "gamma"}));
}

TEST(LineSplitter, HoldsOnlyTheUnfinishedLine) {
  LineSplitter splitter;
  splitter.append("first\nsec");
  EXPECT_EQ(splitter.nextLine(), "first");
  EXPECT_EQ(splitter.nextLine(), std::nullopt);
  EXPECT_EQ(splitter.bufferedSize(), 3u);
  splitter.append("ond\n");
  EXPECT_EQ(splitter.nextLine(), "second");
  EXPECT_EQ(splitter.bufferedSize(), 0u);
  EXPECT_EQ(splitter.finish(), std::nullopt);
}

TEST(HTTPHeaderFields, NamesCompareRegardlessOfCaseAndSetReplaces) {
  foundation::HTTPHeaderFields fields;
  fields.setValue("text/plain", "Content-Type");
  fields.setValue("application/json", "content-type");
  fields.addValue("a=1", "Set-Cookie");
  fields.addValue("b=2", "Set-Cookie");
  EXPECT_EQ(fields.value("CONTENT-TYPE"), "application/json");
  EXPECT_EQ(fields.value("set-cookie"), "a=1");
  EXPECT_EQ(fields.value("Missing"), std::nullopt);
  EXPECT_EQ(fields.size(), 3u);
}

}  // namespace
