// The text measurer with real font metrics: layout measures text with the same Pango setting the
// renderer draws it with.
#pragma once

#include <memory>

#include "platform/render/text_engine.h"
#include "platform/ui/layout/text_measurer.h"

namespace render {

class PangoTextMeasurer final : public ui::TextMeasurer {
 public:
  explicit PangoTextMeasurer(TextEngine& engine = TextEngine::shared()) : engine_(engine) {}

  foundation::Size measure(std::string_view text, const ui::Font& font, std::optional<double> width,
                           double lineSpacing = 0) const override;
  foundation::Size measureAttributed(const ui::AttributedString& text, const ui::Font& font,
                                     std::optional<double> width, double lineSpacing = 0) const override;
  double lineHeight(const ui::Font& font) const override { return engine_.lineHeight(font); }

 private:
  TextEngine& engine_;
};

// Makes layout everywhere in the process measure with real fonts (the application does this at start-up).
void installPangoTextMeasurer();

}  // namespace render
