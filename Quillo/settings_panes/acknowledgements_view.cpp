#include "Quillo/settings_panes/acknowledgements_view.h"

#include "platform/ui/views.h"

namespace Quillo {

ui::AnyView acknowledgementRow(const std::string& name, const std::string& licence) {
  using namespace ui;
  return VStack(HorizontalAlignment::leading, std::nullopt, Text::verbatim(name).font(Font().bold()),
                Text::verbatim(licence))
      .padding(16)
      .background(Color::controlBackgroundColor())
      .clipShape(RoundedRectangle(8, CornerStyle::continuous));
}

ui::AnyView AcknowledgementsView::body() const {
  using namespace ui;
  std::vector<AnyView> sections;
  for (const auto& entry : acknowledgements()) {
    sections.push_back(Section(EmptyView(), {acknowledgementRow(entry.name, entry.licence)}));
  }
  return List(sections);
}

}  // namespace Quillo
