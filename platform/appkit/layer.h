// Layers behind views: the shadow a view casts and the animations running on it.
#pragma once

#include <cfloat>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/geometry.h"

namespace appkit {

// An animation of one property through a list of values at relative key times (0 to 1 of the duration),
// repeated `repeatCount` times (FLT_MAX: for as long as the layer lives).
struct KeyframeAnimation {
  std::string keyPath;
  std::vector<double> values;
  std::vector<double> keyTimes;
  double duration = 0;
  float repeatCount = 0;

  bool operator==(const KeyframeAnimation&) const = default;
};

// Main thread only, like the view that owns it.
class Layer {
 public:
  float shadowOpacity() const { return shadowOpacity_; }
  void setShadowOpacity(float opacity) { shadowOpacity_ = opacity; }
  // Points right and up; the platform's default is (0, -3).
  foundation::Size shadowOffset() const { return shadowOffset_; }
  void setShadowOffset(foundation::Size offset) { shadowOffset_ = offset; }
  double shadowRadius() const { return shadowRadius_; }
  void setShadowRadius(double radius) { shadowRadius_ = radius; }

  // Adds an animation under a key, replacing one already there.
  void addAnimation(KeyframeAnimation animation, const std::string& key) {
    animations_.insert_or_assign(key, std::move(animation));
  }
  std::optional<KeyframeAnimation> animation(const std::string& key) const {
    const auto found = animations_.find(key);
    if (found == animations_.end()) return std::nullopt;
    return found->second;
  }
  std::vector<std::string> animationKeys() const {
    std::vector<std::string> keys;
    for (const auto& [key, animation] : animations_) keys.push_back(key);
    return keys;
  }
  void removeAllAnimations() { animations_.clear(); }

 private:
  float shadowOpacity_ = 0;
  foundation::Size shadowOffset_{0, -3};
  double shadowRadius_ = 3;
  std::map<std::string, KeyframeAnimation> animations_;
};

}  // namespace appkit
