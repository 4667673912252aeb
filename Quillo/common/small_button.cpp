#include "Quillo/common/small_button.h"

#include <utility>
#include <vector>

#include "platform/ui/views.h"

namespace Quillo {

SmallButton::SmallButton(std::function<void()> action, std::string title, std::string icon,
                         std::string helpText, ui::Color tintColor, std::optional<ui::Color> symbolColor)
    : action_(std::move(action)),
      title_(std::move(title)),
      icon_(std::move(icon)),
      helpText_(std::move(helpText)),
      tintColor_(std::move(tintColor)),
      symbolColor_(std::move(symbolColor)) {}

ui::AnyView SmallButton::body() const {
  using namespace ui;
  std::vector<AnyView> parts;
  if (!icon_.empty())
    parts.push_back(Image::systemName(icon_).foregroundStyle(symbolColor_.value_or(Color::primary())));
  parts.push_back(Text(title_).foregroundStyle(tintColor_));
  FrameModifier minimumHeight;
  minimumHeight.minHeight = 32;
  auto label = HStack(VerticalAlignment::center, 3, parts)
                   .padding(Edges::horizontal, 8)
                   .padding(Edges::vertical, 6)
                   .frame(minimumHeight);
  auto action = action_;
  return Button([action] { action(); }, label)
      .buttonStyle(ButtonStyle::plain)
      .font(Font::textStyle(TextStyle::headline, FontDesign::rounded).weight(FontWeight::semibold))
      .background(tintColor_.opacity(*isHovering_ ? 0.2 : 0.1))
      .clipShape(RoundedRectangle(5, CornerStyle::continuous))
      .help(localizedString(helpText_))
      .onHover([isHovering = isHovering_](bool isInside) {
        withAnimation(Animation::easeIn(0.25), [&] { isHovering.set(isInside); });
      });
}

}  // namespace Quillo
