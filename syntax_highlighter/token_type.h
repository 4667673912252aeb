// What a token of source code is: keyword, string, type, call, ... or a type a grammar names itself.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace Glint {

class TokenType {
 public:
  enum class Kind {
    keyword,
    string,
    type,
    call,
    number,
    comment,
    property,
    dotAccess,
    preprocessing,
    custom
  };

  static TokenType keyword() { return TokenType(Kind::keyword); }
  static TokenType string() { return TokenType(Kind::string); }
  static TokenType type() { return TokenType(Kind::type); }
  static TokenType call() { return TokenType(Kind::call); }
  static TokenType number() { return TokenType(Kind::number); }
  static TokenType comment() { return TokenType(Kind::comment); }
  static TokenType property() { return TokenType(Kind::property); }
  static TokenType dotAccess() { return TokenType(Kind::dotAccess); }
  static TokenType preprocessing() { return TokenType(Kind::preprocessing); }
  static TokenType custom(std::string name) { return TokenType(Kind::custom, std::move(name)); }

  Kind kind() const { return kind_; }
  // The carried text of a custom type; empty for the fixed kinds.
  const std::string& customName() const { return customName_; }
  // The type's text: the kind's name ("dotAccess"), or the carried text of a custom type.
  std::string stringValue() const;

  bool operator==(const TokenType&) const = default;

 private:
  explicit TokenType(Kind kind, std::string customName = {})
      : kind_(kind), customName_(std::move(customName)) {}

  Kind kind_;
  std::string customName_;
};

// The nine fixed types in declaration order.
inline const std::array<TokenType, 9>& fixedTokenTypes() {
  static const std::array<TokenType, 9> types{
      TokenType::keyword(),  TokenType::string(),    TokenType::type(),
      TokenType::call(),     TokenType::number(),    TokenType::comment(),
      TokenType::property(), TokenType::dotAccess(), TokenType::preprocessing()};
  return types;
}

}  // namespace Glint

template <>
struct std::hash<Glint::TokenType> {
  std::size_t operator()(const Glint::TokenType& type) const {
    return std::hash<std::string>{}(type.customName()) * 31 + static_cast<std::size_t>(type.kind());
  }
};
