#include "Quillo/inline/answer_typer.h"

#include "platform/events/keyboard_event.h"
#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"

namespace Quillo {
namespace {

void postKeyPress(events::KeyCode keyCode, std::uint64_t flags, const std::u16string& units,
                  std::int32_t processIdentifier) {
  for (const bool keyDown : {true, false}) {
    auto event = events::KeyboardEvent::create(keyCode, keyDown);
    if (!event) continue;
    event->setFlags(flags);
    if (!units.empty()) event->setUnicodeString(units);
    event->postToPid(processIdentifier);
  }
}

}  // namespace

void flushTypedBuffer(std::vector<std::string>& characters, std::int32_t processIdentifier) {
  if (characters.empty()) return;
  std::string joined;
  for (const auto& character : characters) joined += character;
  postKeyPress(events::keyCode::a, 0, foundation::toUtf16(joined), processIdentifier);
  characters.clear();
}

void AnswerTyper::typeText(std::string_view text) const {
  const std::optional<std::int32_t> pid = frontmostPid_.load();
  if (!pid) return;
  std::vector<std::string> characters;
  for (auto& character : foundation::graphemeClusters(text)) {
    if (character == "\n") {
      flushTypedBuffer(characters, *pid);
      postKeyPress(events::keyCode::returnKey, events::flags::maskShift, {}, *pid);
    } else {
      characters.push_back(std::move(character));
    }
  }
  flushTypedBuffer(characters, *pid);
}

}  // namespace Quillo
