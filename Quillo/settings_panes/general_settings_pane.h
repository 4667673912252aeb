// The "General" tab of the settings window: chat display options, the window level, the application
// mode, the API key with its test, and the native chat's model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Quillo/chat_model/font_size.h"
#include "Quillo/chat_model/model.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/color.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The label of a text size: its raw value with the first letter upper-cased and the others lower-cased
// ("Small", ..., "Xlarge").
std::string textSizeLabel(FontSize size);

// The models the "API Model:" picker offers: all but "gpt-3.5-turbo-0301" once the key reached GPT-4,
// otherwise "gpt-3.5-turbo" and "gpt-3.5-turbo-16k".
std::vector<Model> offeredModels(bool hasGPT4Access);

// Every window titled "Quillo" or "Quillo Settings" (exactly) gets the floating level when `floatOnTop`
// is true and the normal level otherwise; other windows keep theirs.
void updateWindowLevels(bool floatOnTop);
// Regular policy (Dock icon) when true; otherwise the accessory policy and the main window ("Quillo")
// closed. The settings window stays open.
void updateActivationPolicy(bool showNormalApp);

// The key test sends two tiny requests, one for GPT-3.5 and one for GPT-4, each through a client of its
// own. The dot turns green when either answers; the "GPT-4" badge and the long model list show when the
// GPT-4 request answers. Probes are never cancelled, but only the probes of the latest test are shown: a
// late answer for an earlier (perhaps different) key must not turn the dot green for the key now stored.
class GeneralSettings final : public ui::View {
 public:
  GeneralSettings();

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

  void testAPIKey() const;
  void apiKeyDidChange(const std::string& apiKey) const;
  void resetBubbleColor() const;

  // Probes sent and not yet applied on the main queue (for tests and orderly shutdown).
  static std::size_t keyProbesInFlight();

 private:
  // Sends one probe with `model`; `onResult` runs on the main queue with whether an answer came back.
  static void probe(Model model, std::function<void(bool)> onResult);

  ui::AppStorage<bool> floatOnTop_{"floatOnTop", false};
  Defaults::Default<std::string> apiKey_;
  Defaults::Default<Model> apiModel_;
  Defaults::Default<ui::Color> userChatColor_;
  Defaults::Default<bool> showTokenCount_;
  Defaults::Default<bool> showNormalApp_;
  Defaults::Default<bool> playSoundWhenReplied_;
  Defaults::Default<bool> enableMarkdown_;
  Defaults::Default<FontSize> fontSize_;
  ui::State<ui::Color> testColor_{ui::Color::yellow()};
  ui::State<bool> testGPT4_{false};
  // The number of the latest test; a probe applies its result only while its test is still the latest.
  ui::State<std::shared_ptr<std::uint64_t>> latestTest_{std::make_shared<std::uint64_t>(0)};
};

}  // namespace Quillo
