#include "Quillo/settings_panes/about_settings_pane.h"

#include <string_view>
#include <utility>

#include "Quillo/settings_panes/acknowledgements_view.h"
#include "Quillo/settings_panes/external_links.h"
#include "Quillo/settings_panes/settings_application.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/url.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

std::function<ui::AnyView()>& roadmapContentMaker() {
  static std::function<ui::AnyView()> maker;
  return maker;
}

// Hands a fixed address to the open-URL action; an address that is not a URL opens nothing.
void openAddress(const ui::OpenURLAction& openURL, std::string_view address) {
  if (auto url = foundation::URL::parse(address)) openURL(*url);
}

}  // namespace

std::string aboutVersionLine(const std::optional<std::string>& shortVersion,
                             const std::optional<std::string>& buildNumber) {
  return shortVersion.value_or("") + " (" + buildNumber.value_or("") + ")";
}

void setRoadmapWindowContent(std::function<ui::AnyView()> makeContent) {
  roadmapContentMaker() = std::move(makeContent);
}

std::shared_ptr<appkit::WindowController> openRoadmapWindow() {
  const auto& maker = roadmapContentMaker();
  return openContentWindow(maker ? maker() : ui::EmptyView(), "Quillo Roadmap");
}

std::shared_ptr<appkit::WindowController> openAcknowledgementsWindow() {
  return openContentWindow(AcknowledgementsView(), "Acknowledgements");
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
