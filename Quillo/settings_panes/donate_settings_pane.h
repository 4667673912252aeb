// The "Donate" tab of the settings window: five amounts and a button that opens the checkout page.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

enum class DonationAmount { zero, small, medium, large, xLarge, huge };
inline constexpr std::array<DonationAmount, 6> allDonationAmounts = {
    DonationAmount::zero,  DonationAmount::small,  DonationAmount::medium,
    DonationAmount::large, DonationAmount::xLarge, DonationAmount::huge};

// 0 to 5 in case order.
int rawValue(DonationAmount amount);
// Nothing outside 0 to 5.
std::optional<DonationAmount> fromRawValue(std::type_identity<DonationAmount>, int raw);
// 0, 5, 10, 20, 30, 50 (no currency).
int price(DonationAmount amount);
std::string emoji(DonationAmount amount);

// The checkout address for an amount: the payment service's page with the price, the referrer and
// "wanted=true", in that order, not percent-encoded.
std::string donationLinkString(DonationAmount amount);

// The chosen amount and its emoji live as long as the pane. Choosing an amount springs its emoji in over
// the portrait and hides it 1 s later (each choice schedules its own hiding, never cancelled).
class DonateSettings final : public ui::View {
 public:
  DonateSettings();

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

  void donationAmountDidChange(DonationAmount amount) const;
  // Opens the checkout page and records that the user clicked.
  void openDonationLink() const;

 private:
  ui::Environment<ui::OpenURLAction> openURL_;
  ui::State<bool> showEmoji_{false};
  ui::State<DonationAmount> donationAmount_{DonationAmount::zero};
  Defaults::Default<bool> clickedDonate_;
};

}  // namespace Quillo
