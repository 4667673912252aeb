#include "platform/carbon/hot_key_service.h"

#include <vector>

#include "platform/desktop/desktop.h"

namespace carbon {

EventTargetRef getEventDispatcherTarget() {
  auto* desktop = desktop::Desktop::current();
  return EventTargetRef{desktop ? &desktop->hotKeys() : nullptr};
}

OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID hotKeyID,
                             EventTargetRef target, std::uint32_t options, EventHotKeyRef* outRef) {
  if (outRef) *outRef = EventHotKeyRef{};
  if (!target || !outRef) return paramErr;
  const auto result =
      target.service->registerHotKey(keyCode, modifiers, {hotKeyID.signature, hotKeyID.id}, options);
  if (result.status == noErr) *outRef = EventHotKeyRef{result.reference};
  return result.status;
}

OSStatus unregisterEventHotKey(EventHotKeyRef hotKey) {
  const auto target = getEventDispatcherTarget();
  if (!target || !hotKey) return eventHotKeyInvalidErr;
  return target.service->unregisterHotKey(hotKey.reference);
}

OSStatus installEventHandler(EventTargetRef target, EventHandlerProcPtr handler,
                             std::span<const EventTypeSpec> eventTypes, void* userData,
                             EventHandlerRef* outRef) {
  if (outRef) *outRef = EventHandlerRef{};
  if (!target || !handler) return paramErr;
  desktop::HotKeyService::EventTypes types;
  for (const auto& spec : eventTypes) types.emplace_back(spec.eventClass, spec.eventKind);
  const auto reference =
      target.service->installHandler(std::move(types), [handler, userData](const desktop::HotKeyEvent& data) {
        const Event event{data};
        return handler(&event, userData);
      });
  if (outRef) *outRef = EventHandlerRef{reference};
  return noErr;
}

OSStatus getEventParameter(EventRef event, OSType name, OSType desiredType, EventHotKeyID* outValue) {
  if (!event || !outValue || name != kEventParamDirectObject || desiredType != typeEventHotKeyID) {
    return paramErr;
  }
  if (!event->data.hotKeyID) return eventParameterNotFoundErr;
  *outValue = EventHotKeyID{event->data.hotKeyID->signature, event->data.hotKeyID->id};
  return noErr;
}

OSType getEventClass(EventRef event) { return event ? event->data.eventClass : 0; }

std::uint32_t getEventKind(EventRef event) { return event ? event->data.eventKind : 0; }

OSStatus copySymbolicHotKeys(std::optional<foundation::PlistValue>* outHotKeys) {
  if (!outHotKeys) return paramErr;
  outHotKeys->reset();
  const auto target = getEventDispatcherTarget();
  if (!target) return eventInternalErr;
  auto list = target.service->symbolicHotKeys();
  if (!list) return eventInternalErr;
  *outHotKeys = std::move(list);
  return noErr;
}

}  // namespace carbon
