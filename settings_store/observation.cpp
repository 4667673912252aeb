#include "settings_store/observation.h"

namespace Defaults {

namespace {

// Whether this thread runs inside withCallbacksSuppressed. Per thread by construction.
thread_local bool callbacksSuppressed = false;

using Trackers = std::vector<std::shared_ptr<LifetimeAssociation::ObjectLifetimeTracker>>;

// The one slot of every owner's storage that holds the trackers tied to it.
const foundation::ObjectAssociation<Trackers>& trackersAssociation() {
  static const foundation::ObjectAssociation<Trackers> association;
  return association;
}

// The registered observer: it owns what it touches (the callback), never the observation object, so a
// delivery still running on another thread after the observation went away stays safe.
foundation::KeyValueObserver deliveringTo(
    std::shared_ptr<const std::function<void(const BaseChange&)>> callback) {
  return [callback = std::move(callback)](const foundation::KeyValueChange& change) {
    if (callbacksSuppressed) return;
    (*callback)(BaseChange::from(change));
  };
}

}  // namespace

foundation::ObservingOptions platformObservingOptions(const ObservationOptions& options) {
  using foundation::ObservingOptions;
  const auto base = ObservingOptions::newValue | ObservingOptions::oldValue;
  if (options.contains(ObservationOption::initial)) return base | ObservingOptions::initial;
  if (options.contains(ObservationOption::prior)) return base | ObservingOptions::prior;
  return base;
}

BaseChange BaseChange::from(const foundation::KeyValueChange& change) {
  BaseChange result;
  result.kind = change.kind;
  result.isPrior = change.isPrior;
  result.newValue = change.newValue;
  result.oldValue = change.oldValue;
  return result;
}

// ---- Observation ------------------------------------------------------------------------------------

Observation::~Observation() = default;

std::shared_ptr<Observation> Observation::bindLifetime(foundation::AssociatedStorage& owner) {
  auto self = shared_from_this();
  std::weak_ptr<Observation> weakSelf = self;
  auto association = std::make_shared<LifetimeAssociation>(self, owner, [weakSelf] {
    if (auto observation = weakSelf.lock()) observation->stopObserving();
  });
  std::shared_ptr<LifetimeAssociation> replaced;
  {
    std::lock_guard lock(tieMutex_);
    replaced = std::exchange(lifetimeAssociation_, std::move(association));
  }
  // The earlier tie, released here, takes its tracker off its owner.
  replaced.reset();
  return self;
}

void Observation::unbindLifetime() {
  // The tracker may hold the last reference to this observation; keep it alive until we are done.
  auto self = weak_from_this().lock();
  endLifetimeTie();
}

void Observation::endLifetimeTie() {
  std::shared_ptr<LifetimeAssociation> association;
  {
    std::lock_guard lock(tieMutex_);
    association = std::move(lifetimeAssociation_);
  }
  if (association) association->cancel();
}

// ---- One key ------------------------------------------------------------------------------------------

std::shared_ptr<UserDefaultsKeyObservation> UserDefaultsKeyObservation::make(
    const std::shared_ptr<foundation::UserDefaults>& suite, std::string key, Callback callback) {
  return std::make_shared<UserDefaultsKeyObservation>(Tag{}, suite, std::move(key), std::move(callback));
}

UserDefaultsKeyObservation::UserDefaultsKeyObservation(Tag,
                                                       const std::shared_ptr<foundation::UserDefaults>& suite,
                                                       std::string key, Callback callback)
    : object_(suite),
      key_(std::move(key)),
      callback_(std::make_shared<const Callback>(std::move(callback))) {}

UserDefaultsKeyObservation::~UserDefaultsKeyObservation() { stopObserving(); }

void UserDefaultsKeyObservation::startObserving(const ObservationOptions& options) {
  std::shared_ptr<foundation::UserDefaults> suite;
  {
    std::lock_guard lock(mutex_);
    suite = object_.lock();
  }
  if (!suite) return;
  // The initial value is delivered inside addObserver, on this thread, before the token is kept.
  auto token = suite->addObserver(key_, platformObservingOptions(options), deliveringTo(callback_));
  foundation::ObservationToken replaced;
  {
    std::lock_guard lock(mutex_);
    replaced = std::exchange(token_, std::move(token));
  }
}

void UserDefaultsKeyObservation::stopObserving() {
  foundation::ObservationToken token;
  {
    std::lock_guard lock(mutex_);
    token = std::move(token_);
    object_.reset();
  }
  token.remove();
  endLifetimeTie();
}

// ---- Several keys ------------------------------------------------------------------------------------

std::shared_ptr<CompositeUserDefaultsKeyObservation> CompositeUserDefaultsKeyObservation::make(
    std::vector<SuiteKeyPair> observables, Callback callback) {
  return std::make_shared<CompositeUserDefaultsKeyObservation>(Tag{}, std::move(observables),
                                                               std::move(callback));
}

CompositeUserDefaultsKeyObservation::CompositeUserDefaultsKeyObservation(
    Tag, std::vector<SuiteKeyPair> observables, Callback callback)
    : observables_(std::move(observables)),
      callback_(std::make_shared<const Callback>(std::move(callback))) {}

CompositeUserDefaultsKeyObservation::~CompositeUserDefaultsKeyObservation() { stopObserving(); }

void CompositeUserDefaultsKeyObservation::startObserving(const ObservationOptions& options) {
  std::vector<SuiteKeyPair> pairs;
  {
    std::lock_guard lock(mutex_);
    pairs = observables_;
  }
  std::vector<foundation::ObservationToken> tokens;
  for (const auto& pair : pairs) {
    if (auto suite = pair.suite.lock()) {
      tokens.push_back(
          suite->addObserver(pair.key, platformObservingOptions(options), deliveringTo(callback_)));
    }
  }
  std::lock_guard lock(mutex_);
  for (auto& token : tokens) tokens_.push_back(std::move(token));
}

void CompositeUserDefaultsKeyObservation::stopObserving() {
  std::vector<foundation::ObservationToken> tokens;
  {
    std::lock_guard lock(mutex_);
    tokens.swap(tokens_);
    for (auto& pair : observables_) pair.suite.reset();
  }
  for (auto& token : tokens) token.remove();
  endLifetimeTie();
}

std::shared_ptr<CompositeUserDefaultsKeyObservation> observeChanges(
    const std::vector<std::reference_wrapper<const AnyKey>>& keys, const ObservationOptions& options,
    std::function<void(const BaseChange&)> handler) {
  std::vector<CompositeUserDefaultsKeyObservation::SuiteKeyPair> pairs;
  for (const AnyKey& key : keys) pairs.push_back({key.suite(), key.name()});
  auto observation = CompositeUserDefaultsKeyObservation::make(std::move(pairs), std::move(handler));
  observation->startObserving(options);
  return observation;
}

// ---- Lifetime ties ----------------------------------------------------------------------------------

// Kept by the owner; keeps the observation alive and runs its handler when the owner lets it go.
// The handler is guarded by a mutex: cancelling may replace it from another thread.
class LifetimeAssociation::ObjectLifetimeTracker {
 public:
  ObjectLifetimeTracker(std::shared_ptr<void> object, std::function<void()> deinitHandler)
      : object_(std::move(object)), deinitHandler_(std::move(deinitHandler)) {}
  ~ObjectLifetimeTracker() {
    std::function<void()> handler;
    {
      std::lock_guard lock(mutex_);
      handler = std::move(deinitHandler_);
    }
    if (handler) handler();
    // object_ is released after the handler, which may still use it.
  }
  void disarm() {
    std::lock_guard lock(mutex_);
    deinitHandler_ = nullptr;
  }

 private:
  std::shared_ptr<void> object_;
  std::mutex mutex_;
  std::function<void()> deinitHandler_;
};

LifetimeAssociation::LifetimeAssociation(std::shared_ptr<Observation> observation,
                                         foundation::AssociatedStorage& owner,
                                         std::function<void()> deinitHandler)
    : owner_(owner.weakReference()) {
  auto tracker = std::make_shared<ObjectLifetimeTracker>(std::move(observation), std::move(deinitHandler));
  wrappedObject_ = tracker;
  trackersAssociation();  // made once, before any owner uses its slot
  owner.updateValue(trackersAssociation().key(), [&](std::shared_ptr<void> previous) {
    auto trackers = std::make_shared<Trackers>();
    if (previous) *trackers = *std::static_pointer_cast<Trackers>(previous);
    trackers->push_back(tracker);
    return trackers;
  });
}

LifetimeAssociation::~LifetimeAssociation() { cancel(); }

void LifetimeAssociation::cancel() {
  auto tracker = wrappedObject_.lock();
  if (!tracker) return;
  tracker->disarm();
  owner_.updateValue(
      trackersAssociation().key(), [&](std::shared_ptr<void> previous) -> std::shared_ptr<void> {
        if (!previous) return nullptr;
        auto trackers = std::make_shared<Trackers>(*std::static_pointer_cast<Trackers>(previous));
        std::erase(*trackers, tracker);
        if (trackers->empty()) return nullptr;
        return trackers;
      });
  owner_.reset();
  wrappedObject_.reset();
  // `tracker`, released here, lets go of the observation.
}

// ---- Suppression ------------------------------------------------------------------------------------

void withCallbacksSuppressed(const std::function<void()>& work) {
  struct Restore {
    bool previous;
    ~Restore() { callbacksSuppressed = previous; }
  } restore{callbacksSuppressed};
  callbacksSuppressed = true;
  work();
}

bool areCallbacksSuppressed() { return callbacksSuppressed; }

}  // namespace Defaults
