// Names of the accessibility attributes, parameterized attributes and values this program uses.
#pragma once

namespace ax::attribute {

inline constexpr const char* role = "AXRole";
inline constexpr const char* subrole = "AXSubrole";
inline constexpr const char* title = "AXTitle";
inline constexpr const char* value = "AXValue";
inline constexpr const char* position = "AXPosition";
inline constexpr const char* size = "AXSize";
inline constexpr const char* selectedText = "AXSelectedText";
inline constexpr const char* selectedTextRange = "AXSelectedTextRange";
inline constexpr const char* numberOfCharacters = "AXNumberOfCharacters";
inline constexpr const char* focusedUIElement = "AXFocusedUIElement";
inline constexpr const char* focusedApplication = "AXFocusedApplication";
inline constexpr const char* manualAccessibility = "AXManualAccessibility";

// Parameterized attributes.
inline constexpr const char* boundsForRange = "AXBoundsForRange";

}  // namespace ax::attribute

namespace ax::role {

inline constexpr const char* application = "AXApplication";
inline constexpr const char* systemWide = "AXSystemWide";
inline constexpr const char* textArea = "AXTextArea";
inline constexpr const char* textField = "AXTextField";
inline constexpr const char* comboBox = "AXComboBox";

}  // namespace ax::role
