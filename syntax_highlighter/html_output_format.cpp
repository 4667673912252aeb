#include "syntax_highlighter/html_output_format.h"

namespace Glint {

// Every "&", "<" and ">" is replaced, also one that a combining mark follows: the output must never
// hold a raw markup character taken from the code.
std::string escapedHTML(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char byte : text) {
    switch (byte) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      default:
        escaped += byte;
    }
  }
  return escaped;
}

void HTMLOutputFormat::Builder::appendToken(const std::string& token, const TokenType& type) {
  if (pendingToken && pendingToken->type == type) {
    if (pendingWhitespace) {
      pendingToken->string += *pendingWhitespace;
      pendingWhitespace.reset();
    }
    pendingToken->string += token;
    return;
  }
  flushPending();
  pendingToken = PendingToken{token, type};
}

void HTMLOutputFormat::Builder::appendPlainText(const std::string& text) {
  flushPending();
  html += escapedHTML(text);
}

void HTMLOutputFormat::Builder::appendWhitespace(const std::string& whitespace) {
  if (pendingToken) {
    if (!pendingWhitespace) pendingWhitespace.emplace();
    *pendingWhitespace += whitespace;
  } else {
    html += whitespace;
  }
}

std::string HTMLOutputFormat::Builder::buildOutput() {
  flushPending();
  return html;
}

void HTMLOutputFormat::Builder::flushPending() {
  if (pendingToken) {
    html += "<span class=\"";
    html += classPrefix;
    html += pendingToken->type.stringValue();
    html += "\">";
    html += escapedHTML(pendingToken->string);
    html += "</span>";
    pendingToken.reset();
  }
  if (pendingWhitespace) {
    html += *pendingWhitespace;
    pendingWhitespace.reset();
  }
}

}  // namespace Glint
