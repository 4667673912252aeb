#include "syntax_highlighter/swift_grammar.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>

#include "platform/foundation/unicode.h"
#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace {

using detail::endsWith;
using detail::isCanonically;
using detail::startsWith;
using WordSet = SwiftGrammar::WordSet;

const std::string quote = "\"";
const std::string backslash = "\\";
const std::string interpolationOpener = "\\(";

// Set membership by canonical equivalence; the sets hold ASCII words only.
bool isOneOf(std::string_view text, const WordSet& words) {
  if (detail::isASCII(text)) return words.find(std::string(text)) != words.end();
  return words.find(detail::canonicalKey(text)) != words.end();
}

bool isOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view word) { return isCanonically(text, word); });
}

bool neighbourIsOneOf(const std::optional<std::string>& text, std::initializer_list<std::string_view> words) {
  return text && isOneOf(*text, words);
}

bool is(const std::optional<std::string>& text, std::string_view word) {
  return text && isCanonically(*text, word);
}

// Line tokens carry their canonical keys, so comparing them with ASCII words is a plain comparison.
bool lineTokenIs(const TokenList& line, std::size_t index, std::string_view word) {
  return line.key(index) == word;
}

bool lineContainsAnyOf(const TokenList& line, const WordSet& words) {
  for (std::size_t index = 0; index < line.size(); ++index) {
    if (words.count(line.key(index)) != 0) return true;
  }
  return false;
}

bool lineContainsAnyOf(const TokenList& line, const std::vector<std::string>& words) {
  for (std::size_t index = 0; index < line.size(); ++index) {
    if (std::find(words.begin(), words.end(), line.key(index)) != words.end()) return true;
  }
  return false;
}

// The last `words.size()` line tokens are exactly these words.
bool lineEndsWith(const TokenList& line, std::initializer_list<std::string_view> words) {
  if (line.size() < words.size()) return false;
  std::size_t index = line.size() - words.size();
  for (std::string_view word : words) {
    if (!lineTokenIs(line, index++, word)) return false;
  }
  return true;
}

std::string_view trimmingUnderscores(std::string_view text) {
  const auto first = text.find_first_not_of('_');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of('_');
  return text.substr(first, last - first + 1);
}

bool beginsIdentifier(const Segment& segment) {
  const std::string& token = segment.tokens.current;
  if (token.empty()) return false;
  const std::string_view first = detail::firstCharacter(token);
  return isCanonically(first, "_") || isCanonically(first, "$") ||
         detail::isLetter(detail::firstScalar(first));
}

bool isDecimalInteger(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty() ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  // The sign stays for the range check: "-9223372036854775808" fits, "+9223372036854775808" does not.
  std::string_view number = text.front() == '+' ? text.substr(1) : text;
  long long value = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  return error == std::errc() && end == number.data() + number.size();
}

bool isInsideDelimitedRun(const Segment& segment, std::string_view open, std::string_view close) {
  const std::string& token = segment.tokens.current;
  if (startsWith(token, open)) return true;
  if (endsWith(token, close)) return true;
  const TokenList& line = segment.tokens.onSameLine;
  if (line.empty()) return false;
  std::size_t openings = 0;
  std::size_t closings = 0;
  for (std::size_t index = 0; index < line.size(); ++index) {
    const std::string& lineToken = line[index];
    // An interpolation, or an escaped quote, inside the run neither opens nor closes it.
    if (index > 0 && lineTokenIs(line, index - 1, backslash) &&
        (startsWith(lineToken, "(") || startsWith(lineToken, "#(") || startsWith(lineToken, quote))) {
      continue;
    }
    if (isCanonically(lineToken, open)) {
      if (open == close && openings != closings) {
        ++closings;
      } else {
        ++openings;
      }
    } else if (open != close && isCanonically(lineToken, close)) {
      ++closings;
    } else {
      if (startsWith(lineToken, open)) ++openings;
      if (endsWith(lineToken, close)) ++closings;
    }
  }
  return openings != closings;
}

bool isInsideInterpolation(const Segment& segment) {
  if (isCanonically(segment.tokens.current, interpolationOpener)) return true;
  if (is(segment.tokens.previous, interpolationOpener)) return true;
  const TokenList& line = segment.tokens.onSameLine;
  // Cut the line at every opener, dropping empty pieces; only the count and the last piece matter.
  std::size_t pieceCount = 0;
  std::size_t lastPieceStart = 0;
  bool isInPiece = false;
  for (std::size_t index = 0; index < line.size(); ++index) {
    if (lineTokenIs(line, index, interpolationOpener)) {
      isInPiece = false;
    } else if (!isInPiece) {
      isInPiece = true;
      ++pieceCount;
      lastPieceStart = index;
    }
  }
  if (pieceCount < 2) return false;
  long depth = 1;
  for (std::size_t index = lastPieceStart; index < line.size(); ++index) {
    if (lineTokenIs(line, index, interpolationOpener)) break;
    depth += static_cast<long>(detail::countOfCharacter(line[index], "("));
    depth -= static_cast<long>(detail::countOfCharacter(line[index], ")"));
    if (depth <= 0) return false;
  }
  return true;
}

// The pieces backslash, "#", "(", one inner token and ")" of a raw-string interpolation.
bool isRawInterpolationPart(const Segment& segment) {
  const auto& tokens = segment.tokens;
  const std::string& token = tokens.current;
  const TokenList& line = tokens.onSameLine;
  if (isCanonically(token, backslash)) return !is(tokens.previous, backslash) && is(tokens.next, "#");
  if (isCanonically(token, "#")) return is(tokens.previous, backslash) && is(tokens.next, "(");
  if (isCanonically(token, "(")) return lineEndsWith(line, {backslash, "#"});
  if (isCanonically(token, ")")) {
    const std::size_t start = line.size() >= 4 ? line.size() - 4 : 0;
    const std::size_t count = std::min<std::size_t>(3, line.size() - start);
    return count == 3 && lineTokenIs(line, start, backslash) && lineTokenIs(line, start + 1, "#") &&
           lineTokenIs(line, start + 2, "(");
  }
  return lineEndsWith(line, {backslash, "#", "("}) && is(tokens.next, ")");
}

bool prefixEndsWithSpaceAndDot(const Segment& segment) { return endsWith(segment.prefix.view(), " ."); }

class Rule : public SyntaxRule {
 public:
  explicit Rule(TokenType type) : type_(std::move(type)) {}
  TokenType assignedTokenType() const override { return type_; }

 private:
  TokenType type_;
};

class PreprocessingRule : public Rule {
 public:
  PreprocessingRule() : Rule(TokenType::preprocessing()) {}
  bool accepts(const Segment& segment) const override {
    const std::string& token = segment.tokens.current;
    if (isOneOf(token, controlFlowTokens_) || isOneOf(token, directiveTokens_)) return true;
    // The rest of a conditional-compilation line belongs to the directive.
    return lineContainsAnyOf(segment.tokens.onSameLine, controlFlowTokens_);
  }

 private:
  WordSet controlFlowTokens_{"#if", "#endif", "#elseif", "#else"};
  WordSet directiveTokens_{"#warning", "#error"};
};

class CommentRule : public Rule {
 public:
  CommentRule() : Rule(TokenType::comment()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const std::string& token = tokens.current;
    if (startsWith(token, "/*") && endsWith(token, "*/")) return true;
    if (startsWith(token, "//")) return true;
    for (std::size_t index = 0; index < tokens.onSameLine.size(); ++index) {
      if (lineTokenIs(tokens.onSameLine, index, "//") || lineTokenIs(tokens.onSameLine, index, "///"))
        return true;
    }
    if (isOneOf(token, {"/*", "/**", "*/"})) return true;
    // A block comment is open while its openers outnumber its closers.
    return tokens.counts.count("/*") + tokens.counts.count("/**") != tokens.counts.count("*/");
  }
};

class RawStringRule : public Rule {
 public:
  RawStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    if (isRawInterpolationPart(segment)) return false;
    if (isInsideDelimitedRun(segment, "#\"", "\"#")) return true;
    const auto& counts = segment.tokens.counts;
    return counts.count("#\"\"\"") != counts.count("\"\"\"#");
  }
};

class MultiLineStringRule : public Rule {
 public:
  MultiLineStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    return segment.tokens.counts.count("\"\"\"") % 2 == 1 && !isInsideInterpolation(segment);
  }
};

class SingleLineStringRule : public Rule {
 public:
  SingleLineStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    const std::string& token = segment.tokens.current;
    if (startsWith(token, quote) && endsWith(token, quote)) return true;
    if (!isInsideDelimitedRun(segment, quote, quote)) return false;
    if (isInsideInterpolation(segment)) return false;
    return !isRawInterpolationPart(segment);
  }
};

class AttributeRule : public Rule {
 public:
  AttributeRule() : Rule(TokenType::keyword()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    if (startsWith(tokens.current, "@")) return true;
    if (!is(tokens.previous, ".")) return false;
    const TokenList& line = tokens.onSameLine;
    return line.size() >= 2 && startsWith(line[line.size() - 2], "@");
  }
};

class NumberRule : public Rule {
 public:
  NumberRule() : Rule(TokenType::number()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    if (tokens.previous && endsWith(*tokens.previous, "$")) return false;
    std::string withoutUnderscores = tokens.current;
    std::erase(withoutUnderscores, '_');
    if (isDecimalInteger(withoutUnderscores)) return true;
    return isCanonically(tokens.current, ".") && tokens.previous && tokens.next &&
           isDecimalInteger(*tokens.previous) && isDecimalInteger(*tokens.next);
  }
};

class TypeRule : public Rule {
 public:
  TypeRule() : Rule(TokenType::type()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const auto& declarationWords = SwiftGrammar::declarationWords();
    // The name being declared is not coloured.
    if (tokens.previous && isOneOf(*tokens.previous, declarationWords)) return false;
    const std::string_view name = trimmingUnderscores(tokens.current);
    if (name.empty()) return false;
    // A type name begins with a character that has a distinct lowercase form.
    if (detail::equalsItsLowercase(detail::firstCharacter(name))) return false;
    if (is(tokens.previous, "(.")) return false;
    if (prefixEndsWithSpaceAndDot(segment)) return false;
    if (startsWith(name, "XCTAssert")) return false;
    if (!neighbourIsOneOf(tokens.previous, {"<", ",", "*/"})) return true;

    // After "<", "," or "*/": a generic parameter being declared is not a type, a generic argument is.
    bool hasSeenOpeningBracket = false;
    const TokenList& all = tokens.all;
    for (std::size_t index = all.size(); index-- > 0;) {
      const std::string& key = all.key(index);
      if (key == "->" || key == ">" || key == ">:") return true;
      if (hasSeenOpeningBracket || key == "<") {
        if (key == ":") return true;
        if (startsWith(all[index], "@")) return true;
        hasSeenOpeningBracket = true;
      }
      if (declarationWords.count(key) != 0) return !hasSeenOpeningBracket;
      if (key == "=" || key == "==" || key == "(" || key == "_" || key == "@escaping") return true;
    }
    return true;
  }
};

class CallRule : public Rule {
 public:
  CallRule() : Rule(TokenType::call()) {
    keywordsToAvoid_ = SwiftGrammar::reservedWords();
    for (const char* word : {"return", "try", "throw", "if", "in", "await"}) keywordsToAvoid_.erase(word);
    callLikeKeywords_ = SwiftGrammar::accessModifiers();
    callLikeKeywords_.insert({"subscript", "init"});
  }

  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const TokenList& line = tokens.onSameLine;
    const std::string_view name = trimmingUnderscores(tokens.current);
    if (name.empty()) return false;
    if (!detail::isLetterOrMark(detail::firstScalar(name))) return false;
    if (isCanonically(name, "init")) return false;
    if (isOneOf(tokens.current, callLikeKeywords_) && tokens.next && startsWith(*tokens.next, "("))
      return false;
    if (tokens.previous) {
      if (isOneOf(*tokens.previous, keywordsToAvoid_)) return false;
      // Enumeration patterns: "case .name(" and ", .name(".
      if (isCanonically(*tokens.previous, ".") && line.size() >= 2) {
        const std::string& beforeDot = line[line.size() - 2];
        if (isCanonically(beforeDot, "case") || endsWith(beforeDot, ",")) return false;
      }
    }
    if (segment.trailingWhitespace) {
      // Only a trailing closure can follow a call name and a space.
      if (!neighbourIsOneOf(tokens.next, {"{", "{}"})) return false;
      if (is(tokens.previous, ".") && !line.empty()) return !lineContainsAnyOf(line, controlFlowTokens_);
      if (isOneOf(tokens.current, SwiftGrammar::reservedWords())) return false;
      return !lineContainsAnyOf(line, controlFlowTokens_);
    }
    return tokens.next && startsWith(*tokens.next, "(");
  }

 private:
  WordSet keywordsToAvoid_;
  WordSet callLikeKeywords_;
  std::vector<std::string> controlFlowTokens_{"if", "&&", "||", "for", "switch"};
};

class KeyPathRule : public Rule {
 public:
  KeyPathRule() : Rule(TokenType::property()) {}
  bool accepts(const Segment& segment) const override {
    return neighbourIsOneOf(segment.tokens.previous, {"\\.", "(\\."});
  }
};

class PropertyRule : public Rule {
 public:
  PropertyRule() : Rule(TokenType::property()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const std::string& token = tokens.current;
    if (startsWith(token, "$")) {
      const std::size_t firstLength = detail::characterLength(token, 0);
      if (firstLength >= token.size()) return false;
      return detail::isLetter(detail::firstScalar(std::string_view(token).substr(firstLength)));
    }
    const TokenList& line = tokens.onSameLine;
    if (line.empty()) return false;
    if (!beginsIdentifier(segment)) return false;
    if (!neighbourIsOneOf(tokens.previous, {".", "?.", "().", ").", ">."})) return false;
    if (isOneOf(token, {"self", "init"})) return false;
    if (prefixEndsWithSpaceAndDot(segment)) return false;
    if (tokens.next && startsWith(*tokens.next, "(")) return false;
    return !lineTokenIs(line, 0, "import");
  }
};

class DotAccessRule : public Rule {
 public:
  DotAccessRule() : Rule(TokenType::dotAccess()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const TokenList& line = tokens.onSameLine;
    if (line.empty()) return false;
    if (!beginsIdentifier(segment)) return false;
    if (!neighbourIsOneOf(tokens.previous, {".", "(.", "[."})) return false;
    if (isOneOf(tokens.current, {"self", "init"})) return false;
    return !lineTokenIs(line, 0, "import");
  }
};

class KeywordRule : public Rule {
 public:
  KeywordRule() : Rule(TokenType::keyword()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const std::string& token = tokens.current;
    const auto& reservedWords = SwiftGrammar::reservedWords();
    if (isCanonically(token, "_")) return true;
    if (isCanonically(token, "prefix") && is(tokens.next, "func")) return true;
    if (isCanonically(token, "some") && is(tokens.previous, "case")) return false;
    // An argument label.
    if (is(tokens.next, ":") && !isOneOf(token, {"nil", "default"})) return false;
    if (!segment.trailingWhitespace && !isOneOf(token, {"self", "super"}) && is(tokens.next, "."))
      return false;
    if (!tokens.previous) return isOneOf(token, reservedWords);
    const std::string& previous = *tokens.previous;
    if (!tokens.onSameLine.empty() && !isCanonically(token, "self")) {
      if (isOneOf(previous, {"let", "var"})) return false;
      if (isCanonically(token, "actor")) {
        return isOneOf(previous, SwiftGrammar::accessModifiers()) || startsWith(previous, "@");
      }
    }
    if (isOneOf(token, SwiftGrammar::declarationWords())) return true;
    // The parentheses of a setter-access clause such as "private(set)".
    if (isCanonically(token, "(")) return isOneOf(previous, SwiftGrammar::accessModifiers());
    if (isCanonically(token, "set") && isCanonically(previous, "(")) return true;
    if (isCanonically(token, ")")) return isCanonically(previous, "set");
    if (!isOneOf(token, {"self", "let", "var", "true", "false", "inout", "nil", "try", "actor"}) &&
        isOneOf(previous, {"(", ",", ">("})) {
      return false;
    }
    if (isOneOf(previous, {"func", "`"})) return false;
    return isOneOf(token, reservedWords);
  }
};

// Letters, marks and numbers are ordinary characters, and so are these five.
bool isSwiftDelimiter(char32_t scalar) {
  if (scalar == '_' || scalar == '"' || scalar == '#' || scalar == '@' || scalar == '$') return false;
  if (scalar < 0x80) {
    const bool isAlphanumeric = (scalar >= 'a' && scalar <= 'z') || (scalar >= 'A' && scalar <= 'Z') ||
                                (scalar >= '0' && scalar <= '9');
    return !isAlphanumeric;
  }
  const auto category = foundation::generalCategory(scalar);
  return !(foundation::isLetter(category) || foundation::isMark(category) || foundation::isNumber(category));
}

}  // namespace

const WordSet& SwiftGrammar::accessModifiers() {
  static const WordSet words{"public", "internal", "fileprivate", "private"};
  return words;
}

const WordSet& SwiftGrammar::reservedWords() {
  static const WordSet words = [] {
    WordSet set{"final",       "class",       "struct",
                "enum",        "protocol",    "extension",
                "let",         "var",         "func",
                "typealias",   "init",        "guard",
                "if",          "else",        "return",
                "get",         "throw",       "throws",
                "rethrows",    "for",         "in",
                "open",        "weak",        "import",
                "mutating",    "nonmutating", "associatedtype",
                "case",        "switch",      "static",
                "do",          "try",         "catch",
                "as",          "super",       "self",
                "set",         "true",        "false",
                "nil",         "override",    "where",
                "_",           "default",     "break",
                "#selector",   "required",    "willSet",
                "didSet",      "lazy",        "subscript",
                "defer",       "inout",       "while",
                "continue",    "fallthrough", "repeat",
                "indirect",    "deinit",      "is",
                "#file",       "#line",       "#function",
                "dynamic",     "some",        "#available",
                "convenience", "unowned",     "async",
                "await",       "actor"};
    set.insert(accessModifiers().begin(), accessModifiers().end());
    return set;
  }();
  return words;
}

const WordSet& SwiftGrammar::declarationWords() {
  static const WordSet words{"class",  "struct",         "enum",      "func", "protocol", "typealias",
                             "import", "associatedtype", "subscript", "init", "actor"};
  return words;
}

SwiftGrammar::SwiftGrammar() {
  static const auto sharedDelimiters = std::make_shared<const CharacterSet>(isSwiftDelimiter);
  static const auto sharedRules = std::make_shared<const std::vector<std::shared_ptr<const SyntaxRule>>>(
      std::vector<std::shared_ptr<const SyntaxRule>>{
          std::make_shared<PreprocessingRule>(), std::make_shared<CommentRule>(),
          std::make_shared<RawStringRule>(), std::make_shared<MultiLineStringRule>(),
          std::make_shared<SingleLineStringRule>(), std::make_shared<AttributeRule>(),
          std::make_shared<NumberRule>(), std::make_shared<TypeRule>(), std::make_shared<CallRule>(),
          std::make_shared<KeyPathRule>(), std::make_shared<PropertyRule>(),
          std::make_shared<DotAccessRule>(), std::make_shared<KeywordRule>()});
  delimiters_ = sharedDelimiters;
  syntaxRules_ = sharedRules;
}

bool SwiftGrammar::canMergeDelimiters(std::string_view last, std::string_view delimiter) const {
  auto isOne = [](std::string_view character, std::string_view of) { return isCanonically(character, of); };
  if (isOne(last, "\\")) return isOne(delimiter, "(");
  if (isOne(delimiter, "\\")) return false;
  if (isOne(last, ")")) return false;
  if (isOne(last, "/")) return isOne(delimiter, "/") || isOne(delimiter, "*");
  if (isOne(last, "*") && isOne(delimiter, "/")) return true;
  if (isOne(last, "(")) return isOne(delimiter, ".");
  if (isOneOf(last, {".", ",", "{", "}", "[", "]", ">", "?"}) && isOne(delimiter, "/")) return false;
  return true;
}

}  // namespace Glint
