#include "Quillo/settings_panes/general_settings_pane.h"

#include <atomic>
#include <cctype>
#include <exception>
#include <functional>
#include <utility>

#include "Quillo/app/main_window_rules.h"
#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/debounced_change.h"
#include "Quillo/settings_panes/picker_options.h"
#include "platform/appkit/application.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/log.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

// What fetchReply gives for any failed exchange.
constexpr const char* kFailureReply = "Something went wrong";

std::atomic<std::size_t> probesInFlight{0};

}  // namespace

std::string textSizeLabel(FontSize size) {
  std::string label = rawValue(size);
  for (std::size_t i = 0; i < label.size(); ++i) {
    const auto c = static_cast<unsigned char>(label[i]);
    label[i] = static_cast<char>(i == 0 ? std::toupper(c) : std::tolower(c));
  }
  return label;
}

std::vector<Model> offeredModels(bool hasGPT4Access) {
  if (hasGPT4Access) return selectableModels();
  return {Model::turbo, Model::turbo16k};
}

void updateWindowLevels(bool floatOnTop) { setMainAndSettingsWindowLevels(floatOnTop); }

void updateActivationPolicy(bool showNormalApp) {
  auto& application = appkit::Application::shared();
  if (showNormalApp) {
    application.setActivationPolicy(appkit::ActivationPolicy::regular);
    return;
  }
  application.setActivationPolicy(appkit::ActivationPolicy::accessory);
  closeMainWindows();
}

GeneralSettings::GeneralSettings()
    : apiKey_(Keys::apiKey()),
      apiModel_(Keys::apiModel()),
      userChatColor_(Keys::userChatColor()),
      showTokenCount_(Keys::showTokenCount()),
      showNormalApp_(Keys::showNormalApp()),
      playSoundWhenReplied_(Keys::playSoundWhenReplied()),
      enableMarkdown_(Keys::enableMarkdown()),
      fontSize_(Keys::fontSize()) {}

ui::AnyView GeneralSettings::tabLabel() { return ui::Label("General", "gear"); }

std::size_t GeneralSettings::keyProbesInFlight() { return probesInFlight.load(); }

void GeneralSettings::probe(Model model, std::function<void(bool)> onResult) {
  ++probesInFlight;
  concurrency::Task<bool> task([model] {
    try {
      ChatGPTAPI api(Defaults::get(Keys::apiKey()));
      return api.fetchReply("test", model, "Reply short", 0.5) != kFailureReply;
    } catch (const std::exception& error) {
      foundation::log(error.what());
      return false;
    }
  });
  task.onFinishOnMain([onResult = std::move(onResult)](const concurrency::Task<bool>& finished) {
    --probesInFlight;
    bool answered = false;
    try {
      answered = finished.value();
    } catch (const std::exception& error) {
      foundation::log(error.what());
    }
    onResult(answered);
  });
}

void GeneralSettings::testAPIKey() const {
  testColor_.set(ui::Color::yellow());
  testGPT4_.set(false);
  auto testColor = testColor_;
  auto testGPT4 = testGPT4_;
  const auto latest = *latestTest_;
  const auto thisTest = ++*latest;
  probe(Model::turbo, [testColor, latest, thisTest](bool answered) {
    if (*latest != thisTest) return;
    if (answered) testColor.set(ui::Color::green());
  });
  probe(Model::gpt4, [testColor, testGPT4, latest, thisTest](bool answered) {
    if (*latest != thisTest) return;
    testGPT4.set(answered);
    if (answered) testColor.set(ui::Color::green());
  });
}

void GeneralSettings::apiKeyDidChange(const std::string&) const { testAPIKey(); }

void GeneralSettings::resetBubbleColor() const { userChatColor_.set(ui::Color::teal()); }

ui::AnyView GeneralSettings::body() const {
  using namespace ui;
  const auto self = *this;

  std::vector<std::pair<FontSize, std::string>> sizes;
  for (FontSize size : allFontSizes) sizes.emplace_back(size, textSizeLabel(size));

  auto badge = Text("GPT-4")
                   .font(Font::caption())
                   .foregroundStyle(Color::secondary())
                   .padding(2)
                   .padding(Edges::horizontal, 2)
                   .overlay(RoundedRectangle(5, CornerStyle::continuous).stroke(Color::secondary(), 1))
                   .help("Your API key allows access to GPT-4");
  auto dot = Circle()
                 .fill(*testColor_)
                 .frame(8, 8)
                 .shadow(testColor_->opacity(0.6), 5, 0, 0)
                 .padding(Edges::leading, 6)
                 .padding(Edges::top, 2)
                 .accessibilityIdentifier("apiKeyTestStatus");
  auto keyTestRow =
      HStack(Spacer(), conditional(*testGPT4_, badge),
             Button([self] { self.testAPIKey(); }, Text("Test API Key")).help("Test your API key"), dot)
          .onAppear([self] { self.testAPIKey(); });

  auto form = Form({
      Group(Toggle("Show Tokens per message", showTokenCount_.binding()),
            Toggle("Play sound when reply arrives in background", playSoundWhenReplied_.binding()),
            Toggle("Show Markdown & Code Syntax", enableMarkdown_.binding()),
            Picker<FontSize>("Text Size", fontSize_.binding(), verbatimOptions(sizes))),
      Toggle("Always On Top", floatOnTop_.binding())
          .onChange<bool>(*floatOnTop_, [](const bool& value) { updateWindowLevels(value); }),
      Divider(),
      onDebouncedChange<std::string>(TextField("OpenAI API Key:", apiKey_.binding()), *apiKey_, 0.2,
                                     [self](const std::string& key) { self.apiKeyDidChange(key); }),
      keyTestRow,
      Picker<Model>("API Model:", apiModel_.binding(), modelOptions(offeredModels(*testGPT4_)))
          .frame(200, std::nullopt),
      Toggle("Show Full App & Dock Icon", showNormalApp_.binding())
          .onChange<bool>(*showNormalApp_, [](const bool& value) { updateActivationPolicy(value); }),
      ColorPicker("Your Bubble Color:", userChatColor_.binding(), true),
      Button("Reset color", [self] { self.resetBubbleColor(); }).buttonStyle(ButtonStyle::plain),
  });
  return VStack(form);
}

}  // namespace Quillo
