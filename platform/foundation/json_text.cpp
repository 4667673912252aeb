#include "platform/foundation/json_text.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/foundation/text_error.h"

namespace foundation {
namespace {

// Writing and parsing recurse per nesting level, so deeper texts are refused rather than risking the stack.
constexpr std::size_t kMaximumDepth = 512;

// The deepest nesting of arrays and objects in a JSON text, counting only brackets outside strings.
std::size_t nestingDepth(std::string_view text) {
  std::size_t depth = 0, deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

// Checks a value before writing: no non-finite number, no nesting beyond the limit. Iterative, so a deep
// value cannot exhaust the stack here.
void checkWritable(const Json& value) {
  std::vector<std::pair<const Json*, std::size_t>> pending{{&value, 1}};
  while (!pending.empty()) {
    const auto [item, depth] = pending.back();
    pending.pop_back();
    if (item->is_number_float() && !std::isfinite(item->get<double>())) {
      throw TextError(fmt::format("The number {} cannot be written as JSON.", item->get<double>()));
    }
    if (item->is_structured()) {
      if (depth > kMaximumDepth) throw TextError("The value is nested too deeply to be written as JSON.");
      for (const auto& child : *item) pending.emplace_back(&child, depth + 1);
    }
  }
}

std::string_view kindName(const Json& value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a boolean";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}

[[noreturn]] void throwKindMismatch(std::string_view expected, const Json& value) {
  throw TextError(fmt::format("Expected {} but found {}.", expected, kindName(value)));
}

// Reads a required member with a typed reader, naming the member in the error.
template <typename Read>
auto readMember(const Json& object, std::string_view key, Read read) {
  const Json& member = requiredMember(object, key);
  try {
    return read(member);
  } catch (const TextError& error) {
    throw TextError(fmt::format("Member \"{}\": {}", key, error.text()));
  }
}

template <typename Read>
auto readOptionalMember(const Json& object, std::string_view key, Read read)
    -> std::optional<decltype(read(object))> {
  const Json* member = optionalMember(object, key);
  if (!member) return std::nullopt;
  try {
    return read(*member);
  } catch (const TextError& error) {
    throw TextError(fmt::format("Member \"{}\": {}", key, error.text()));
  }
}

}  // namespace

std::string jsonText(const Json& value) {
  checkWritable(value);
  const std::string text = value.dump(-1, ' ', false, Json::error_handler_t::replace);
  // Outside strings JSON text never contains "/", so every slash in the text belongs to a string.
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    if (c == '/') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return escaped;
}

Json parseJson(std::string_view text) {
  if (nestingDepth(text) > kMaximumDepth) throw TextError("The JSON text is nested too deeply.");
  try {
    return Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& error) {
    // nlohmann's message reads "[json.exception.parse_error.N] parse error at line L, column C: reason";
    // the reason and the byte position are what a reader needs.
    std::string_view reason = error.what();
    if (const auto colon = reason.find(": "); colon != std::string_view::npos)
      reason.remove_prefix(colon + 2);
    throw TextError(fmt::format("The text is not valid JSON (at byte {}): {}", error.byte, reason));
  } catch (const Json::exception& error) {
    throw TextError(fmt::format("The text is not valid JSON: {}", error.what()));
  }
}

std::optional<Json> parseJsonIfValid(std::string_view text) {
  if (nestingDepth(text) > kMaximumDepth) return std::nullopt;
  Json value = Json::parse(text.begin(), text.end(), nullptr, false);
  if (value.is_discarded()) return std::nullopt;
  return value;
}

const Json* optionalMember(const Json& object, std::string_view key) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(key);
  if (found == object.end() || found->is_null()) return nullptr;
  return &*found;
}

const Json& requiredMember(const Json& object, std::string_view key) {
  if (!object.is_object()) throwKindMismatch("an object", object);
  const Json* member = optionalMember(object, key);
  if (!member) throw TextError(fmt::format("The member \"{}\" is missing.", key));
  return *member;
}

bool isStrictInteger(const Json& value) {
  if (value.is_number_integer() && !value.is_number_unsigned()) return true;
  if (value.is_number_unsigned()) {
    return value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  }
  if (value.is_number_float()) {
    const double d = value.get<double>();
    // -2^63 is representable as int64, 2^63 is not.
    return std::isfinite(d) && std::trunc(d) == d && d >= -9223372036854775808.0 && d < 9223372036854775808.0;
  }
  return false;
}

std::int64_t integerValue(const Json& value) {
  if (!isStrictInteger(value)) {
    if (value.is_number()) throw TextError(fmt::format("Expected an integer but found {}.", value.dump()));
    throwKindMismatch("an integer", value);
  }
  if (value.is_number_float()) return static_cast<std::int64_t>(value.get<double>());
  if (value.is_number_unsigned()) return static_cast<std::int64_t>(value.get<std::uint64_t>());
  return value.get<std::int64_t>();
}

double doubleValue(const Json& value) {
  if (!value.is_number()) throwKindMismatch("a number", value);
  return value.get<double>();
}

bool boolValue(const Json& value) {
  if (!value.is_boolean()) throwKindMismatch("a boolean", value);
  return value.get<bool>();
}

std::string stringValue(const Json& value) {
  if (!value.is_string()) throwKindMismatch("a string", value);
  return value.get<std::string>();
}

std::optional<std::int64_t> optionalInteger(const Json& object, std::string_view key) {
  return readOptionalMember(object, key, integerValue);
}
std::optional<double> optionalDouble(const Json& object, std::string_view key) {
  return readOptionalMember(object, key, doubleValue);
}
std::optional<bool> optionalBool(const Json& object, std::string_view key) {
  return readOptionalMember(object, key, boolValue);
}
std::optional<std::string> optionalString(const Json& object, std::string_view key) {
  return readOptionalMember(object, key, stringValue);
}

std::int64_t requiredInteger(const Json& object, std::string_view key) {
  return readMember(object, key, integerValue);
}
double requiredDouble(const Json& object, std::string_view key) {
  return readMember(object, key, doubleValue);
}
bool requiredBool(const Json& object, std::string_view key) { return readMember(object, key, boolValue); }
std::string requiredString(const Json& object, std::string_view key) {
  return readMember(object, key, stringValue);
}

}  // namespace foundation
