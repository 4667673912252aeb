// The header fields of an HTTP request or response: ordered, with names compared regardless of case.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

class HTTPHeaderFields {
 public:
  using Field = std::pair<std::string, std::string>;

  // Sets a field, replacing every field of the same name (a request's header dictionary).
  void setValue(std::string value, std::string_view name);
  // Appends a field; a response may carry one name several times.
  void addValue(std::string value, std::string name);
  // The value of the first field of that name, or nothing.
  std::optional<std::string> value(std::string_view name) const;

  // Every field in the order it was set or received.
  const std::vector<Field>& fields() const { return fields_; }
  std::size_t size() const { return fields_.size(); }
  bool empty() const { return fields_.empty(); }

  bool operator==(const HTTPHeaderFields&) const = default;

 private:
  std::vector<Field> fields_;
};

// Whether two header names are the same name (ASCII case-insensitive).
bool isSameHeaderName(std::string_view a, std::string_view b);

}  // namespace foundation
