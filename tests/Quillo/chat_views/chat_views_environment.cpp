#include "tests/Quillo/chat_views/chat_views_environment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"
#include "tests/support/temporary_settings_suite.h"

namespace chatviewstest {

namespace {

const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-chat-views-"));

}  // namespace

void emptyStandardSuite() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

}  // namespace chatviewstest
