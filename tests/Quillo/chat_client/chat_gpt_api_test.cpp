#include "Quillo/chat_client/chat_gpt_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/concurrency/task.h"
#include "platform/foundation/log.h"
#include "tests/Quillo/chat_client/chat_service.h"

using namespace chatclienttest;
using Quillo::ChatGPTAPI;
using Quillo::Message;
using Quillo::Model;
using Quillo::Role;
using testing::HasSubstr;
using testing::Not;
using testsupport::LoopbackServer;
using testsupport::PieceGate;
using testsupport::ScriptedReply;
using Messages = std::vector<std::pair<std::string, std::string>>;

namespace {

class ChatClient : public testing::Test {
 protected:
  void SetUp() override { emptyStandardSuite(); }

  std::shared_ptr<ChatGPTAPI> makeClient(
      std::shared_ptr<GPTTokenizer::GPTEncoder> encoder = byteCountingEncoder()) {
    return std::make_shared<ChatGPTAPI>(kKey, server.url(kCompletionsPath), std::move(encoder));
  }

  void replyWith(ScriptedReply reply) { server.reply("POST", kCompletionsPath, std::move(reply)); }

  testsupport::RecordedRequest onlyRequest() const {
    auto requests = server.requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? testsupport::RecordedRequest{} : requests.front();
  }

  LoopbackServer server;
};

std::vector<Message> history(const std::vector<std::string>& contents) {
  std::vector<Message> messages;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    messages.emplace_back(i % 2 == 0 ? Role::user : Role::assistant, contents[i]);
  }
  return messages;
}

std::vector<std::string> contentsOf(const std::vector<Message>& messages) {
  std::vector<std::string> contents;
  for (const auto& message : messages) contents.push_back(message.content);
  return contents;
}

}  // namespace

// Request forming

TEST_F(ChatClient, PostsTheRequestWithBearerKeyAndJSONBody) {
  replyWith(ScriptedReply::json(completionBody("4")));
  auto client = makeClient();

  EXPECT_EQ(client->fetchReply("2+2?", Model::gpt4, "Reply short", 0.5), "4");

  const auto request = onlyRequest();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.path, kCompletionsPath);
  EXPECT_EQ(request.header("Content-Type"), "application/json");
  EXPECT_EQ(request.header("Authorization"), std::string("Bearer ") + kKey);
  EXPECT_EQ(request.header("api-key"), std::nullopt);
  const auto body = foundation::parseJson(request.body);
  EXPECT_EQ(body.at("model"), "gpt-4");
  EXPECT_EQ(body.at("temperature"), 0.5);
  EXPECT_EQ(body.at("stream"), false);
  EXPECT_EQ(sentMessages(request), (Messages{{"system", "Reply short"}, {"user", "2+2?"}}));
}

TEST_F(ChatClient, StreamingRequestSaysSo) {
  replyWith(ScriptedReply::text(streamedBody({"Hi"}), 200, "text/event-stream"));
  auto client = makeClient();

  drain(client->streamReply("Hello", Model::turbo, "Be brief", 0.5));

  EXPECT_EQ(foundation::parseJson(onlyRequest().body).at("stream"), true);
}

TEST_F(ChatClient, CustomEndpointUsesTheBaseURLAndTheUsersKeyAsApiKey) {
  struct Case {
    std::string name;
    std::string baseURL;  // "<loopback>" stands for the server's base URL
    std::string expectedPath;
  };
  const Case cases[] = {
      {"empty base URL: the default endpoint", "", kCompletionsPath},
      {"base URL followed by the path", "<loopback>", "/v1/chat/completions"},
      {"a trailing slash is kept", "<loopback>/", "//v1/chat/completions"},
      {"a base with a path of its own", "<loopback>/openai/deployments/d1",
       "/openai/deployments/d1/v1/chat/completions"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer service;
    std::string base = c.baseURL;
    if (base.starts_with("<loopback>")) base.replace(0, 10, service.baseURL());
    service.reply("POST", c.expectedPath, ScriptedReply::json(completionBody("ok")));
    setCustomEndpoint(true, base);
    ChatGPTAPI client(kKey, service.url(kCompletionsPath), byteCountingEncoder());

    EXPECT_EQ(client.fetchReply("test", Model::turbo, "Reply short", 0.5), "ok");

    const auto requests = service.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, c.expectedPath);
    EXPECT_EQ(requests[0].header("api-key"), kKey);
    EXPECT_EQ(requests[0].header("Authorization"), std::nullopt);
    EXPECT_EQ(requests[0].header("Content-Type"), "application/json");
  }
}

TEST_F(ChatClient, SettingsAreReadAnewForEveryRequest) {
  replyWith(ScriptedReply::json(completionBody("ok")));
  LoopbackServer custom;
  custom.reply("POST", kCompletionsPath, ScriptedReply::json(completionBody("custom")));
  auto client = makeClient();

  EXPECT_EQ(client->fetchReply("one", Model::turbo, "", 0.5), "ok");
  setCustomEndpoint(true, custom.baseURL());
  EXPECT_EQ(client->fetchReply("two", Model::turbo, "", 0.5), "custom");
  setCustomEndpoint(false, custom.baseURL());
  EXPECT_EQ(client->fetchReply("three", Model::turbo, "", 0.5), "ok");

  EXPECT_EQ(server.requests().size(), 2u);
  EXPECT_EQ(custom.requests().size(), 1u);
}

TEST_F(ChatClient, RequestsThatCannotBeFormedFailBeforeAnythingIsSent) {
  struct Case {
    std::string name;
    std::string customBase;
    double temperature;
  };
  const Case cases[] = {
      {"custom endpoint with a space", "http://exa mple.com", 0.5},
      {"custom endpoint without a scheme", "example.com", 0.5},
      {"custom endpoint of another scheme", "ftp://example.com", 0.5},
      {"temperature not a number", "", std::numeric_limits<double>::quiet_NaN()},
      {"temperature infinite", "", std::numeric_limits<double>::infinity()},
  };
  replyWith(ScriptedReply::json(completionBody("ok")));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setCustomEndpoint(!c.customBase.empty(), c.customBase);
    auto client = makeClient();

    EXPECT_NE(failureOf([&] { client->fetchReply("hi", Model::turbo, "", c.temperature); }), std::nullopt);
    EXPECT_NE(failureOf([&] { client->streamReply("hi", Model::turbo, "", c.temperature); }), std::nullopt);
    EXPECT_TRUE(client->historyList().empty());
  }
  EXPECT_TRUE(server.requests().empty());
}

// History trimming (the byte-counting tokenizer makes every byte one token)

TEST_F(ChatClient, TrimsTheOldestHistoryMessagesOneAtATime) {
  struct Case {
    std::string name;
    std::vector<std::string> history;
    std::size_t textSize;
    std::vector<std::string> sentHistory;
  };
  const std::string a(1000, 'a'), b(1000, 'b'), c(1000, 'c'), d(1000, 'd');
  // The system text has 96 bytes: with the four history messages the list holds 4096 + textSize tokens.
  const Case cases[] = {
      {"at the limit nothing is dropped", {a, b, c, d}, 0, {a, b, c, d}},
      {"one over the limit drops the oldest", {a, b, c, d}, 1, {b, c, d}},
      {"far over drops as many as needed, the user's message first", {a, b, c, d}, 1001, {c, d}},
      {"everything goes when the text alone is too long", {a, b, c, d}, 5000, {}},
      {"with an empty history the text goes out over the limit", {}, 5000, {}},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.name);
    LoopbackServer service;
    service.reply("POST", kCompletionsPath, ScriptedReply::json(completionBody("R")));
    ChatGPTAPI client(kKey, service.url(kCompletionsPath), byteCountingEncoder());
    client.setHistoryList(history(t.history));
    const std::string text(t.textSize, 't');

    EXPECT_EQ(client.fetchReply(text, Model::turbo, std::string(96, 's'), 0.5), "R");

    const auto requests = service.requests();
    ASSERT_EQ(requests.size(), 1u);
    const auto sent = sentMessages(requests[0]);
    ASSERT_EQ(sent.size(), t.sentHistory.size() + 2);
    EXPECT_EQ(sent.front(), (std::pair<std::string, std::string>("system", std::string(96, 's'))));
    EXPECT_EQ(sent.back(), (std::pair<std::string, std::string>("user", text)));
    for (std::size_t i = 0; i < t.sentHistory.size(); ++i) EXPECT_EQ(sent[i + 1].second, t.sentHistory[i]);
    // The dropped messages are gone for good; the exchange follows what stayed.
    auto expectedHistory = t.sentHistory;
    expectedHistory.push_back(text);
    expectedHistory.push_back("R");
    EXPECT_EQ(contentsOf(client.historyList()), expectedHistory);
  }
}

TEST_F(ChatClient, EachModelHasItsTokenLimit) {
  struct Case {
    Model model;
    std::size_t limit;
  };
  const Case cases[] = {
      {Model::turbo, 4096},           {Model::turbo31, 4096}, {Model::turbo1106, 4096},
      {Model::turbo16k, 16000},       {Model::gpt4, 8000},    {Model::gpt4turbo128, 4096},
      {Model::gpt40125preview, 4096},
  };
  replyWith(ScriptedReply::json(completionBody("R")));
  auto client = makeClient();
  for (const auto& c : cases) {
    SCOPED_TRACE(Quillo::rawValue(c.model));
    EXPECT_EQ(Quillo::tokenLimit(c.model), c.limit);
    const std::string old(c.limit - 2, 'h');

    // System text (empty) + one history message + a two-byte text: exactly the limit, kept.
    client->setHistoryList(history({old}));
    client->fetchReply("xx", c.model, "", 0.5);
    EXPECT_EQ(client->historyList().size(), 3u);

    // One byte more: the history message goes.
    client->setHistoryList(history({old}));
    client->fetchReply("xxx", c.model, "", 0.5);
    EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{"xxx", "R"}));
  }
}

TEST_F(ChatClient, TrimmingStaysWhenTheRequestFails) {
  replyWith(ScriptedReply::json(errorBody("The server is overloaded."), 500));
  const std::string a(2000, 'a'), b(2000, 'b'), c(90, 'c');
  auto client = makeClient();
  foundation::LogCapture log;

  client->setHistoryList(history({a, b, c}));
  EXPECT_EQ(client->fetchReply(std::string(10, 't'), Model::turbo, "", 0.5), "Something went wrong");
  EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{b, c}));

  client->setHistoryList(history({a, b, c}));
  EXPECT_EQ(failureOf([&] { client->streamReply(std::string(10, 't'), Model::turbo, "", 0.5); }),
            "The server is overloaded.");
  EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{b, c}));
}

TEST_F(ChatClient, WithoutATokenCounterRequestsGoOutUntrimmed) {
  replyWith(ScriptedReply::json(completionBody("R")));
  auto client = makeClient(nullptr);
  const std::string huge(20000, 'h');
  client->setHistoryList(history({huge, huge}));

  EXPECT_EQ(client->fetchReply("hi", Model::turbo, "", 0.5), "R");

  EXPECT_EQ(sentMessages(onlyRequest()).size(), 4u);
  EXPECT_EQ(client->historyList().size(), 4u);
}

// Failures before the reply

TEST_F(ChatClient, FailureStatusesThrowTheServicesWords) {
  struct Case {
    std::string name;
    int status;
    std::string body;
    std::string failure;
    bool isLogged;
  };
  const Case cases[] = {
      {"error record", 401, errorBody("Incorrect API key provided."), "Incorrect API key provided.", false},
      {"error record spread over lines", 429, "{\"error\":\n{\"message\": \"Rate limit reached\"}}",
       "Rate limit reached", false},
      {"two plain lines are joined", 500, "Internal\r\nServer Error\n", "InternalServer Error", true},
      {"a record without message is plain text", 400, R"({"error":{"type":"x"}})",
       R"({"error":{"type":"x"}})", true},
      {"an empty body still says what failed", 502, "", "The server answered with status 502.", true},
  };
  auto client = makeClient();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    replyWith(ScriptedReply::text(c.body, c.status));
    foundation::LogCapture log;

    EXPECT_EQ(failureOf([&] { client->streamReply("hi", Model::turbo, "", 0.5); }), c.failure);

    EXPECT_EQ(log.lines(), c.isLogged ? std::vector<std::string>{c.failure} : std::vector<std::string>{});
    EXPECT_TRUE(client->historyList().empty());
  }
}

TEST_F(ChatClient, TheKeyNeverAppearsInFailuresOrDiagnostics) {
  const std::string echoed = std::string("Incorrect API key provided: ") + kKey + ".";
  const std::string redacted = foundation::redactedSecret(kKey);
  auto client = makeClient();
  foundation::LogCapture log;

  replyWith(ScriptedReply::json(errorBody(echoed), 401));
  EXPECT_EQ(failureOf([&] { client->streamReply("hi", Model::turbo, "", 0.5); }),
            "Incorrect API key provided: " + redacted + ".");

  replyWith(ScriptedReply::text(std::string("bad key ") + kKey, 403));
  EXPECT_EQ(failureOf([&] { client->streamReply("hi", Model::turbo, "", 0.5); }), "bad key " + redacted);

  replyWith(ScriptedReply::text(streamedBody({"a"}, false) + "data: " + errorBody(echoed) + "\n", 200));
  EXPECT_EQ(drain(client->streamReply("hi", Model::turbo, "", 0.5)).failure,
            "Incorrect API key provided: " + redacted + ".");

  replyWith(ScriptedReply::text(std::string("bad key ") + kKey, 403));
  EXPECT_EQ(client->fetchReply("hi", Model::turbo, "", 0.5), "Something went wrong");

  ASSERT_FALSE(log.lines().empty());
  for (const auto& line : log.lines()) EXPECT_THAT(line, Not(HasSubstr(kKey)));
}

TEST_F(ChatClient, TransportFailuresAreThrownOrReportedAsSomethingWentWrong) {
  const std::string address = "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort());
  ChatGPTAPI client(kKey, address + kCompletionsPath, byteCountingEncoder());
  foundation::LogCapture log;

  EXPECT_THAT(failureOf([&] { client.streamReply("hi", Model::turbo, "", 0.5); }).value_or(""),
              HasSubstr("Could not connect to the server."));
  EXPECT_EQ(client.fetchReply("hi", Model::turbo, "", 0.5), "Something went wrong");

  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_THAT(log.lines()[0], HasSubstr("Could not connect to the server."));
  EXPECT_TRUE(client.historyList().empty());
}

TEST_F(ChatClient, ACallOnACancelledTaskFailsBeforeTheReply) {
  replyWith(ScriptedReply::text(streamedBody({"Hi"}), 200, "text/event-stream"));
  auto client = makeClient();
  std::promise<void> go;
  auto started = go.get_future().share();

  concurrency::Task<std::optional<std::string>> caller([&client, started] {
    started.wait();
    return failureOf([&] { client->streamReply("hi", Model::turbo, "", 0.5); });
  });
  caller.cancel();
  go.set_value();

  EXPECT_THAT(caller.value().value_or("(none)"), HasSubstr("cancelled"));
  EXPECT_TRUE(client->historyList().empty());
}

// Streamed replies

TEST_F(ChatClient, StreamsPiecesAndRecordsTheExchange) {
  struct Case {
    std::string name;
    std::string body;
    std::vector<std::string> pieces;
  };
  const Case cases[] = {
      {"the end marker ends the reply normally", streamedBody({"Hel", "lo", "!"}), {"Hel", "lo", "!"}},
      {"without end marker the end of the body ends it", streamedBody({"Hi"}, false), {"Hi"}},
      {"an empty piece is yielded", streamedBody({"A", "", "B"}), {"A", "", "B"}},
      {"a reply without content records an empty answer",
       chunkLine(std::nullopt) + "\n" + chunkLine(std::nullopt) + "data: [DONE]\n",
       {}},
      {"lines that are not chunks are skipped",
       ": keep-alive\nevent: x\ndata:{\"choices\":[]}\ndata: {\"choices\":[]}\ndata: not json\n" +
           chunkLine("ok") + "data: {\"choices\":[{\"delta\":{}}]}\r\ndata: [DONE]\r\n",
       {"ok"}},
      {"pieces out of many non-ASCII characters",
       streamedBody({"Grüße ", "🙂", "日本"}),
       {"Grüße ", "🙂", "日本"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    replyWith(ScriptedReply::text(c.body, 200, "text/event-stream"));
    auto client = makeClient();

    const auto drained = drain(client->streamReply("Say hi", Model::turbo, "S", 0.5));

    EXPECT_EQ(drained.failure, std::nullopt);
    EXPECT_EQ(drained.pieces, c.pieces);
    std::string whole;
    for (const auto& piece : c.pieces) whole += piece;
    const auto recorded = client->historyList();
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].role, Role::user);
    EXPECT_EQ(recorded[0].content, "Say hi");
    EXPECT_EQ(recorded[1].role, Role::assistant);
    EXPECT_EQ(recorded[1].content, whole);
  }
}

TEST_F(ChatClient, TheNextCallCarriesTheRecordedExchange) {
  replyWith(ScriptedReply::text(streamedBody({"Paris"}), 200, "text/event-stream"));
  auto client = makeClient();

  drain(client->streamReply("Capital of France?", Model::turbo, "S", 0.5));
  drain(client->streamReply("And of Italy?", Model::turbo, "S", 0.5));

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(sentMessages(requests[1]), (Messages{{"system", "S"},
                                                 {"user", "Capital of France?"},
                                                 {"assistant", "Paris"},
                                                 {"user", "And of Italy?"}}));
}

TEST_F(ChatClient, FailuresMidReplyEndTheStreamAndRecordNothing) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    std::string failure;
  };
  ScriptedReply dropped = ScriptedReply::text(streamedBody({"Once", " upon"}, false));
  dropped.dropsConnection = true;
  const Case cases[] = {
      {"the connection drops", dropped, "The network connection was lost."},
      {"an error record after some pieces",
       ScriptedReply::text(streamedBody({"Once", " upon"}, false) +
                           "data: " + errorBody("The model produced invalid content.") + "\n\n" +
                           chunkLine("never") + "data: [DONE]\n"),
       "The model produced invalid content."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    replyWith(c.reply);
    auto client = makeClient();

    const auto drained = drain(client->streamReply("Tell a story", Model::turbo, "S", 0.5));

    EXPECT_EQ(drained.pieces, (std::vector<std::string>{"Once", " upon"}));
    EXPECT_THAT(drained.failure.value_or("(none)"), HasSubstr(c.failure));
    client->waitUntilRepliesEnd();
    EXPECT_TRUE(client->historyList().empty());
  }
}

TEST_F(ChatClient, CancellingTheConsumerStillRecordsTheExchange) {
  auto gate = std::make_shared<PieceGate>();
  replyWith(
      ScriptedReply::inPieces({chunkLine("One") + "\n", chunkLine(" two") + "\n", "data: [DONE]\n\n"}, gate));
  auto client = makeClient();
  gate->release();

  auto stream = client->streamReply("Count", Model::turbo, "S", 0.5);
  EXPECT_EQ(stream.next(), "One");
  stream.cancel();
  EXPECT_EQ(stream.next(), std::nullopt);
  gate->open();
  client->waitUntilRepliesEnd();

  EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{"Count", "One two"}));
}

TEST_F(ChatClient, CancellingTheConsumingTaskStillRecordsTheExchange) {
  auto gate = std::make_shared<PieceGate>();
  replyWith(ScriptedReply::inPieces({chunkLine("One") + "\n", chunkLine(" two") + "\n"}, gate));
  auto client = makeClient();
  gate->release();
  auto firstPiece = std::make_shared<PieceGate>();  // used as a one-shot signal from the task

  concurrency::Task<std::vector<std::string>> consumer([&client, firstPiece] {
    std::vector<std::string> pieces;
    auto stream = client->streamReply("Count", Model::turbo, "S", 0.5);
    while (auto piece = stream.next()) {
      pieces.push_back(*piece);
      firstPiece->markWritten();
    }
    return pieces;
  });
  ASSERT_TRUE(firstPiece->waitUntilWritten(1));
  consumer.cancel();
  EXPECT_EQ(consumer.value(), (std::vector<std::string>{"One"}));
  gate->open();
  client->waitUntilRepliesEnd();

  EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{"Count", "One two"}));
}

TEST_F(ChatClient, ReleasingTheClientStopsDecodingButNotReading) {
  auto gate = std::make_shared<PieceGate>();
  replyWith(
      ScriptedReply::inPieces({chunkLine("One") + "\n", chunkLine(" two") + "\n", "data: [DONE]\n\n"}, gate));
  auto client = makeClient();
  gate->release();

  auto stream = client->streamReply("Count", Model::turbo, "S", 0.5);
  EXPECT_EQ(stream.next(), "One");
  client.reset();
  gate->open();

  EXPECT_EQ(stream.next(), std::nullopt);
  EXPECT_TRUE(gate->waitUntilWritten(3));
}

TEST_F(ChatClient, InactivityOfSixtySecondsEndsTheReply) {
  auto clock = std::make_shared<foundation::ManualClock>();
  auto session = std::make_shared<foundation::URLSession>(clock);
  auto gate = std::make_shared<PieceGate>();
  replyWith(ScriptedReply::inPieces({chunkLine("One") + "\n", chunkLine(" two") + "\n"}, gate));
  ChatGPTAPI client(kKey, server.url(kCompletionsPath), byteCountingEncoder(), session);
  gate->release();

  auto stream = client.streamReply("Count", Model::turbo, "S", 0.5);
  EXPECT_EQ(stream.next(), "One");
  clock->advance(std::chrono::seconds(60));

  EXPECT_THAT(drain(stream).failure.value_or("(none)"), HasSubstr("The request timed out."));
  client.waitUntilRepliesEnd();
  EXPECT_TRUE(client.historyList().empty());
}

TEST_F(ChatClient, ALongReplyThatKeepsFlowingIsNeverCut) {
  auto clock = std::make_shared<foundation::ManualClock>();
  auto session = std::make_shared<foundation::URLSession>(clock);
  auto gate = std::make_shared<PieceGate>();
  std::vector<std::string> pieces;
  for (int i = 0; i < 5; ++i) pieces.push_back(chunkLine(std::to_string(i)) + "\n");
  replyWith(ScriptedReply::inPieces(pieces, gate));
  ChatGPTAPI client(kKey, server.url(kCompletionsPath), byteCountingEncoder(), session);

  auto stream = client.streamReply("Count", Model::turbo, "S", 0.5);
  for (int i = 0; i < 5; ++i) {
    gate->release();
    EXPECT_EQ(stream.next(), std::to_string(i));
    clock->advance(std::chrono::seconds(59));  // 295 seconds in all, never 60 without a byte
  }

  EXPECT_EQ(drain(stream).failure, std::nullopt);
  EXPECT_EQ(contentsOf(client.historyList()), (std::vector<std::string>{"Count", "01234"}));
}

// One-shot replies

TEST_F(ChatClient, FetchReplyReturnsTheWholeReplyOrSomethingWentWrong) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    std::string result;
    std::vector<std::string> history;
  };
  const Case cases[] = {
      {"first choice",
       ScriptedReply::json(completionBody("Hello there")),
       "Hello there",
       {"test", "Hello there"}},
      {"empty choices give the empty text",
       ScriptedReply::json(completionBody(std::nullopt)),
       "",
       {"test", ""}},
      {"status 500", ScriptedReply::json(errorBody("Server error"), 500), "Something went wrong", {"x", "y"}},
      {"status 401 with an error record",
       ScriptedReply::json(errorBody("Bad key"), 401),
       "Something went wrong",
       {"x", "y"}},
      {"a body that does not decode",
       ScriptedReply::json(R"({"choices":[{"message":{"role":"robot","content":"?"}}]})"),
       "Something went wrong",
       {"x", "y"}},
      {"a body that is not JSON", ScriptedReply::text("data: [DONE]"), "Something went wrong", {"x", "y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    replyWith(c.reply);
    auto client = makeClient();
    const bool isFailure = c.result == "Something went wrong";
    if (isFailure) client->setHistoryList(history({"x", "y"}));
    foundation::LogCapture log;

    EXPECT_EQ(client->fetchReply("test", Model::turbo, "Reply short", 0.5), c.result);

    EXPECT_EQ(contentsOf(client->historyList()), c.history);
    EXPECT_EQ(log.lines().size(), isFailure ? 1u : 0u);
  }
}

// Threads

TEST_F(ChatClient, HistoryIsSharedSafelyBetweenOwnerCallsAndProducers) {
  replyWith(ScriptedReply::text(streamedBody({"a", "b"}), 200, "text/event-stream"));
  auto client = makeClient();
  constexpr int kRounds = 12;
  foundation::LogCapture log;  // the one-shot calls cannot decode a streamed body and say so

  std::thread caller([&] {
    for (int i = 0; i < kRounds; ++i) {
      if (i % 2 == 0) {
        drain(client->streamReply(std::string(1500, 'q'), Model::turbo, "S", 0.5));
      } else {
        client->fetchReply(std::string(1500, 'q'), Model::turbo, "S", 0.5);
      }
    }
  });
  std::thread owner([&] {
    for (int i = 0; i < kRounds * 4; ++i) {
      const auto seen = client->historyList();
      for (const auto& message : seen) EXPECT_NE(message.role, Role::system);
      if (i % 8 == 7) client->setHistoryList({});
    }
  });
  caller.join();
  owner.join();
  client->waitUntilRepliesEnd();

  // Trimming keeps the history within the limit whatever the interleaving (the last reply comes on top).
  std::size_t bytes = 0;
  for (const auto& message : client->historyList()) bytes += message.content.size();
  EXPECT_LE(bytes, 4096u + 2);
  EXPECT_EQ(server.requests().size(), static_cast<std::size_t>(kRounds));
}

TEST_F(ChatClient, TwoRepliesAtOnceEachRecordTheirExchange) {
  auto firstGate = std::make_shared<PieceGate>();
  replyWith(ScriptedReply::inPieces({chunkLine("first") + "\n"}, firstGate));
  auto client = makeClient();

  auto first = client->streamReply("one", Model::turbo, "S", 0.5);
  replyWith(ScriptedReply::text(streamedBody({"second"})));
  auto second = client->streamReply("two", Model::turbo, "S", 0.5);
  EXPECT_EQ(drain(second).pieces, (std::vector<std::string>{"second"}));
  firstGate->open();
  EXPECT_EQ(drain(first).pieces, (std::vector<std::string>{"first"}));

  EXPECT_EQ(contentsOf(client->historyList()), (std::vector<std::string>{"two", "second", "one", "first"}));
}
