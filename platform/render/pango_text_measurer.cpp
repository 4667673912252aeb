#include "platform/render/pango_text_measurer.h"

#include <string>

namespace render {

foundation::Size PangoTextMeasurer::measure(std::string_view text, const ui::Font& font,
                                            std::optional<double> width, double lineSpacing) const {
  return measureAttributed(ui::AttributedString(std::string(text)), font, width, lineSpacing);
}

foundation::Size PangoTextMeasurer::measureAttributed(const ui::AttributedString& text, const ui::Font& font,
                                                      std::optional<double> width, double lineSpacing) const {
  TextSetting setting;
  setting.font = font;
  setting.width = width;
  setting.lineSpacing = lineSpacing;
  return engine_.measure(text, setting);
}

void installPangoTextMeasurer() { ui::setDefaultTextMeasurer(std::make_shared<const PangoTextMeasurer>()); }

}  // namespace render
