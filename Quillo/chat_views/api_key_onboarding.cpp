#include "Quillo/chat_views/api_key_onboarding.h"

#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/small_button.h"
#include "platform/foundation/url.h"
#include "platform/ui/views.h"

namespace Quillo {

APIKeyOnboard::APIKeyOnboard() : apiKey_(Keys::apiKey()) {}

void APIKeyOnboard::submitAPIKey() const {
  auto key = *internalAPIKey_;
  auto apiKey = apiKey_;
  ui::withAnimation(ui::Animation::defaultAnimation(), [&] { apiKey.set(key); });
}

ui::AnyView APIKeyOnboard::body() const {
  using namespace ui;
  auto self = *this;
  const bool isEmpty = internalAPIKey_->empty();

  FrameModifier textWidth;
  textWidth.maxWidth = 480;
  auto heading = VStack(HorizontalAlignment::center, 8,
                        Text("Access ChatGPT through the API").font(Font::title().bold()),
                        Text("Add your Secret API key from OpenAI and interact with ChatGPT directly for "
                             "faster responses and a "
                             "more fluid experience.")
                            .font(Font::body())
                            .foregroundStyle(Color::secondary())
                            .multilineTextAlignment(TextAlignment::center))
                     .frame(textWidth);

  FrameModifier fieldWidth;
  fieldWidth.maxWidth = 560;
  auto internalAPIKey = internalAPIKey_;
  auto field = TextField("Enter OpenAI API Key...", internalAPIKey_.binding())
                   .focused(isFocused_.binding())
                   .padding(Edges::horizontal, 12)
                   .background(Color::primary().opacity(0.05))
                   .frame(std::nullopt, 40)
                   .clipShape(RoundedRectangle(10, CornerStyle::continuous))
                   .frame(fieldWidth)
                   .padding()
                   .onSubmit([self, internalAPIKey] {
                     if (!internalAPIKey->empty()) self.submitAPIKey();
                   });

  std::vector<AnyView> children = {
      Spacer(),
      Image("visualAI").resizable().frame(380, 180).padding(),
      heading,
      field,
      AnyView(
          SmallButton([self] { self.submitAPIKey(); }, "Submit", "", "Submit API Key", Color::accentColor()))
          .disabled(isEmpty),
      Spacer(),
  };
  if (auto article = foundation::URL::parse(apiKeyHelpArticleAddress)) {
    children.push_back(
        Link("How do I get an API key?", *article).foregroundStyle(Color::accentColor()).padding());
  }
  return VStack(HorizontalAlignment::center, std::nullopt, children).onAppear([focus = isFocused_] {
    focus.set(true);
  });
}

}  // namespace Quillo
