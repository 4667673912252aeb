#include "syntax_highlighter/token_type.h"

namespace Glint {

std::string TokenType::stringValue() const {
  switch (kind_) {
    case Kind::keyword:
      return "keyword";
    case Kind::string:
      return "string";
    case Kind::type:
      return "type";
    case Kind::call:
      return "call";
    case Kind::number:
      return "number";
    case Kind::comment:
      return "comment";
    case Kind::property:
      return "property";
    case Kind::dotAccess:
      return "dotAccess";
    case Kind::preprocessing:
      return "preprocessing";
    case Kind::custom:
      break;
  }
  return customName_;
}

}  // namespace Glint
