// One message of the native chat: the text in a coloured bubble (the user's on the right, the
// assistant's on the left), an optional token-count caption with its price, and a Copy button over
// assistant rows.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "GPTEncoder/gpt_encoder.h"
#include "Quillo/chat_model/font_size.h"
#include "Quillo/chat_model/message.h"
#include "Quillo/chat_model/model.h"
#include "platform/foundation/url.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// US dollars per 1,000 tokens, by the position of the model in `allModels`.
inline constexpr std::array<double, 7> pricePerThousandTokens = {0.002, 0.002, 0.002, 0.003,
                                                                 0.03,  0.01,  0.01};

// Where the bubbles get a token counter: a new one for every caption. The default reads the data files
// of the application's resources and gives nothing when they are missing (the caption then stays empty).
struct TokenEncoderMakerKey {
  using Value = std::function<std::shared_ptr<GPTTokenizer::GPTEncoder>()>;
  static Value defaultValue();
};

// The body of a message shown through the Markdown view while `enableMarkdown` is on, without padding or
// background (the bubble adds them): the renderer's theme with the role's text colour, pink monospaced
// inline code and the chat's code blocks; code coloured by the app's highlighter for the colour scheme.
// Links from the reply open through the open-URL action only when they are http, https or mailto links.
ui::AnyView markdownMessageBody(const Message& message, const ui::Color& textColor,
                                ui::ColorScheme colorScheme);

// Whether a link from a reply may be opened: its scheme is http, https or mailto, in any case. A reply is
// text from a server, and must not start local programs or scripts.
bool isOpenableReplyLink(const foundation::URL& url);

class ChatBubble final : public ui::View {
 public:
  explicit ChatBubble(Message message);
  // The same, sharing a message that the caller keeps unchanged.
  explicit ChatBubble(std::shared_ptr<const Message> message);

  ui::AnyView body() const override;

  // The same message: everything else the body reads comes from the settings, the view state and the
  // environment, so the view layer keeps a bubble made again for an unchanged message (the chat is
  // evaluated again for every piece of a streamed reply) without running its body.
  bool operator==(const ChatBubble& other) const {
    return message_ == other.message_ || *message_ == *other.message_;
  }

  // The price of `count` tokens at the rate of the model stored in `apiModel` now.
  static double tokenCost(std::size_t count);
  // "<n> tokens ($<price with six decimals>)" for the text, or the empty text for no tokens (or no
  // token counter).
  std::string tokenCountCaption() const;
  // Recomputes the caption while `showTokenCount` is on.
  void updateTokenCaption() const;
  // Puts the text on the general pasteboard and shows "Copied" for two seconds.
  void copyMessage() const;

 private:
  static std::string captionFor(const std::string& content, const TokenEncoderMakerKey::Value& makeEncoder);
  ui::AnyView messageBody() const;
  ui::AnyView copyControl() const;

  // Shared, so that the copies the view layer makes of a bubble do not copy a long reply's text.
  std::shared_ptr<const Message> message_;
  Defaults::Default<bool> showTokenCount_;
  Defaults::Default<bool> enableMarkdown_;
  ui::State<std::string> localTokensString_{""};
  ui::Environment<ui::ColorScheme> colorScheme_;
  Defaults::Default<FontSize> fontSize_;
  ui::State<bool> isHoveringOverAnswer_{false};
  ui::State<bool> copied_{false};
  ui::Environment<TokenEncoderMakerKey> makeEncoder_;
};

}  // namespace Quillo
