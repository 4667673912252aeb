#include "syntax_highlighter/html_output_format.h"

namespace Glint {

// Every "&", "<" and ">" is replaced, also one that a combining mark follows: the output must never
// hold a raw markup character taken from the code.
void appendEscapedHTML(std::string& html, std::string_view text) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* entity = nullptr;
    switch (text[i]) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      default:
        continue;
    }
    html.append(text, start, i - start);
    html += entity;
    start = i + 1;
  }
  html.append(text, start, text.size() - start);
}

std::string escapedHTML(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  appendEscapedHTML(escaped, text);
  return escaped;
}

void HTMLOutputFormat::Builder::reserve(std::size_t codeSize) { html.reserve(codeSize * 4); }

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
  appendEscapedHTML(html, text);
}

void HTMLOutputFormat::Builder::appendWhitespace(const std::string& whitespace) {
  if (pendingToken) {
    if (!pendingWhitespace) pendingWhitespace.emplace();
    *pendingWhitespace += whitespace;
  } else {
    html += whitespace;
  }
}

std::string HTMLOutputFormat::Builder::buildOutput() & {
  flushPending();
  return html;
}

std::string HTMLOutputFormat::Builder::buildOutput() && {
  flushPending();
  return std::move(html);
}

void HTMLOutputFormat::Builder::flushPending() {
  if (pendingToken) {
    html += "<span class=\"";
    html += classPrefix;
    html += pendingToken->type.stringValue();
    html += "\">";
    appendEscapedHTML(html, pendingToken->string);
    html += "</span>";
    pendingToken.reset();
  }
  if (pendingWhitespace) {
    html += *pendingWhitespace;
    pendingWhitespace.reset();
  }
}

}  // namespace Glint
