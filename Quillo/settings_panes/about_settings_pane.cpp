#include "Quillo/settings_panes/about_settings_pane.h"

#include <string_view>
#include <utility>

#include "Quillo/app/roadmap_window.h"
#include "Quillo/settings_panes/acknowledgements_view.h"
#include "Quillo/settings_panes/external_links.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/url.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

// Hands a fixed address to the open-URL action; an address that is not a URL opens nothing.
void openAddress(const ui::OpenURLAction& openURL, std::string_view address) {
  if (auto url = foundation::URL::parse(address)) openURL(*url);
}

}  // namespace

std::string aboutVersionLine(const std::optional<std::string>& shortVersion,
                             const std::optional<std::string>& buildNumber) {
  return shortVersion.value_or("") + " (" + buildNumber.value_or("") + ")";
}

std::shared_ptr<WindowController> openAcknowledgementsWindow() {
  auto controller = std::make_shared<WindowController>(AcknowledgementsView());
  controller->window()->setTitle("Acknowledgements");
  controller->showWindow();
  return controller;
}

ui::AnyView AboutSettings::tabLabel() { return ui::Label("About", "info.circle"); }

ui::AnyView AboutSettings::body() const {
  using namespace ui;
  const auto openURL = *openURL_;
  const auto bundle = foundation::Bundle::main();

  auto header =
      HStack(
          Image("abouticon").resizable().frame(100, 100),
          VStack(
              HorizontalAlignment::leading, 5,
              VStack(
                  HorizontalAlignment::leading, std::nullopt, Text("Quillo").font(Font::title().bold()),
                  Text("Quillo Pocket: AI Chat").font(Font().italic()).foregroundStyle(Color::secondary())),
              Text::verbatim(aboutVersionLine(bundle->shortVersion(), bundle->buildNumber()))
                  .foregroundStyle(Color::secondary())),
          Spacer())
          .padding(Edges::leading, 100);
  return VStack(header,
                Text("Made by Mika Lindqvist with some help from ChatGPT 🤖")
                    .multilineTextAlignment(TextAlignment::center)
                    .fixedSize()
                    .padding(Edges::top),
                Button("Download iPhone App", [openURL] { openAddress(openURL, kStorePageURLString); }),
                HStack(Button("Feedback", [openURL] { openAddress(openURL, kFeedbackURLString); }),
                       Button("Roadmap", [] { openRoadmapWindow(); }),
                       Button("Acknowledgements", [] { openAcknowledgementsWindow(); })));
}

}  // namespace Quillo
