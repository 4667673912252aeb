#include "Quillo/settings_panes/settings_caption.h"

namespace Quillo {

ui::AnyView settingsCaption(const std::string& text) {
  using namespace ui;
  return Text(text)
      .font(Font::system(11))
      .foregroundStyle(Color::secondary())
      .fixedSize(false, true)
      .padding(Edges::bottom, 1);
}

}  // namespace Quillo
