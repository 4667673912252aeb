#include "platform/desktop/atspi/atspi_accessibility.h"

#include <atspi/atspi.h>
#include <gio/gio.h>
#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/foundation/log.h"
#include "platform/foundation/utf16.h"

namespace desktop::atspi {
namespace {

// libatspi reports failures through a GError that the caller frees.
class CallError {
 public:
  CallError() = default;
  ~CallError() { g_clear_error(&error_); }
  CallError(const CallError&) = delete;
  CallError& operator=(const CallError&) = delete;
  GError** out() {
    g_clear_error(&error_);
    return &error_;
  }
  bool hasFailed() const { return error_ != nullptr; }

 private:
  GError* error_ = nullptr;
};

template <typename Object>
struct ObjectUnref {
  void operator()(Object* object) const {
    if (object) g_object_unref(object);
  }
};
template <typename Object>
using Owned = std::unique_ptr<Object, ObjectUnref<Object>>;

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The session bus, without ever starting one: GLib would otherwise launch a bus of its own (and its
// daemons would outlive the program) when the session has none.
Owned<GDBusConnection> sessionBus() {
  std::string address = environmentValue("DBUS_SESSION_BUS_ADDRESS");
  if (address.empty()) {
    const std::string runtime = environmentValue("XDG_RUNTIME_DIR");
    std::error_code error;
    if (runtime.empty() || !std::filesystem::exists(runtime + "/bus", error)) return nullptr;
    address = "unix:path=" + runtime + "/bus";
  }
  CallError error;
  return Owned<GDBusConnection>(g_dbus_connection_new_for_address_sync(
      address.c_str(),
      GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                           G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, error.out()));
}

// Whether the session's accessibility bus answers (its launcher, started on demand by the session bus,
// gives its address).
bool accessibilityBusAnswers() {
  if (!environmentValue("AT_SPI_BUS_ADDRESS").empty()) return true;
  const auto bus = sessionBus();
  if (!bus) return false;
  CallError error;
  GVariant* reply = g_dbus_connection_call_sync(bus.get(), "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                                "GetAddress", nullptr, G_VARIANT_TYPE("(s)"),
                                                G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, error.out());
  if (reply == nullptr) return false;
  const gchar* address = nullptr;
  g_variant_get(reply, "(&s)", &address);
  const bool hasAddress = address != nullptr && *address != '\0';
  g_variant_unref(reply);
  return hasAddress;
}

bool isProcessRunning(int processIdentifier) {
  return processIdentifier > 0 && (::kill(processIdentifier, 0) == 0 || errno == EPERM);
}

// Offsets of AT-SPI count characters (Unicode scalars); the platform counts UTF-16 code units.
std::int64_t utf16OffsetOfCharacter(const std::vector<char32_t>& scalars, std::int64_t characterOffset) {
  std::int64_t units = 0;
  for (std::int64_t i = 0; i < characterOffset && i < std::int64_t(scalars.size()); ++i)
    units += scalars[std::size_t(i)] > 0xFFFF ? 2 : 1;
  return units;
}

// The character offset of a UTF-16 offset; nothing when it lies beyond the text or inside a character.
std::optional<std::int64_t> characterOffsetOfUtf16(const std::vector<char32_t>& scalars, std::int64_t units) {
  if (units < 0) return std::nullopt;
  std::int64_t counted = 0;
  std::int64_t characters = 0;
  for (const char32_t scalar : scalars) {
    if (counted == units) return characters;
    if (counted > units) return std::nullopt;
    counted += scalar > 0xFFFF ? 2 : 1;
    ++characters;
  }
  return counted == units ? std::optional<std::int64_t>(characters) : std::nullopt;
}

bool hasState(AtspiAccessible* accessible, AtspiStateType state) {
  Owned<AtspiStateSet> states(atspi_accessible_get_state_set(accessible));
  return states && atspi_state_set_contains(states.get(), state);
}

bool isPasswordRole(AtspiRole role) { return role == ATSPI_ROLE_PASSWORD_TEXT; }

// The platform's role of an element.
std::string platformRole(AtspiAccessible* accessible, AtspiRole role, bool hasText) {
  switch (role) {
    case ATSPI_ROLE_PASSWORD_TEXT:
      return "AXSecureTextField";
    case ATSPI_ROLE_TEXT:
    case ATSPI_ROLE_ENTRY:
    case ATSPI_ROLE_EDITBAR:
    case ATSPI_ROLE_DOCUMENT_TEXT:
    case ATSPI_ROLE_PARAGRAPH:
      return hasState(accessible, ATSPI_STATE_MULTI_LINE) ? "AXTextArea" : "AXTextField";
    case ATSPI_ROLE_COMBO_BOX:
      return "AXComboBox";
    case ATSPI_ROLE_APPLICATION:
      return "AXApplication";
    case ATSPI_ROLE_FRAME:
    case ATSPI_ROLE_WINDOW:
    case ATSPI_ROLE_DIALOG:
      return "AXWindow";
    case ATSPI_ROLE_PUSH_BUTTON:
    case ATSPI_ROLE_TOGGLE_BUTTON:
      return "AXButton";
    case ATSPI_ROLE_CHECK_BOX:
      return "AXCheckBox";
    case ATSPI_ROLE_RADIO_BUTTON:
      return "AXRadioButton";
    case ATSPI_ROLE_LABEL:
    case ATSPI_ROLE_STATIC:
      return "AXStaticText";
    case ATSPI_ROLE_MENU_BAR:
      return "AXMenuBar";
    case ATSPI_ROLE_MENU:
      return "AXMenu";
    case ATSPI_ROLE_MENU_ITEM:
      return "AXMenuItem";
    case ATSPI_ROLE_LIST:
      return "AXList";
    case ATSPI_ROLE_SCROLL_PANE:
      return "AXScrollArea";
    case ATSPI_ROLE_IMAGE:
      return "AXImage";
    case ATSPI_ROLE_LINK:
      return "AXLink";
    case ATSPI_ROLE_TABLE:
      return "AXTable";
    case ATSPI_ROLE_TOOL_BAR:
      return "AXToolbar";
    case ATSPI_ROLE_DOCUMENT_WEB:
      return "AXWebArea";
    case ATSPI_ROLE_FILLER:
    case ATSPI_ROLE_PANEL:
    case ATSPI_ROLE_SECTION:
      // Editable regions of web pages and editors come as sections with text.
      if (hasText && hasState(accessible, ATSPI_STATE_EDITABLE))
        return hasState(accessible, ATSPI_STATE_MULTI_LINE) ? "AXTextArea" : "AXTextField";
      return "AXGroup";
    default:
      return "AXUnknown";
  }
}

bool isTextRole(const std::string& role) {
  return role == "AXTextArea" || role == "AXTextField" || role == "AXComboBox";
}

}  // namespace

AtspiAccessibility::AtspiAccessibility() {
  if (!accessibilityBusAnswers()) {
    foundation::log("Accessibility: the session has no accessibility bus; other applications cannot be read");
    return;
  }
  const int status = atspi_init();
  isTrusted_ = status == 0 || status == 1;  // 1: already set up by another user of libatspi
}

AtspiAccessibility::~AtspiAccessibility() {
  std::lock_guard lock(mutex_);
  for (auto& [pid, process] : processes_) {
    for (AtspiAccessible* accessible : process.elements) g_object_unref(accessible);
  }
}

AtspiAccessible* AtspiAccessibility::application(int processIdentifier) const {
  if (!isTrusted_) return nullptr;
  if (!isProcessRunning(processIdentifier)) {
    // The elements named for a process that has ended name nothing any more.
    if (const auto ended = processes_.find(processIdentifier); ended != processes_.end()) {
      for (AtspiAccessible* accessible : ended->second.elements) g_object_unref(accessible);
      processes_.erase(ended);
    }
    return nullptr;
  }
  auto& process = processes_[processIdentifier];
  if (!process.elements.empty()) {
    CallError error;
    atspi_accessible_get_role(process.elements[0], error.out());
    if (!error.hasFailed()) return process.elements[0];
    // The process's earlier elements belong to an application that has gone.
    for (AtspiAccessible* accessible : process.elements) g_object_unref(accessible);
    process.elements.clear();
  }
  Owned<AtspiAccessible> desktop(atspi_get_desktop(0));
  if (!desktop) return nullptr;
  CallError error;
  const gint count = atspi_accessible_get_child_count(desktop.get(), error.out());
  for (gint i = 0; i < count; ++i) {
    Owned<AtspiAccessible> child(atspi_accessible_get_child_at_index(desktop.get(), i, error.out()));
    if (!child) continue;
    if (int(atspi_accessible_get_process_id(child.get(), error.out())) == processIdentifier &&
        !error.hasFailed()) {
      process.elements.push_back(child.release());
      return process.elements[0];
    }
  }
  return nullptr;
}

AtspiAccessible* AtspiAccessibility::accessible(int processIdentifier, int elementId) const {
  AtspiAccessible* app = application(processIdentifier);
  if (app == nullptr || elementId < 0) return nullptr;
  const auto& elements = processes_[processIdentifier].elements;
  if (std::size_t(elementId) >= elements.size()) return nullptr;
  AtspiAccessible* found = elements[std::size_t(elementId)];
  CallError error;
  atspi_accessible_get_role(found, error.out());
  return error.hasFailed() ? nullptr : found;
}

int AtspiAccessibility::idOf(int processIdentifier, AtspiAccessible* accessible) const {
  auto& elements = processes_[processIdentifier].elements;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i] == accessible) return int(i);
  }
  elements.push_back(static_cast<AtspiAccessible*>(g_object_ref(accessible)));
  return int(elements.size() - 1);
}

std::optional<AccessibleElement> AtspiAccessibility::describe(AtspiAccessible* accessible) const {
  CallError error;
  const AtspiRole role = atspi_accessible_get_role(accessible, error.out());
  if (error.hasFailed()) return std::nullopt;
  Owned<AtspiText> text(atspi_accessible_get_text_iface(accessible));
  AccessibleElement element;
  element.role = platformRole(accessible, role, text != nullptr);
  if (isPasswordRole(role)) element.subrole = "AXSecureTextField";
  if (gchar* name = atspi_accessible_get_name(accessible, error.out())) {
    if (*name != '\0') element.title = name;
    g_free(name);
  }
  if (text && isTextRole(element.role)) {
    const gint count = atspi_text_get_character_count(text.get(), error.out());
    gchar* contents = count >= 0 ? atspi_text_get_text(text.get(), 0, count, error.out()) : nullptr;
    if (contents != nullptr) {
      element.value = contents;
      g_free(contents);
      const auto scalars = foundation::unicodeScalars(*element.value);
      std::int64_t start = atspi_text_get_caret_offset(text.get(), error.out());
      std::int64_t end = start;
      if (atspi_text_get_n_selections(text.get(), error.out()) > 0) {
        if (AtspiRange* selection = atspi_text_get_selection(text.get(), 0, error.out())) {
          start = std::min(selection->start_offset, selection->end_offset);
          end = std::max(selection->start_offset, selection->end_offset);
          g_free(selection);
        }
      }
      if (start >= 0) {
        const std::int64_t location = utf16OffsetOfCharacter(scalars, start);
        element.selectedTextRange =
            AccessibleRange{location, utf16OffsetOfCharacter(scalars, end) - location};
      }
    }
  }
  if (Owned<AtspiComponent> component{atspi_accessible_get_component_iface(accessible)}) {
    if (AtspiRect* extents =
            atspi_component_get_extents(component.get(), ATSPI_COORD_TYPE_SCREEN, error.out())) {
      element.position = foundation::Point{double(extents->x), double(extents->y)};
      element.size = foundation::Size{double(extents->width), double(extents->height)};
      g_free(extents);
    }
  }
  return element;
}

std::optional<AccessibleElement> AtspiAccessibility::reach(const AccessibilityCall& call) {
  return element(call.processIdentifier, call.elementId);
}

std::optional<AccessibleElement> AtspiAccessibility::element(int processIdentifier, int elementId) const {
  std::lock_guard lock(mutex_);
  AtspiAccessible* found = accessible(processIdentifier, elementId);
  return found ? describe(found) : std::nullopt;
}

std::optional<int> AtspiAccessibility::focusedElementId(int processIdentifier) const {
  std::lock_guard lock(mutex_);
  AtspiAccessible* app = application(processIdentifier);
  if (app == nullptr) return std::nullopt;
  // Depth first through what is showing; a bound keeps a huge tree from stalling the caller.
  constexpr int kMostElementsVisited = 5000;
  int visited = 0;
  std::vector<Owned<AtspiAccessible>> pending;
  pending.emplace_back(static_cast<AtspiAccessible*>(g_object_ref(app)));
  while (!pending.empty() && visited++ < kMostElementsVisited) {
    Owned<AtspiAccessible> current = std::move(pending.back());
    pending.pop_back();
    if (current.get() != app) {
      if (hasState(current.get(), ATSPI_STATE_FOCUSED)) return idOf(processIdentifier, current.get());
      if (!hasState(current.get(), ATSPI_STATE_SHOWING)) continue;
    }
    CallError error;
    const gint count = atspi_accessible_get_child_count(current.get(), error.out());
    for (gint i = count - 1; i >= 0; --i) {
      if (AtspiAccessible* child = atspi_accessible_get_child_at_index(current.get(), i, error.out()))
        pending.emplace_back(child);
    }
  }
  return std::nullopt;
}

std::optional<foundation::Rect> AtspiAccessibility::boundsForRange(int processIdentifier, int elementId,
                                                                   AccessibleRange range) const {
  std::lock_guard lock(mutex_);
  AtspiAccessible* found = accessible(processIdentifier, elementId);
  if (found == nullptr) return std::nullopt;
  const auto described = describe(found);
  if (!described || !isTextRole(described->role) || !described->value || range.length < 0)
    return std::nullopt;
  const auto scalars = foundation::unicodeScalars(*described->value);
  const auto start = characterOffsetOfUtf16(scalars, range.location);
  const auto end = characterOffsetOfUtf16(scalars, range.location + range.length);
  if (!start || !end) return std::nullopt;
  Owned<AtspiText> text(atspi_accessible_get_text_iface(found));
  CallError error;
  AtspiRect* extents = text ? atspi_text_get_range_extents(text.get(), gint(*start), gint(*end),
                                                           ATSPI_COORD_TYPE_SCREEN, error.out())
                            : nullptr;
  if (extents == nullptr) return std::nullopt;
  const foundation::Rect bounds{{double(extents->x), double(extents->y)},
                                {double(extents->width), double(extents->height)}};
  g_free(extents);
  return bounds;
}

bool AtspiAccessibility::setValue(int processIdentifier, int elementId, const std::string& text) {
  std::lock_guard lock(mutex_);
  AtspiAccessible* found = accessible(processIdentifier, elementId);
  const auto described = found ? describe(found) : std::nullopt;
  if (!described || !isTextRole(described->role)) return false;
  Owned<AtspiEditableText> editable(atspi_accessible_get_editable_text_iface(found));
  CallError error;
  return editable && atspi_editable_text_set_text_contents(editable.get(), text.c_str(), error.out()) &&
         !error.hasFailed();
}

bool AtspiAccessibility::setSelectedTextRange(int processIdentifier, int elementId, AccessibleRange range) {
  std::lock_guard lock(mutex_);
  AtspiAccessible* found = accessible(processIdentifier, elementId);
  const auto described = found ? describe(found) : std::nullopt;
  if (!described || !isTextRole(described->role) || !described->value || range.length < 0) return false;
  const auto scalars = foundation::unicodeScalars(*described->value);
  const auto start = characterOffsetOfUtf16(scalars, range.location);
  const auto end = characterOffsetOfUtf16(scalars, range.location + range.length);
  if (!start || !end) return false;
  Owned<AtspiText> text(atspi_accessible_get_text_iface(found));
  if (!text) return false;
  CallError error;
  if (*start == *end)
    return atspi_text_set_caret_offset(text.get(), gint(*start), error.out()) && !error.hasFailed();
  if (atspi_text_get_n_selections(text.get(), error.out()) > 0)
    return atspi_text_set_selection(text.get(), 0, gint(*start), gint(*end), error.out()) &&
           !error.hasFailed();
  return atspi_text_add_selection(text.get(), gint(*start), gint(*end), error.out()) && !error.hasFailed();
}

bool AtspiAccessibility::setAttribute(int processIdentifier, int /*elementId*/, const std::string& name,
                                      const AccessibleValue& value) {
  if (name != "AXManualAccessibility" && name != "AXEnhancedUserInterface") return false;
  const bool* isOn = std::get_if<bool>(&value);
  if (isOn == nullptr || !*isOn || !isTrusted_ || !isProcessRunning(processIdentifier)) return false;
  const auto bus = sessionBus();
  if (!bus) return false;
  CallError error;
  GVariant* reply = g_dbus_connection_call_sync(
      bus.get(), "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
      g_variant_new("(ssv)", "org.a11y.Status", "IsEnabled", g_variant_new_boolean(TRUE)), nullptr,
      G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, error.out());
  if (reply == nullptr) return false;
  g_variant_unref(reply);
  return true;
}

}  // namespace desktop::atspi
