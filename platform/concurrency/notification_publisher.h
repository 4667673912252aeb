// A notification centre's notifications of one name as a publisher.
#pragma once

#include <string>

#include "platform/concurrency/publisher.h"
#include "platform/foundation/notification_center.h"

namespace concurrency {

// Every notification called `name` (an empty name: every notification) from `object` (null: from any
// sender) posted on `center` while a subscription lasts, delivered on the posting thread before post()
// returns. Each subscription registers an observer of its own; cancelling it removes the observer. The
// publisher never completes. The centre must outlive the subscriptions.
AnyPublisher<foundation::Notification> notificationPublisher(foundation::NotificationCenter& center,
                                                             std::string name, const void* object = nullptr);

}  // namespace concurrency
