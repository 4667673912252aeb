#include "settings_store/key.h"

#include <functional>

namespace Defaults {

AnyKey::AnyKey(std::string name, std::shared_ptr<foundation::UserDefaults> suite)
    : name_(std::move(name)), suite_(std::move(suite)) {}

void AnyKey::removeStoredValue() const { suite_->removeObject(name_); }

bool AnyKey::operator==(const AnyKey& other) const {
  if (name_ != other.name_) return false;
  if (suite_ == other.suite_) return true;
  return suite_ && other.suite_ && suite_->isSameSuite(*other.suite_);
}

std::size_t AnyKey::hashValue() const {
  const std::size_t nameHash = std::hash<std::string>{}(name_);
  // Instances of one suite share its file, so the file's path stands for the suite.
  const std::size_t suiteHash = suite_ ? std::hash<std::string>{}(suite_->filePath().string()) : 0;
  return nameHash ^ (suiteHash + 0x9e3779b97f4a7c15ull + (nameHash << 6) + (nameHash >> 2));
}

void removeStoredValues(const std::vector<const AnyKey*>& keys) {
  for (const AnyKey* key : keys) key->removeStoredValue();
}

void removeStoredValues(std::initializer_list<std::reference_wrapper<const AnyKey>> keys) {
  for (const AnyKey& key : keys) key.removeStoredValue();
}

void removeStoredValues(const std::vector<std::string>& names, foundation::UserDefaults& suite) {
  for (const std::string& name : names) suite.removeObject(name);
}

void removeAllStoredValues(foundation::UserDefaults& suite) {
  for (const auto& [name, value] : suite.dictionaryRepresentation()) suite.removeObject(name);
}

bool isUsableKeyName(std::string_view name) {
  if (!name.empty() && name.front() == '@') return false;
  for (char character : name) {
    const auto byte = static_cast<unsigned char>(character);
    if (byte >= 0x80 || character == '.') return false;
  }
  return true;
}

}  // namespace Defaults
