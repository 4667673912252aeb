// The built-in themes are built once even when several threads ask for them at the same time, and every
// reader gets a complete copy.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "MarkdownRender/styles/theme.h"

namespace {

using MarkdownRender::FontProperties;
using MarkdownRender::Theme;

double codeSize(const Theme& theme) {
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  theme.text.applyAttributes(attributes);
  theme.code.applyAttributes(attributes);
  return MarkdownRender::fontProperties(attributes)->effectiveSize();
}

TEST(BuiltInThemes, ThreadsReadingAtOnceGetTheSameTheme) {
  std::vector<double> sizes(12);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    threads.emplace_back([i, &sizes] {
      switch (i % 3) {
        case 0:
          sizes[i] = codeSize(Theme::standardTheme());
          break;
        case 1:
          sizes[i] = codeSize(Theme::dynamicColorTheme());
          break;
        default:
          sizes[i] = codeSize(Theme::checkboxTheme());
          break;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    SCOPED_TRACE(i);
    const double expected[] = {12, 13, 14};
    EXPECT_EQ(sizes[i], expected[i % 3]);
  }
}

}  // namespace
