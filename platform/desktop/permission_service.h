// What the person allowed this program to do, by permission name.
#pragma once

#include <string_view>

namespace desktop {

// The permissions the platform layers ask about.
namespace permission {
// Reading and writing other applications' user-interface elements.
inline constexpr std::string_view accessibility = "accessibility";
inline constexpr std::string_view microphone = "microphone";
inline constexpr std::string_view speechRecognition = "speechRecognition";
}  // namespace permission

class PermissionService {
 public:
  virtual ~PermissionService() = default;

  // Whether the permission is granted right now; an unknown one is not.
  virtual bool isPermissionGranted(std::string_view permission) const = 0;
  // Asks the system to prompt the person for a permission; the answer comes later, if at all, and shows
  // in isPermissionGranted.
  virtual void requestPermission(std::string_view permission) = 0;
};

}  // namespace desktop
