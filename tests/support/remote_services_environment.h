// One loopback server standing in for the product's web host and vote counter, from before the first test
// of a program until after the last: what the application starts at launch (the version gate, the roadmap)
// is made once per process, so the hosts it reads stay redirected for the whole program.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Roadmap/remote_hosts.h"
#include "tests/support/loopback_server.h"

namespace testsupport {

class RemoteServicesEnvironment : public ::testing::Environment {
 public:
  // The server answers each GET of a path with its JSON document.
  explicit RemoteServicesEnvironment(std::initializer_list<std::pair<std::string, std::string>> jsonDocuments)
      : jsonDocuments_(jsonDocuments) {}

  void SetUp() override {
    server_ = std::make_unique<LoopbackServer>();
    for (const auto& [path, document] : jsonDocuments_)
      server_->reply("GET", path, ScriptedReply::json(document));
    hosts_ = std::make_unique<Roadmap::ScopedRemoteHosts>(server_->baseURL(), server_->baseURL());
  }
  void TearDown() override {
    hosts_.reset();
    server_.reset();
  }
  LoopbackServer& server() { return *server_; }

 private:
  std::vector<std::pair<std::string, std::string>> jsonDocuments_;
  std::unique_ptr<LoopbackServer> server_;
  std::unique_ptr<Roadmap::ScopedRemoteHosts> hosts_;
};

}  // namespace testsupport
