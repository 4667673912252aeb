// A handle on an accessibility element: the system-wide element, an application's element, or one element
// of an application. Copying a handle keeps referring to the same element.
#pragma once

namespace ax {

class Element {
 public:
  // The element that answers for the whole desktop (its focused element, its focused application).
  static Element systemWide() { return Element(Kind::systemWide, 0, 0); }
  // The top element of the application with the given process identifier.
  static Element application(int processIdentifier) {
    return Element(Kind::application, processIdentifier, 0);
  }
  // An element inside an application, by the identifier its application gives it.
  static Element inApplication(int processIdentifier, int elementId) {
    return Element(Kind::element, processIdentifier, elementId);
  }

  bool isSystemWide() const { return kind_ == Kind::systemWide; }
  bool isApplication() const { return kind_ == Kind::application; }
  // The process the element belongs to (0 for the system-wide element).
  int processIdentifier() const { return processIdentifier_; }
  // The element's identifier within its application (0 for an application element).
  int elementId() const { return elementId_; }

  bool operator==(const Element&) const = default;

 private:
  enum class Kind { systemWide, application, element };
  Element(Kind kind, int processIdentifier, int elementId)
      : kind_(kind), processIdentifier_(processIdentifier), elementId_(elementId) {}

  Kind kind_;
  int processIdentifier_;
  int elementId_;
};

}  // namespace ax
