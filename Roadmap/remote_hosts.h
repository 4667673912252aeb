// The remote services the application talks to besides the chat service, in one place for deployers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Roadmap {

// The maker's web host: it serves the remote configuration ("/config.json") and the roadmap feed
// ("/roadmap.json"). A deployment on another host changes this one line.
inline constexpr std::string_view kProductWebHost = "https://quillo.app";

// The hit-counter service that keeps the roadmap's vote counts (the part of the address before "/get/"
// and "/hit/"). A deployment with another counter changes this one line.
inline constexpr std::string_view kVoteCounterService = "https://counter.quillo.app";

// The hosts in use: the two above, unless they were redirected (tests point them at servers of their own
// on 127.0.0.1, so that running the whole application never reaches the real services). Thread-safe.
std::string productWebHost();
std::string voteCounterService();

// Redirects the hosts for the guard's lifetime and restores the previous ones after; a host given as
// nothing stays as it is. Guards nest; they are meant for tests, made and destroyed on one thread.
class ScopedRemoteHosts {
 public:
  ScopedRemoteHosts(std::optional<std::string> productWebHost, std::optional<std::string> voteCounterService);
  ~ScopedRemoteHosts();
  ScopedRemoteHosts(const ScopedRemoteHosts&) = delete;
  ScopedRemoteHosts& operator=(const ScopedRemoteHosts&) = delete;

 private:
  std::string previousProductWebHost_;
  std::string previousVoteCounterService_;
};

// The address of the remote configuration document that announces the latest build number.
inline std::string remoteConfigurationURLString() { return productWebHost() + "/config.json"; }

// The address of the application's roadmap feed.
inline std::string roadmapFeedURLString() { return productWebHost() + "/roadmap.json"; }

}  // namespace Roadmap
