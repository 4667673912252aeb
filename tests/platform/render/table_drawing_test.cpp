// A long Markdown table in a scroll view, drawn with real font metrics after scrolling far down: its later
// rows come into sight with their text in their cells, aligned as their columns say, and with the same
// border lines as the rows at its top.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "MarkdownRender/views/markdown_view.h"
#include "MarkdownRender/views/table_view.h"
#include "platform/appkit/controls.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using foundation::Rect;
using ui::testing::WindowHost;

// How many pixels inside `area` carry ink (a dark channel): text, not background or border lines.
int inkIn(const render::Canvas& canvas, const Rect& area) {
  int count = 0;
  const int left = static_cast<int>(std::ceil(area.minX())),
            right = static_cast<int>(std::floor(area.maxX()));
  const int top = static_cast<int>(std::ceil(area.minY())),
            bottom = static_cast<int>(std::floor(area.maxY()));
  for (int y = std::max(top, 0); y < std::min(bottom, canvas.pixelsHigh()); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, canvas.pixelsWide()); ++x) {
      const std::uint32_t pixel = canvas.pixel(x, y);
      const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
      if (std::min({red, green, blue}) < 128) ++count;
    }
  }
  return count;
}

TEST(TableDrawing, ALongTableScrolledFarDrawsItsLaterRowsWhereTheyAreLaidOut) {
  // Numbers aligned to the trailing edge of their column, their squares to the leading edge.
  // Headers wider than any cell below leave room on the side each text is not aligned to.
  std::string markdown = "| the number n | the square of n |\n|--:|:--|\n";
  for (int i = 1; i <= 300; ++i)
    markdown += "| " + std::to_string(i) + " | " + std::to_string(i * i) + " |\n";
  WindowHost host(ui::ScrollView(MarkdownRender::Markdown(markdown)).frame(300, 200), {300, 200},
                  std::make_shared<render::PangoTextMeasurer>());
  auto scroll = std::dynamic_pointer_cast<appkit::ScrollView>(
      host.platformView(host.find(ui::testing::type("ScrollView"))));
  ASSERT_NE(scroll, nullptr);
  const auto cells = host.findAll(ui::testing::type<MarkdownRender::TableCellView>());
  ASSERT_EQ(cells.size(), 2u * 301u);
  const Rect header = host.frame(cells[0]);
  const Rect number = host.frame(cells[2 * 250]), square = host.frame(cells[2 * 250 + 1]);
  const auto top = render::Renderer().draw(host.window());

  // Scrolled so that the line below row 250 lies exactly where the line below the header lay.
  const double offset = number.maxY() - header.maxY();
  ASSERT_GT(offset, 3000);
  scroll->contentView()->setBoundsOrigin({0, offset});
  const auto scrolled = render::Renderer().draw(host.window());
  auto shown = [&](const Rect& r) { return Rect(r.minX(), r.minY() - offset, r.width(), r.height()); };

  // The lines across the table there, and where they cross the lines between the columns, are drawn alike.
  const int lineY = static_cast<int>(std::floor(header.maxY() + 0.5));
  std::vector<std::uint32_t> lineAtTop, lineScrolled;
  for (int x = 0; x < 300; ++x) {
    lineAtTop.push_back(top.pixel(x, lineY));
    lineScrolled.push_back(scrolled.pixel(x, lineY));
  }
  EXPECT_EQ(lineScrolled, lineAtTop);

  // Each text is drawn inside its own frame, its cell on the side of the column (as wide as its header)
  // that the column aligns it to, and nothing is drawn in the rest of the column.
  const Rect numberText = shown(host.frame(host.find(ui::testing::text("250"))));
  const Rect squareText = shown(host.frame(host.find(ui::testing::text("62500"))));
  const Rect numberCell = shown(number), squareCell = shown(square);
  const Rect numbers = host.frame(cells[0]), squares = host.frame(cells[1]);
  EXPECT_GT(inkIn(scrolled, numberText), 0);
  EXPECT_GT(inkIn(scrolled, squareText), 0);
  EXPECT_EQ(numberCell.maxX(), numbers.maxX());
  EXPECT_GT(numberCell.minX(), numbers.minX() + 20);
  EXPECT_EQ(inkIn(scrolled, Rect(numbers.minX(), numberCell.minY(), numberText.minX() - numbers.minX(),
                                 numberCell.height())),
            0);
  EXPECT_EQ(squareCell.minX(), squares.minX());
  EXPECT_GT(squares.maxX(), squareCell.maxX() + 20);
  EXPECT_EQ(inkIn(scrolled, Rect(squareText.maxX(), squareCell.minY(), squares.maxX() - squareText.maxX(),
                                 squareCell.height())),
            0);
}

}  // namespace
