#include "syntax_highlighter/swift_grammar.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <initializer_list>

#include "platform/foundation/unicode.h"
#include "syntax_highlighter/unicode_text.h"

namespace Glint {
namespace {

using detail::endsWith;
using detail::isCanonically;
using detail::startsWith;

constexpr std::string_view quote = "\"";
constexpr std::string_view backslash = "\\";
constexpr std::string_view interpolationOpener = "\\(";
constexpr std::string_view rawStringOpener = "#\"";
constexpr std::string_view rawStringCloser = "\"#";

// Set membership by canonical equivalence; the sets hold ASCII words only.
bool isOneOf(std::string_view text, const WordSet& words) {
  if (detail::isASCII(text)) return words.contains(text);
  return words.contains(detail::canonicalKey(text));
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

// The conditional-compilation directives whose line is all preprocessing, and the control-flow tokens
// after which a name followed by a closure is not a call.
constexpr std::array<std::string_view, 4> conditionalDirectives = {"#if", "#endif", "#elseif", "#else"};
constexpr std::array<std::string_view, 2> diagnosticDirectives = {"#warning", "#error"};
constexpr std::array<std::string_view, 5> controlFlowTokens = {"if", "&&", "||", "for", "switch"};

template <std::size_t count>
bool isOneOf(std::string_view text, const std::array<std::string_view, count>& words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view word) { return isCanonically(text, word); });
}

// Line tokens carry their canonical keys, so comparing them with ASCII words is a plain comparison.
bool lineTokenIs(const TokenList& line, std::size_t index, std::string_view word) {
  return line.key(index) == word;
}

// What the rules ask about the tokens of a line: whether one of them starts a line comment, is a
// conditional-compilation directive, or is one of the control-flow tokens that keep a trailing closure
// from being a call.
struct LineMarksFold {
  struct State {
    bool hasLineComment = false;
    bool hasConditionalDirective = false;
    bool hasControlFlowToken = false;
  };
  static void step(State& state, const detail::TokenHistory& history, std::size_t index) {
    const std::string_view key = history.key(index);
    if (key == "//" || key == "///") state.hasLineComment = true;
    // Keys are canonical, so a plain comparison decides.
    auto keyIsOneOf = [&](const auto& words) {
      return std::find(words.begin(), words.end(), key) != words.end();
    };
    if (keyIsOneOf(conditionalDirectives)) state.hasConditionalDirective = true;
    if (keyIsOneOf(controlFlowTokens)) state.hasControlFlowToken = true;
  }
};

// The counts of the tokens that open or close block comments and multi-line strings, over all the tokens
// before a segment.
struct OpenRunsFold {
  struct State {
    std::size_t commentOpeners = 0;  // "/*" and "/**"
    std::size_t commentClosers = 0;  // "*/"
    std::size_t rawMultiLineOpeners = 0;
    std::size_t rawMultiLineClosers = 0;
    std::size_t multiLineQuotes = 0;
  };
  static void step(State& state, const detail::TokenHistory& history, std::size_t index) {
    const std::string_view key = history.key(index);
    if (key.size() < 2 || key.size() > 4) return;
    if (key == "/*" || key == "/**")
      ++state.commentOpeners;
    else if (key == "*/")
      ++state.commentClosers;
    else if (key == "#\"\"\"")
      ++state.rawMultiLineOpeners;
    else if (key == "\"\"\"#")
      ++state.rawMultiLineClosers;
    else if (key == "\"\"\"")
      ++state.multiLineQuotes;
  }
};

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

// Counts the openings and closings of a delimited run among a line's tokens, from the left. An
// interpolation, or an escaped quote, inside the run neither opens nor closes it.
template <const std::string_view& open, const std::string_view& close>
struct DelimitedRunFold {
  struct State {
    std::size_t openings = 0;
    std::size_t closings = 0;
    bool follows = false;           // a token of the line came before
    bool followsBackslash = false;  // and it was the single backslash
  };
  static void step(State& state, const detail::TokenHistory& history, std::size_t index) {
    const std::string_view lineToken = history.text(index);
    const bool skipped =
        state.follows && state.followsBackslash &&
        (startsWith(lineToken, "(") || startsWith(lineToken, "#(") || startsWith(lineToken, quote));
    state.follows = true;
    state.followsBackslash = history.key(index) == backslash;
    if (skipped) return;
    if (isCanonically(lineToken, open)) {
      if (open == close && state.openings != state.closings) {
        ++state.closings;
      } else {
        ++state.openings;
      }
    } else if (open != close && isCanonically(lineToken, close)) {
      ++state.closings;
    } else {
      if (startsWith(lineToken, open)) ++state.openings;
      if (endsWith(lineToken, close)) ++state.closings;
    }
  }
};

template <const std::string_view& open, const std::string_view& close>
bool isInsideDelimitedRun(const Segment& segment) {
  const std::string& token = segment.tokens.current;
  if (startsWith(token, open)) return true;
  if (endsWith(token, close)) return true;
  const TokenList& line = segment.tokens.onSameLine;
  if (line.empty()) return false;
  const auto state = line.fold<DelimitedRunFold<open, close>>();
  return state.openings != state.closings;
}

// Cuts a line's tokens at every interpolation opener (dropping empty pieces) and follows the depth of
// parentheses in the last piece.
struct InterpolationFold {
  struct State {
    std::size_t pieceCount = 0;
    bool isInPiece = false;
    long depth = 1;
    bool hasClosed = false;  // the depth of the last piece reached 0
  };
  static void step(State& state, const detail::TokenHistory& history, std::size_t index) {
    if (history.key(index) == interpolationOpener) {
      state.isInPiece = false;
      return;
    }
    if (!state.isInPiece) {
      state.isInPiece = true;
      ++state.pieceCount;
      state.depth = 1;
      state.hasClosed = false;
    }
    if (state.hasClosed) return;
    const std::string_view token = history.text(index);
    state.depth += static_cast<long>(detail::countOfCharacter(token, "("));
    state.depth -= static_cast<long>(detail::countOfCharacter(token, ")"));
    if (state.depth <= 0) state.hasClosed = true;
  }
};

bool isInsideInterpolation(const Segment& segment) {
  if (isCanonically(segment.tokens.current, interpolationOpener)) return true;
  if (is(segment.tokens.previous, interpolationOpener)) return true;
  const auto state = segment.tokens.onSameLine.fold<InterpolationFold>();
  return state.pieceCount >= 2 && !state.hasClosed;
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

// What the tokens so far say about a capitalised token after "<", "," or "*/", read backwards from the
// last token: the first of "->", ">", ">:", a declaration word, "=", "==", "(", "_", "@escaping" or "<"
// decides. All of them but "<" make it a type. After "<" (a generic clause), the first token before it that
// is one of "->", ">", ">:", ":", an attribute, a declaration word, "=", "==", "(", "_" or "@escaping"
// decides: a declaration word means a generic parameter being declared, anything else a type. Kept as the
// last deciding token of each kind while the tokens are read forwards, so the answer costs nothing per token.
struct GenericParameterFold {
  enum class Decider : std::uint8_t { none, openingBracket, declarationWord, other };
  struct State {
    Decider last = Decider::none;               // of the first kind
    Decider beforeLastOpening = Decider::none;  // of the second kind, before the last "<" of the first kind
    Decider lastOfSecondKind = Decider::none;
    bool isTypeHere() const {
      return last != Decider::openingBracket || beforeLastOpening != Decider::declarationWord;
    }
  };
  static void step(State& state, const detail::TokenHistory& history, std::size_t index) {
    const std::string_view key = history.key(index);
    const bool isDeclaration = SwiftGrammar::declarationWords().contains(key);  // keys are canonical
    const bool decidesAlways = key == "->" || key == ">" || key == ">:" || key == "=" || key == "==" ||
                               key == "(" || key == "_" || key == "@escaping";
    if (key == "<") {
      state.last = Decider::openingBracket;
      state.beforeLastOpening = state.lastOfSecondKind;
    } else if (isDeclaration) {
      state.last = Decider::declarationWord;
    } else if (decidesAlways) {
      state.last = Decider::other;
    }
    if (isDeclaration) {
      state.lastOfSecondKind = Decider::declarationWord;
    } else if (decidesAlways || key == ":" || startsWith(history.text(index), "@")) {
      state.lastOfSecondKind = Decider::other;
    }
  }
};

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
    if (isOneOf(token, conditionalDirectives) || isOneOf(token, diagnosticDirectives)) return true;
    // The rest of a conditional-compilation line belongs to the directive.
    return segment.tokens.onSameLine.fold<LineMarksFold>().hasConditionalDirective;
  }
};

class CommentRule : public Rule {
 public:
  CommentRule() : Rule(TokenType::comment()) {}
  bool accepts(const Segment& segment) const override {
    const auto& tokens = segment.tokens;
    const std::string& token = tokens.current;
    if (startsWith(token, "/*") && endsWith(token, "*/")) return true;
    if (startsWith(token, "//")) return true;
    if (tokens.onSameLine.fold<LineMarksFold>().hasLineComment) return true;
    if (isOneOf(token, {"/*", "/**", "*/"})) return true;
    // A block comment is open while its openers outnumber its closers.
    const auto runs = tokens.counts.fold<OpenRunsFold>();
    return runs.commentOpeners != runs.commentClosers;
  }
};

class RawStringRule : public Rule {
 public:
  RawStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    if (isRawInterpolationPart(segment)) return false;
    if (isInsideDelimitedRun<rawStringOpener, rawStringCloser>(segment)) return true;
    const auto runs = segment.tokens.counts.fold<OpenRunsFold>();
    return runs.rawMultiLineOpeners != runs.rawMultiLineClosers;
  }
};

class MultiLineStringRule : public Rule {
 public:
  MultiLineStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    return segment.tokens.counts.fold<OpenRunsFold>().multiLineQuotes % 2 == 1 &&
           !isInsideInterpolation(segment);
  }
};

class SingleLineStringRule : public Rule {
 public:
  SingleLineStringRule() : Rule(TokenType::string()) {}
  bool accepts(const Segment& segment) const override {
    const std::string& token = segment.tokens.current;
    if (startsWith(token, quote) && endsWith(token, quote)) return true;
    if (!isInsideDelimitedRun<quote, quote>(segment)) return false;
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
    return tokens.all.fold<GenericParameterFold>().isTypeHere();
  }
};

class CallRule : public Rule {
 public:
  CallRule() : Rule(TokenType::call()) {
    keywordsToAvoid_ = SwiftGrammar::reservedWords();
    for (const char* word : {"return", "try", "throw", "if", "in", "await"}) keywordsToAvoid_.erase(word);
    callLikeKeywords_ = SwiftGrammar::accessModifiers();
    for (const char* word : {"subscript", "init"}) callLikeKeywords_.insert(word);
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
        const std::string_view beforeDot = line[line.size() - 2];
        if (isCanonically(beforeDot, "case") || endsWith(beforeDot, ",")) return false;
      }
    }
    if (segment.trailingWhitespace) {
      // Only a trailing closure can follow a call name and a space.
      if (!neighbourIsOneOf(tokens.next, {"{", "{}"})) return false;
      if (is(tokens.previous, ".") && !line.empty()) return !line.fold<LineMarksFold>().hasControlFlowToken;
      if (isOneOf(tokens.current, SwiftGrammar::reservedWords())) return false;
      return !line.fold<LineMarksFold>().hasControlFlowToken;
    }
    return tokens.next && startsWith(*tokens.next, "(");
  }

 private:
  WordSet keywordsToAvoid_;
  WordSet callLikeKeywords_;
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

WordSet::WordSet(std::initializer_list<std::string_view> words) {
  rebuild(std::vector<std::string>(words.begin(), words.end()));
}

void WordSet::insert(std::string_view word) {
  if (word.empty() || contains(word)) return;
  std::vector<std::string> all = words();
  all.emplace_back(word);
  rebuild(std::move(all));
}

void WordSet::erase(std::string_view word) {
  std::vector<std::string> all = words();
  std::erase(all, word);
  rebuild(std::move(all));
}

std::vector<std::string> WordSet::words() const {
  std::vector<std::string> all;
  for (const std::string& entry : slots_) {
    if (!entry.empty()) all.push_back(entry);
  }
  return all;
}

void WordSet::rebuild(std::vector<std::string> words) {
  std::size_t capacity = 8;
  while (capacity < words.size() * 4) capacity *= 2;
  slots_.assign(capacity, std::string());
  mask_ = capacity - 1;
  count_ = 0;
  for (std::string& word : words) {
    if (word.empty() || contains(word)) continue;
    std::size_t slot = slotOf(word);
    while (!slots_[slot].empty()) slot = (slot + 1) & mask_;
    slots_[slot] = std::move(word);
    ++count_;
  }
}

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
    for (const std::string& word : accessModifiers().words()) set.insert(word);
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
