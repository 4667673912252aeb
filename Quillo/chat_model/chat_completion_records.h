// The JSON records exchanged with the chat-completions service: the request body, the reply of a one-shot
// call, the chunk of a streamed reply, and the error body.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Quillo/chat_model/message.h"
#include "Quillo/chat_model/model.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"

namespace Quillo {

// The body of every call. Keys "model", "temperature", "messages" (objects with "role" and "content")
// and "stream".
struct Request {
  Model model = Model::turbo;
  double temperature = 0;
  std::vector<Message> messages;
  bool stream = false;
};

// Reply records. Keys are the service's snake-case names ("finish_reason", "prompt_tokens", ...); other
// keys are ignored; an optional member may be absent or null; a required member that is missing, null or
// of the wrong kind fails the whole record.
struct Usage {
  std::optional<std::int64_t> promptTokens;
  std::optional<std::int64_t> completionTokens;
  std::optional<std::int64_t> totalTokens;
};

struct Choice {
  std::optional<std::string> finishReason;
  Message message;  // a role outside the three fails the whole reply
};

struct CompletionResponse {
  std::vector<Choice> choices;
  std::optional<Usage> usage;
};

struct StreamMessage {
  std::optional<std::string> content;  // an empty string stays an empty string
  std::optional<std::string> role;     // free text, not a Role
};

struct StreamChoice {
  std::optional<std::string> finishReason;
  StreamMessage delta;
};

struct StreamCompletionResponse {
  std::vector<StreamChoice> choices;
};

struct ErrorResponse {
  std::string message;
  std::optional<std::string> type;
};

struct ErrorRootResponse {
  ErrorResponse error;
};

// Coding. Decoders throw foundation::TextError saying what is wrong.
void to_json(foundation::Json& json, const Request& request);
void from_json(const foundation::Json& json, Request& request);
void from_json(const foundation::Json& json, Usage& usage);
void from_json(const foundation::Json& json, Choice& choice);
void from_json(const foundation::Json& json, CompletionResponse& response);
void from_json(const foundation::Json& json, StreamMessage& message);
void from_json(const foundation::Json& json, StreamChoice& choice);
void from_json(const foundation::Json& json, StreamCompletionResponse& response);
void from_json(const foundation::Json& json, ErrorResponse& response);
void from_json(const foundation::Json& json, ErrorRootResponse& response);

// The JSON text of a request body. Throws foundation::TextError when the temperature is not a finite
// number (nothing is to be sent then).
std::string encodedRequest(const Request& request);

// A record decoded from JSON text. Throws foundation::TextError when the text is not JSON or does not
// hold the record.
template <class Record>
Record decodedRecord(std::string_view text) {
  foundation::Json json = foundation::parseJson(text);
  Record record;
  try {
    from_json(json, record);
  } catch (const foundation::TextError&) {
    throw;
  } catch (const std::exception& error) {
    throw foundation::TextError(error.what());
  }
  return record;
}

// The same, or nothing when the text does not decode.
template <class Record>
std::optional<Record> decodedRecordIfValid(std::string_view text) {
  try {
    return decodedRecord<Record>(text);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace Quillo
