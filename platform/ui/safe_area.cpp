#include "platform/ui/safe_area.h"

#include <vector>

namespace ui {

std::string IgnoresSafeAreaModifier::describe() const {
  const char* region = regions == SafeAreaRegions::all         ? "all"
                       : regions == SafeAreaRegions::container ? "container"
                                                               : "keyboard";
  std::vector<std::string> names;
  if (edges == Edges::all) {
    names.push_back("all");
  } else {
    if (contains(edges, Edges::top)) names.push_back("top");
    if (contains(edges, Edges::leading)) names.push_back("leading");
    if (contains(edges, Edges::bottom)) names.push_back("bottom");
    if (contains(edges, Edges::trailing)) names.push_back("trailing");
  }
  std::string text = std::string("ignoresSafeArea(") + region + ", edges:";
  for (const auto& name : names) text += " " + name;
  return text + ")";
}

}  // namespace ui
