// JSON text: writing and parsing JSON with the platform encoder's rules, and strict typed reads for decoders.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A JSON value whose object members keep their insertion (declaration) order.
using Json = nlohmann::ordered_json;

// Compact JSON text of a value (no spaces or line breaks), members in insertion order, every "/" written
// as "\/". Throws TextError when the value holds a non-finite number (NaN or an infinity). Invalid UTF-8
// in strings is written as U+FFFD.
std::string jsonText(const Json& value);

// The JSON value of a text. Throws TextError describing the fault when the text is not JSON.
Json parseJson(std::string_view text);

// The JSON value of a text, or nothing when the text is not JSON.
std::optional<Json> parseJsonIfValid(std::string_view text);

// The member `key` of an object, or nullptr when the value is not an object, or the member is missing or
// null (null counts as absent).
const Json* optionalMember(const Json& object, std::string_view key);

// The member `key` of an object. Throws TextError when it is missing or null, or the value is no object.
const Json& requiredMember(const Json& object, std::string_view key);

// Whether a value is an integer in the strict sense: a number with no fractional part that fits in 64
// signed bits (8 and 8.0 are, 8.5, "8", true and 1e30 are not).
bool isStrictInteger(const Json& value);

// Strict reads of one value; each throws TextError when the value is not of the kind asked for.
std::int64_t integerValue(const Json& value);  // see isStrictInteger
double doubleValue(const Json& value);         // any number
bool boolValue(const Json& value);             // true or false only (never a number)
std::string stringValue(const Json& value);    // a string only (never a number)

// Strict reads of an object member: nothing when the member is missing or null; TextError when it is
// present with the wrong kind.
std::optional<std::int64_t> optionalInteger(const Json& object, std::string_view key);
std::optional<double> optionalDouble(const Json& object, std::string_view key);
std::optional<bool> optionalBool(const Json& object, std::string_view key);
std::optional<std::string> optionalString(const Json& object, std::string_view key);

// Strict reads of a required object member: TextError when missing, null or of the wrong kind.
std::int64_t requiredInteger(const Json& object, std::string_view key);
double requiredDouble(const Json& object, std::string_view key);
bool requiredBool(const Json& object, std::string_view key);
std::string requiredString(const Json& object, std::string_view key);

}  // namespace foundation
