#include "syntax_highlighter/swift_grammar.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "syntax_highlighter/syntax_highlighter.h"
#include "syntax_highlighter/tokenizer.h"

namespace Glint {
namespace {

// Each token of the code with the type the grammar gives it ("-" for none), separated by spaces.
std::string typedTokens(std::string_view code) {
  const SwiftGrammar grammar;
  std::string result;
  for (const Segment& segment : Tokenizer().segments(code, grammar)) {
    if (segment.tokens.current.empty()) continue;
    const auto type = tokenType(segment, grammar);
    if (!result.empty()) result += ' ';
    result += segment.tokens.current + ":" + (type ? type->stringValue() : "-");
  }
  return result;
}

struct Case {
  std::string code;
  std::string typed;
};

void expectTypes(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(typedTokens(c.code), c.typed);
  }
}

TEST(SwiftGrammar, TypesKeywordsAndAttributes) {
  expectTypes({
      {"let x = 5", "let:keyword x:- =:- 5:number"},
      {"private(set) var name: String",
       "private:keyword (:keyword set:keyword ):keyword var:keyword name:- ::- String:type"},
      {"func greet(name: String) -> String {",
       "func:keyword greet:- (:- name:- ::- String:type ):- ->:- String:type {:-"},
      {"import Foundation", "import:keyword Foundation:-"},
      {"_ = value", "_:keyword =:- value:-"},
      {"prefix func +++(a: Int) {}", "prefix:keyword func:keyword +++(:- a:- ::- Int:type ):- {}:-"},
      {"guard let value = optional else { return nil }",
       "guard:keyword let:keyword value:- =:- optional:- else:keyword {:- return:keyword nil:keyword }:-"},
      {"public actor Store {}", "public:keyword actor:keyword Store:- {}:-"},
      {"let actor = 1", "let:keyword actor:- =:- 1:number"},
      {"init(value: Int) { self.value = value }",
       "init:keyword (:- value:- ::- Int:type ):- {:- self:keyword .:- value:property =:- value:- }:-"},
      {"super.init()", "super:keyword .:- init:keyword (:- ):-"},
      {"@MainActor class Model {}", "@MainActor:keyword class:keyword Model:- {}:-"},
      {"let f: @escaping () -> Void", "let:keyword f:- ::- @escaping:keyword (:- ):- ->:- Void:type"},
  });
}

TEST(SwiftGrammar, Strings) {
  expectTypes({
      {"let s = \"hello\"", "let:keyword s:- =:- \"hello\":string"},
      {"let s = \"two words here\"", "let:keyword s:- =:- \"two:string words:string here\":string"},
      {"\"a \\(b) c\"", "\"a:string \\(:- b:- ):- c\":string"},
      {"let s = \"\"\"\nline one\n\"\"\"\nlet x = 1",
       "let:keyword s:- =:- \"\"\":string line:string one:string \"\"\":string let:keyword x:- =:- 1:number"},
      {"\"\"\"\nsum \\(a + b) done\n\"\"\"",
       "\"\"\":string sum:string \\(:- a:- +:- b:- ):- done:string \"\"\":string"},
      {"let r = #\"raw \\d\"#", "let:keyword r:- =:- #\"raw:string \\:string d\"#:string"},
      {"let r = #\"a \\#(b) c\"#", "let:keyword r:- =:- #\"a:string \\:- #:- (:- b:- ):- c\"#:string"},
  });
}

TEST(SwiftGrammar, TypesAndGenericParameters) {
  expectTypes({
      {"let x: Int = 0", "let:keyword x:- ::- Int:type =:- 0:number"},
      {"var list: [String] = []", "var:keyword list:- ::- [:- String:type ]:- =:- []:-"},
      {"func f<T>(x: T) -> Array<T>",
       "func:keyword f:- <:- T:- >(:- x:- ::- T:type ):- ->:- Array:type <:- T:type >:-"},
      {"let d: Dictionary<String, Int>",
       "let:keyword d:- ::- Dictionary:type <:- String:type ,:- Int:type >:-"},
      {"struct Box<Element: Equatable> {}", "struct:keyword Box:- <:- Element:- ::- Equatable:type >:- {}:-"},
      {"func map<U>(_ f: (T) -> U) -> Box<U>",
       "func:keyword map:- <:- U:- >(:- _:keyword f:- ::- (:- T:type ):- ->:- U:type ):- ->:- Box:type <:- "
       "U:type "
       ">:-"},
      {"throw Failure.bad", "throw:keyword Failure:type .:- bad:property"},
      {"import SwiftUI.View", "import:keyword SwiftUI:- .:- View:type"},
  });
}

TEST(SwiftGrammar, CallsAndNumbers) {
  expectTypes({
      {"print(\"hi\")", "print:call (:- \"hi\":string ):-"},
      {"items.map { $0 }", "items:- .:- map:call {:- $0:- }:-"},
      {"if items.contains { $0 } {", "if:keyword items:- .:- contains:property {:- $0:- }:- {:-"},
      {"XCTAssertEqual(a, b)", "XCTAssertEqual:call (:- a:- ,:- b:- ):-"},
      {"foo.bar()", "foo:- .:- bar:call (:- ):-"},
      {"let big = 1_000_000", "let:keyword big:- =:- 1_000_000:number"},
      {"let pi = 3.14", "let:keyword pi:- =:- 3:number .:number 14:number"},
      {"let y = $0 + x", "let:keyword y:- =:- $0:- +:- x:-"},
      {"let n = 99999999999999999999", "let:keyword n:- =:- 99999999999999999999:-"},  // too big for 64 bits
  });
}

TEST(SwiftGrammar, Comments) {
  expectTypes({
      {"// note here\nlet x", "//:comment note:comment here:comment let:keyword x:-"},
      {"/// docs", "///:comment docs:comment"},
      {"/* a */ b", "/*:comment a:comment */:comment b:-"},
      {"/* open\nstill comment */ after",
       "/*:comment open:comment still:comment comment:comment */:comment after:-"},
      {"/** doc\n * more\n */ x", "/**:comment doc:comment *:comment more:comment */:comment x:-"},
  });
}

TEST(SwiftGrammar, PropertiesAndDotAccess) {
  expectTypes({
      {"self.name", "self:keyword .:- name:property"},
      {"user?.name", "user:- ?.:- name:property"},
      {"$binding.wrappedValue", "$binding:property .:- wrappedValue:property"},
      {"let key = \\.name", "let:keyword key:- =:- \\:- .:- name:property"},
      {"return .none", "return:keyword .:- none:dotAccess"},
      {"f(.red)", "f:call (.:- red:dotAccess ):-"},
      {"case .some(let v):", "case:keyword .:- some:dotAccess (:- let:keyword v:- ):- ::-"},
      {"case .a, .b(let x):", "case:keyword .:- a:dotAccess ,:- .:- b:dotAccess (:- let:keyword x:- ):- ::-"},
  });
}

TEST(SwiftGrammar, Preprocessing) {
  expectTypes({
      {"#if DEBUG\nlet x", "#if:preprocessing DEBUG:preprocessing let:keyword x:-"},
      {"#warning(\"x\")", "#warning:preprocessing (:- \"x\":string ):-"},
      {"#endif", "#endif:preprocessing"},
  });
}

TEST(SwiftGrammar, FollowsUnicodeForNonASCIIIdentifiers) {
  expectTypes({
      {"let größe = 1", "let:keyword größe:- =:- 1:number"},
      {"let ärger: Öl = Straße.standard",
       "let:keyword ärger:- ::- Öl:type =:- Straße:type .:- standard:property"},
      {"let x: E\u0301cole", "let:keyword x:- ::- E\u0301cole:type"},  // decomposed capital É
      {"let 名前: 型 = 値", "let:keyword 名前:- ::- 型:- =:- 値:-"},   // no case: never a type
      {"résumé.count", "résumé:- .:- count:property"},
      {"x.ñame(1)", "x:- .:- ñame:call (:- 1:number ):-"},
      // GREEK VARIA is canonically the backtick, so the word after it is no keyword, as after "`".
      {"`default`", "`:- default:- `:-"},
      {"\u1FEFdefault", "\u1FEF:- default:-"},
      {"+default", "+:- default:keyword"},
  });
}

// Code whose rules look back over long lines: strings with interpolations, raw strings, generic
// clauses, comments and a conditional-compilation line, first as a file, then all on one line.
std::string lookBackCode() {
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/sample.swift", std::ios::binary);
  std::string code{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    code += "let s" + n + " = \"a \\(b(c" + n + ")) d\" + #\"raw \\#(x) y\"# + \"\\\"q\"; f(x: T<U" + n +
            ">, y: [V]) -> W<X, Y> /* c */ func g<Z, Q: R>(z: Z) {} ";
  }
  code += "\n#if DEBUG && os(Linux) x y z\n";
  return code;
}

std::vector<std::string> typesOf(const std::vector<Segment>& segments, const Grammar& grammar) {
  std::vector<std::string> types;
  for (const Segment& segment : segments) {
    const auto type = tokenType(segment, grammar);
    types.push_back(segment.tokens.current + ":" + (type ? type->stringValue() : "-"));
  }
  return types;
}

TEST(SwiftGrammar, TypesASegmentAlikeWhenAskedLaterOrOnAnotherThread) {
  // The rules remember how far they have read a line for the walk's next segment; a segment kept and
  // asked about later, out of order or on another thread, must still see only its own past.
  const SwiftGrammar grammar;
  const std::string code = lookBackCode();
  std::vector<Segment> segments;
  std::vector<std::string> asWalked;
  for (const Segment& segment : Tokenizer().segments(code, grammar)) {
    segments.push_back(segment);
    const auto type = tokenType(segment, grammar);
    asWalked.push_back(segment.tokens.current + ":" + (type ? type->stringValue() : "-"));
  }
  ASSERT_GT(segments.size(), 500u);

  std::vector<Segment> reversed(segments.rbegin(), segments.rend());
  std::vector<std::string> askedBackwards = typesOf(reversed, grammar);
  std::reverse(askedBackwards.begin(), askedBackwards.end());
  EXPECT_EQ(askedBackwards, asWalked);

  std::vector<std::string> onAnotherThread;
  std::thread other([&] { onAnotherThread = typesOf(segments, grammar); });
  other.join();
  EXPECT_EQ(onAnotherThread, asWalked);

  // Two lines of the same code give the same types whatever comes between them.
  EXPECT_NE(std::find(asWalked.begin(), asWalked.end(), "Y:type"), asWalked.end());
  EXPECT_NE(std::find(asWalked.begin(), asWalked.end(), "z:preprocessing"), asWalked.end());
}

TEST(SwiftGrammar, LookBacksOnALongLineGiveTheResultsOfShortOnes) {
  // A statement types the same at the start of a line as after a thousand others on that line.
  const std::string statement =
      "let s = \"a \\(b(c)) d\" + #\"raw \\#(x) y\"#; f(x: T<U>, y: [V]) -> W<X, Y>; ";
  const std::string alone = typedTokens(statement);
  std::string line;
  for (int i = 0; i < 1000; ++i) line += statement;
  const std::string all = typedTokens(line);
  ASSERT_GE(all.size(), alone.size());
  EXPECT_EQ(all.substr(all.size() - alone.size()), alone);
}

}  // namespace
}  // namespace Glint
