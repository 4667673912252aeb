// A node's list of children: the one child most nodes have is kept in place and more go to storage of
// their own; moved, emptied or filled again, the list keeps its children in order and holds on to none
// it let go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/view_graph.h"

namespace ui::detail {
namespace {

bool holds(const NodeChildren& children, const std::vector<std::shared_ptr<Node>>& nodes) {
  return children.size() == nodes.size() && std::equal(children.begin(), children.end(), nodes.begin());
}

TEST(NodeChildren, KeepsItsChildrenInOrderWhateverTheirNumber) {
  for (std::size_t count : {0u, 1u, 2u, 3u, 9u}) {
    SCOPED_TRACE(count);
    std::vector<std::shared_ptr<Node>> nodes;
    NodeChildren children;
    for (std::size_t i = 0; i < count; ++i) {
      nodes.push_back(std::make_shared<Node>());
      children.push_back(nodes.back());
    }
    EXPECT_TRUE(holds(children, nodes));
    if (count > 0) {
      EXPECT_EQ(children.front(), nodes.front());
      EXPECT_EQ(children.back(), nodes.back());
    }

    // Moved, the list takes its children along and leaves none behind.
    NodeChildren moved = std::move(children);
    EXPECT_TRUE(children.empty());  // NOLINT: a moved-from list is empty
    EXPECT_TRUE(holds(moved, nodes));

    // Emptied, it lets go of them.
    moved.clear();
    EXPECT_TRUE(moved.empty());
    for (const auto& node : nodes) EXPECT_EQ(node.use_count(), 1);

    // Filled again after room was made, and assigned over a list that held children, it holds the new ones.
    moved.reserve(count + 1);
    for (const auto& node : nodes) moved.push_back(node);
    NodeChildren other;
    other.push_back(std::make_shared<Node>());
    other = std::move(moved);
    EXPECT_TRUE(holds(other, nodes));
    EXPECT_TRUE(moved.empty());  // NOLINT: a moved-from list is empty
  }
}

}  // namespace
}  // namespace ui::detail
