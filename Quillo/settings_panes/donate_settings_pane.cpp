#include "Quillo/settings_panes/donate_settings_pane.h"

#include <fmt/format.h>

#include <chrono>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/small_button.h"
#include "Quillo/settings_panes/external_links.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/url.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

ui::Animation emojiSpring() { return ui::Animation::spring(0.5, 1.0, 0); }

}  // namespace

int rawValue(DonationAmount amount) { return static_cast<int>(amount); }

std::optional<DonationAmount> fromRawValue(std::type_identity<DonationAmount>, int raw) {
  if (raw < 0 || raw >= static_cast<int>(allDonationAmounts.size())) return std::nullopt;
  return allDonationAmounts[static_cast<std::size_t>(raw)];
}

int price(DonationAmount amount) {
  switch (amount) {
    case DonationAmount::zero:
      return 0;
    case DonationAmount::small:
      return 5;
    case DonationAmount::medium:
      return 10;
    case DonationAmount::large:
      return 20;
    case DonationAmount::xLarge:
      return 30;
    case DonationAmount::huge:
      return 50;
  }
  return 0;
}

std::string emoji(DonationAmount amount) {
  switch (amount) {
    case DonationAmount::zero:
      return "😘";
    case DonationAmount::small:
      return "🫶";
    case DonationAmount::medium:
      return "🥰";
    case DonationAmount::large:
      return "😳";
    case DonationAmount::xLarge:
      return "🤯";
    case DonationAmount::huge:
      return "😭";
  }
  return "";
}

std::string donationLinkString(DonationAmount amount) {
  return fmt::format("https://{}/l/corvane?price={}&referrer=https://{}&wanted=true", kDonationCheckoutHost,
                     price(amount), kDonationReferrerHost);
}

DonateSettings::DonateSettings() : clickedDonate_(Keys::clickedDonate()) {}

ui::AnyView DonateSettings::tabLabel() { return ui::Label("Donate", "heart.fill"); }

void DonateSettings::donationAmountDidChange(DonationAmount) const {
  auto showEmoji = showEmoji_;
  showEmoji.set(false);
  ui::withAnimation(emojiSpring(), [showEmoji] { showEmoji.set(true); });
  foundation::RunLoop::main().asyncAfter(std::chrono::seconds(1), [showEmoji] {
    ui::withAnimation(emojiSpring(), [showEmoji] { showEmoji.set(false); });
  });
}

void DonateSettings::openDonationLink() const {
  auto url = foundation::URL::parse(donationLinkString(*donationAmount_));
  if (!url) return;
  (*openURL_)(*url);
  clickedDonate_.set(true);
}

ui::AnyView DonateSettings::body() const {
  using namespace ui;
  const auto self = *this;
  const auto chosen = *donationAmount_;

  auto portrait = Image("donate-portrait")
                      .resizable()
                      .frame(100, 100)
                      .overlay(Text::verbatim(emoji(chosen))
                                   .font(Font::system(60))
                                   .opacity(*showEmoji_ ? 1 : 0)
                                   .accessibilityIdentifier("donationEmoji"))
                      .onChange<DonationAmount>(chosen, [self](const DonationAmount& amount) {
                        self.donationAmountDidChange(amount);
                      });
  auto texts =
      VStack(HorizontalAlignment::center, 4, Text("Thanks for using Quillo").font(Font::title().bold()),
             Text("I made Quillo for my own needs, and I'm really happy to see how many people enjoy "
                  "using the app. If you want to support development you can make a donation. Not "
                  "needed, but greatly appreciated! Thanks, Mika")
                 .foregroundStyle(Color::secondary())
                 .multilineTextAlignment(TextAlignment::center)
                 .fixedSize(false, true)
                 .padding(Edges::top))
          .padding(Edges::bottom, 8);

  std::vector<AnyView> amountButtons;
  for (DonationAmount amount : allDonationAmounts) {
    if (amount == DonationAmount::zero) continue;
    auto donationAmount = donationAmount_;
    amountButtons.push_back(
        Button([donationAmount, amount] { donationAmount.set(amount); },
               ZStack(Circle().fill(Color::teal()).frame(44, 44).opacity(amount == chosen ? 1.0 : 0.5),
                      Text::verbatim(std::to_string(price(amount)))
                          .font(Font::textStyle(TextStyle::largeTitle, FontDesign::rounded)
                                    .weight(FontWeight::medium))
                          .foregroundStyle(Color::white())))
            .buttonStyle(ButtonStyle::plain)
            .accessibilityIdentifier(fmt::format("donationAmount{}", price(amount))));
  }
  auto lower = VStack(HStack(VerticalAlignment::center, std::nullopt, amountButtons),
                      SmallButton([self] { self.openDonationLink(); }, "Donate", "",
                                  "Donate the selected amount", Color::teal()))
                   .padding(Edges::vertical);

  return VStack(VStack(portrait, texts), lower);
}

}  // namespace Quillo
