#include "syntax_highlighter/swift_grammar.h"

#include <gtest/gtest.h>

#include <string>

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
}  // namespace
}  // namespace Glint
