// Other applications' user-interface elements on a Linux desktop, reached through AT-SPI (the desktop's
// accessibility bus): the focused element of a process, its role in the platform's role names, text,
// selection in UTF-16 units and bounds, and writes of text and selection.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/accessibility_service.h"

typedef struct _AtspiAccessible AtspiAccessible;

namespace desktop::atspi {

// Thread-safe: libatspi is not, so one mutex serialises every call into it and the table of elements.
class AtspiAccessibility final : public AccessibilityService {
 public:
  // Connects to the accessibility bus if the session has one that answers; otherwise the service is
  // there but reaches nothing, and isTrusted() is false (the bus is checked first: libatspi ends the
  // program when it finds none).
  AtspiAccessibility();
  ~AtspiAccessibility() override;
  AtspiAccessibility(const AtspiAccessibility&) = delete;
  AtspiAccessibility& operator=(const AtspiAccessibility&) = delete;

  // Whether this program may read other applications' elements: the accessibility bus answered.
  bool isTrusted() const { return isTrusted_; }

  std::optional<AccessibleElement> reach(const AccessibilityCall& call) override;
  // Text roles are "AXTextArea" (several lines), "AXTextField" (one line) and "AXComboBox"; a password
  // field is "AXSecureTextField", outside them, and neither its text nor its selection is ever read.
  std::optional<AccessibleElement> element(int processIdentifier, int elementId) const override;
  // The focused element of the process's showing windows, if any.
  std::optional<int> focusedElementId(int processIdentifier) const override;
  std::optional<foundation::Rect> boundsForRange(int processIdentifier, int elementId,
                                                 AccessibleRange range) const override;

  bool setValue(int processIdentifier, int elementId, const std::string& text) override;
  bool setSelectedTextRange(int processIdentifier, int elementId, AccessibleRange range) override;
  // "AXManualAccessibility" and "AXEnhancedUserInterface" set to true switch the accessibility of
  // Chromium and Electron applications on, which on this desktop is the bus's one switch (its IsEnabled
  // status) for every application; other attributes cannot be written.
  bool setAttribute(int processIdentifier, int elementId, const std::string& name,
                    const AccessibleValue& value) override;

 private:
  // The elements of one process this program has named, by number; number 0 is its application.
  struct Process {
    std::vector<AtspiAccessible*> elements;
  };

  AtspiAccessible* application(int processIdentifier) const;
  AtspiAccessible* accessible(int processIdentifier, int elementId) const;
  int idOf(int processIdentifier, AtspiAccessible* accessible) const;
  std::optional<AccessibleElement> describe(AtspiAccessible* accessible) const;

  bool isTrusted_ = false;
  mutable std::mutex mutex_;
  mutable std::map<int, Process> processes_;
};

}  // namespace desktop::atspi
