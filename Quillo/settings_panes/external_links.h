// The maker's addresses that the application opens: the store page, the feedback address and the
// donation checkout (About and Donate panes), and the download page (update checks). A deployment with
// other addresses changes these lines.
#pragma once

#include <string_view>

namespace Quillo {

// The App Store page of the maker's phone app.
inline constexpr std::string_view kStorePageURLString =
    "https://apps.apple.com/app/quillo-ai-chat/id6446107770";
// The support address; "mailto:" makes the mail program start a new message to it.
inline constexpr std::string_view kFeedbackURLString = "mailto:support@quillo.app";
// The host of the payment service's checkout page (its path is "/l/corvane").
inline constexpr std::string_view kDonationCheckoutHost = "quillo.lemonsqueezy.com";
// Where the newest build is offered; an update check takes the user there.
inline constexpr std::string_view kDownloadPageURLString = "https://quillo.app/download";
// The host named as the referrer of a donation.
inline constexpr std::string_view kDonationReferrerHost = "quillo.app";

}  // namespace Quillo
