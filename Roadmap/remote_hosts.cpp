#include "Roadmap/remote_hosts.h"

#include <mutex>
#include <utility>

namespace Roadmap {
namespace {

struct Hosts {
  std::mutex mutex;  // guards the two addresses
  std::string productWebHost{kProductWebHost};
  std::string voteCounterService{kVoteCounterService};
};

Hosts& hosts() {
  static Hosts* instance = new Hosts();  // never destroyed: read by workers until the program ends
  return *instance;
}

}  // namespace

std::string productWebHost() {
  std::lock_guard lock(hosts().mutex);
  return hosts().productWebHost;
}

std::string voteCounterService() {
  std::lock_guard lock(hosts().mutex);
  return hosts().voteCounterService;
}

ScopedRemoteHosts::ScopedRemoteHosts(std::optional<std::string> productWebHost,
                                     std::optional<std::string> voteCounterService) {
  std::lock_guard lock(hosts().mutex);
  previousProductWebHost_ = hosts().productWebHost;
  previousVoteCounterService_ = hosts().voteCounterService;
  if (productWebHost) hosts().productWebHost = std::move(*productWebHost);
  if (voteCounterService) hosts().voteCounterService = std::move(*voteCounterService);
}

ScopedRemoteHosts::~ScopedRemoteHosts() {
  std::lock_guard lock(hosts().mutex);
  hosts().productWebHost = std::move(previousProductWebHost_);
  hosts().voteCounterService = std::move(previousVoteCounterService_);
}

}  // namespace Roadmap
