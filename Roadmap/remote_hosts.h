// The remote services the application talks to besides the chat service, in one place for deployers.
#pragma once

#include <string>
#include <string_view>

namespace Roadmap {

// The maker's web host: it serves the remote configuration ("/config.json") and the roadmap feed
// ("/roadmap.json"). A deployment on another host changes this one line.
inline constexpr std::string_view kProductWebHost = "https://quillo.app";

// The hit-counter service that keeps the roadmap's vote counts (the part of the address before "/get/"
// and "/hit/"). A deployment with another counter changes this one line.
inline constexpr std::string_view kVoteCounterService = "https://counter.quillo.app";

// The address of the remote configuration document that announces the latest build number.
inline std::string remoteConfigurationURLString() { return std::string(kProductWebHost) + "/config.json"; }

// The address of the application's roadmap feed.
inline std::string roadmapFeedURLString() { return std::string(kProductWebHost) + "/roadmap.json"; }

}  // namespace Roadmap
