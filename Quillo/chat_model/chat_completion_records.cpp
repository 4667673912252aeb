#include "Quillo/chat_model/chat_completion_records.h"

#include <cmath>

namespace Quillo {
namespace {

// The elements of a required array member, each decoded as a Record.
template <class Record>
std::vector<Record> requiredList(const foundation::Json& object, std::string_view key) {
  const foundation::Json& list = foundation::requiredMember(object, key);
  if (!list.is_array()) throw foundation::TextError("\"" + std::string(key) + "\" is not a list");
  std::vector<Record> records;
  records.reserve(list.size());
  for (const auto& element : list) {
    Record record;
    from_json(element, record);
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace

void to_json(foundation::Json& json, const Request& request) {
  json = foundation::Json::object();
  json["model"] = rawValue(request.model);
  json["temperature"] = request.temperature;
  foundation::Json messages = foundation::Json::array();
  for (const Message& message : request.messages) {
    foundation::Json element;
    to_json(element, message);
    messages.push_back(std::move(element));
  }
  json["messages"] = std::move(messages);
  json["stream"] = request.stream;
}

void from_json(const foundation::Json& json, Request& request) {
  from_json(foundation::requiredMember(json, "model"), request.model);
  request.temperature = foundation::requiredDouble(json, "temperature");
  request.messages = requiredList<Message>(json, "messages");
  request.stream = foundation::requiredBool(json, "stream");
}

std::string encodedRequest(const Request& request) {
  if (!std::isfinite(request.temperature)) {
    throw foundation::TextError("The request cannot be encoded: the temperature is not a finite number.");
  }
  foundation::Json json;
  to_json(json, request);
  return foundation::jsonText(json);
}

void from_json(const foundation::Json& json, Usage& usage) {
  if (!json.is_object()) throw foundation::TextError("\"usage\" is not an object");
  usage.promptTokens = foundation::optionalInteger(json, "prompt_tokens");
  usage.completionTokens = foundation::optionalInteger(json, "completion_tokens");
  usage.totalTokens = foundation::optionalInteger(json, "total_tokens");
}

void from_json(const foundation::Json& json, Choice& choice) {
  choice.finishReason = foundation::optionalString(json, "finish_reason");
  from_json(foundation::requiredMember(json, "message"), choice.message);
}

void from_json(const foundation::Json& json, CompletionResponse& response) {
  response.choices = requiredList<Choice>(json, "choices");
  response.usage.reset();
  if (const foundation::Json* usage = foundation::optionalMember(json, "usage")) {
    from_json(*usage, response.usage.emplace());
  }
}

void from_json(const foundation::Json& json, StreamMessage& message) {
  if (!json.is_object()) throw foundation::TextError("\"delta\" is not an object");
  message.content = foundation::optionalString(json, "content");
  message.role = foundation::optionalString(json, "role");
}

void from_json(const foundation::Json& json, StreamChoice& choice) {
  choice.finishReason = foundation::optionalString(json, "finish_reason");
  from_json(foundation::requiredMember(json, "delta"), choice.delta);
}

void from_json(const foundation::Json& json, StreamCompletionResponse& response) {
  response.choices = requiredList<StreamChoice>(json, "choices");
}

void from_json(const foundation::Json& json, ErrorResponse& response) {
  response.message = foundation::requiredString(json, "message");
  response.type = foundation::optionalString(json, "type");
}

void from_json(const foundation::Json& json, ErrorRootResponse& response) {
  from_json(foundation::requiredMember(json, "error"), response.error);
}

}  // namespace Quillo
