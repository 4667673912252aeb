#include "syntax_highlighter/grammar.h"

namespace Glint {

CharacterSet::CharacterSet(std::function<bool(char32_t)> contains) : contains_(std::move(contains)) {
  for (char32_t scalar = 0; scalar < 0x80; ++scalar) ascii_[scalar] = contains_(scalar);
}

}  // namespace Glint
