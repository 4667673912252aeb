#include "platform/concurrency/notification_publisher.h"

#include <memory>
#include <utility>

namespace concurrency {

AnyPublisher<foundation::Notification> notificationPublisher(foundation::NotificationCenter& center,
                                                             std::string name, const void* object) {
  return AnyPublisher<foundation::Notification>::fromSubscription(
      [&center, name = std::move(name), object](Subscriber<foundation::Notification> subscriber) {
        auto token = std::make_shared<foundation::ObserverToken>(center.addObserver(
            name, object, nullptr,
            [subscriber](const foundation::Notification& notification) { subscriber.send(notification); }));
        return std::function<void()>([token] { token->remove(); });
      });
}

}  // namespace concurrency
