#include "platform/foundation/http/url_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "platform/concurrency/task.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/text_error.h"
#include "tests/support/loopback_server.h"

namespace {

using foundation::URL;
using foundation::URLRequest;
using foundation::URLSession;
using testing::HasSubstr;
using testsupport::LoopbackServer;
using testsupport::PieceGate;
using testsupport::ScriptedReply;
using namespace std::chrono_literals;

URL urlOf(const std::string& text) {
  auto url = URL::parse(text);
  if (!url) throw std::invalid_argument("not a URL: " + text);
  return *url;
}

// The text of the TextError that `work` throws, or "(no failure)".
template <class Work>
std::string failureOf(Work&& work) {
  try {
    work();
  } catch (const foundation::TextError& error) {
    return error.text();
  }
  return "(no failure)";
}

std::vector<std::string> remainingLines(foundation::URLByteStream& stream) {
  std::vector<std::string> lines;
  while (auto line = stream.nextLine()) lines.push_back(*line);
  return lines;
}

class URLSessionTest : public testing::Test {
 protected:
  LoopbackServer server;
  std::shared_ptr<foundation::ManualClock> clock = std::make_shared<foundation::ManualClock>();
  URLSession session{clock};

  URLRequest request(const std::string& path) const { return URLRequest(urlOf(server.url(path))); }
};

TEST_F(URLSessionTest, LoadsAWholeBodyWithStatusAndHeaders) {
  ScriptedReply reply = ScriptedReply::json(R"({"latestVersion": 35})");
  reply.headers = {{"X-Served-By", "loopback"}};
  server.reply("GET", "/config.json", reply);

  const auto result = session.data(urlOf(server.url("/config.json")));

  EXPECT_EQ(result.response.statusCode, 200);
  EXPECT_EQ(result.response.value("content-type"), "application/json");
  EXPECT_EQ(result.response.value("X-SERVED-BY"), "loopback");
  EXPECT_EQ(result.response.url, urlOf(server.url("/config.json")));
  EXPECT_EQ(result.data, R"({"latestVersion": 35})");
}

TEST_F(URLSessionTest, SendsMethodHeadersAndBodyAsGiven) {
  struct Case {
    std::string method;
    std::string body;
  };
  const Case cases[] = {
      {"GET", ""}, {"POST", R"({"stream":false})"}, {"POST", ""}, {"PUT", "x"}, {"DELETE", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method + " " + c.body);
    server.handle(c.method, "/echo", [](const testsupport::RecordedRequest& received) {
      ScriptedReply reply = ScriptedReply::text(received.method + ":" + received.body, 201);
      reply.headers = {{"X-Echo", received.header("Authorization").value_or("")}};
      return reply;
    });
    const std::size_t before = server.requests().size();
    URLRequest echo = request("/echo?key=value");
    echo.httpMethod = c.method;
    echo.httpBody = c.body;
    echo.setValue("application/json", "Content-Type");
    echo.setValue("Bearer sk-test", "Authorization");

    const auto result = session.data(echo);

    EXPECT_EQ(result.response.statusCode, 201);
    EXPECT_EQ(result.data, c.method + ":" + c.body);
    EXPECT_EQ(result.response.value("X-Echo"), "Bearer sk-test");
    const auto received = server.requests().at(before);
    EXPECT_EQ(received.method, c.method);
    EXPECT_EQ(received.path, "/echo");
    EXPECT_EQ(received.query, "key=value");
    EXPECT_EQ(received.body, c.body);
    EXPECT_EQ(received.header("content-type"), "application/json");
  }
}

TEST_F(URLSessionTest, AStatusOutsideSuccessIsAResponseWithItsBody) {
  server.reply("POST", "/v1/chat/completions",
               ScriptedReply::json(R"({"error":{"message":"Incorrect API key provided"}})", 401));
  URLRequest post = request("/v1/chat/completions");
  post.httpMethod = "POST";
  post.httpBody = "{}";

  const auto result = session.bytes(post);

  EXPECT_EQ(result.response.statusCode, 401);
  EXPECT_EQ(remainingLines(*result.bytes),
            std::vector<std::string>{R"({"error":{"message":"Incorrect API key provided"}})"});
}

TEST_F(URLSessionTest, AnUnknownPathGivesTheServersNotFound) {
  const auto result = session.data(urlOf(server.url("/nothing-here")));
  EXPECT_EQ(result.response.statusCode, 404);
}

TEST_F(URLSessionTest, StreamedBodyGivesTheSameLinesWhereverTheServerPauses) {
  const std::string body =
      "data: h\xC3\xA9llo\r\ndata: \xE4\xB8\x96\xE7\x95\x8C\r\n\r\n: comment\nlast \xF0\x9F\x98\x80";
  const std::vector<std::string> expected = {"data: h\xC3\xA9llo", "data: \xE4\xB8\x96\xE7\x95\x8C", "",
                                             ": comment", "last \xF0\x9F\x98\x80"};
  for (std::size_t cut = 0; cut <= body.size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut);
    auto gate = std::make_shared<PieceGate>();
    server.reply("GET", "/stream", ScriptedReply::inPieces(testsupport::splitAt(body, {cut}), gate));
    gate->release();

    auto result = session.bytes(request("/stream"));
    std::vector<std::string> lines;
    auto reader = std::async(std::launch::async, [&] { return remainingLines(*result.bytes); });
    // The second piece goes out only after the first has been written, while the reader is waiting.
    ASSERT_TRUE(gate->waitUntilWritten(1));
    gate->release();

    EXPECT_EQ(reader.get(), expected);
  }
}

TEST_F(URLSessionTest, ADroppedConnectionFailsTheStreamInsteadOfEndingIt) {
  for (const auto framing : {ScriptedReply::Framing::chunked, ScriptedReply::Framing::contentLength}) {
    SCOPED_TRACE(framing == ScriptedReply::Framing::chunked ? "chunked" : "declared length");
    auto gate = std::make_shared<PieceGate>();
    ScriptedReply reply = ScriptedReply::inPieces({"data: one\n", "data: tw"}, gate, framing);
    reply.dropsConnection = true;
    server.reply("GET", "/drop", reply);
    gate->open();

    auto result = session.bytes(request("/drop"));

    EXPECT_EQ(result.bytes->nextLine(), "data: one");
    EXPECT_THAT(failureOf([&] { result.bytes->nextLine(); }), HasSubstr("The network connection was lost."));
    EXPECT_THAT(failureOf([&] { session.data(request("/drop")); }),
                HasSubstr("The network connection was lost."));
  }
}

TEST_F(URLSessionTest, InactivityTimeoutEndsAStalledStream) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/stall", ScriptedReply::inPieces({"data: one\n", "data: two\n"}, gate));
  gate->release();
  URLRequest stalled = request("/stall");
  stalled.timeoutInterval = 60s;

  auto result = session.bytes(stalled);
  ASSERT_EQ(result.bytes->nextLine(), "data: one");
  clock->advance(60s);

  EXPECT_THAT(failureOf([&] { result.bytes->nextLine(); }), HasSubstr("The request timed out."));
}

TEST_F(URLSessionTest, InactivityTimeoutEndsAWholeBodyLoadWhileTheServerHoldsIt) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/stall", ScriptedReply::inPieces({"never sent"}, gate));
  auto loading =
      std::async(std::launch::async, [&] { return failureOf([&] { session.data(request("/stall")); }); });
  ASSERT_TRUE(server.waitForRequests(1));
  // Each step moves past the timeout since whatever arrived last, however far the transfer has come.
  for (int step = 0; step < 250; ++step) {
    clock->advance(61s);
    if (loading.wait_for(20ms) == std::future_status::ready) break;
  }
  EXPECT_THAT(loading.get(), HasSubstr("The request timed out."));
}

TEST_F(URLSessionTest, ASlowButSteadyStreamIsNeverCut) {
  const std::vector<std::string> pieces = {"data: 1\n", "data: 2\n", "data: 3\n", "data: 4\n", "data: 5\n"};
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/slow", ScriptedReply::inPieces(pieces, gate));
  URLRequest slow = request("/slow");
  slow.timeoutInterval = 60s;

  auto result = session.bytes(slow);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    gate->release();
    EXPECT_EQ(result.bytes->nextLine(), "data: " + std::to_string(i + 1));
    clock->advance(59s);  // 295 seconds in all, never 60 without a byte
  }
  EXPECT_EQ(result.bytes->nextLine(), std::nullopt);
}

TEST_F(URLSessionTest, BytesThatArrivedWhileTheReaderWasBusyCountAsActivity) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/busy", ScriptedReply::inPieces({"data: one\n", "data: two\n"}, gate));
  gate->release();
  auto result = session.bytes(request("/busy"));
  ASSERT_EQ(result.bytes->nextLine(), "data: one");

  gate->release();
  ASSERT_TRUE(gate->waitUntilWritten(2));
  clock->advance(90s);  // the reader was busy elsewhere while the server went on

  EXPECT_EQ(result.bytes->nextLine(), "data: two");
  EXPECT_EQ(result.bytes->nextLine(), std::nullopt);
}

TEST_F(URLSessionTest, TotalTimeLimitEndsEvenASteadyStream) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/slow", ScriptedReply::inPieces({"data: 1\n", "data: 2\n", "data: 3\n"}, gate));
  URLRequest limited = request("/slow");
  limited.totalTimeLimit = 100s;

  auto result = session.bytes(limited);
  gate->release();
  EXPECT_EQ(result.bytes->nextLine(), "data: 1");
  clock->advance(50s);
  gate->release();
  EXPECT_EQ(result.bytes->nextLine(), "data: 2");
  clock->advance(50s);

  EXPECT_THAT(failureOf([&] { result.bytes->nextLine(); }), HasSubstr("The request timed out."));
}

TEST_F(URLSessionTest, CancellingAStreamWakesItsBlockedReader) {
  auto gate = std::make_shared<PieceGate>();
  ScriptedReply held = ScriptedReply::inPieces({"data: never\n"}, gate);
  held.status = 202;
  server.reply("GET", "/held", held);
  // The head is there while the server still holds the whole body.
  auto result = session.bytes(request("/held"));
  EXPECT_EQ(result.response.statusCode, 202);

  auto reader = std::async(std::launch::async, [&] { return failureOf([&] { result.bytes->nextLine(); }); });
  result.bytes->cancel();

  EXPECT_EQ(reader.get(), "cancelled");
  EXPECT_TRUE(result.bytes->isCancelled());
}

TEST_F(URLSessionTest, AStopRequestCancelsAHeldTransfer) {
  struct Case {
    std::string name;
    bool stopsWhileReadingLines;
  };
  for (const Case& c : {Case{"whole body", false}, Case{"reading lines", true}}) {
    SCOPED_TRACE(c.name);
    auto gate = std::make_shared<PieceGate>();
    server.reply("GET", "/held", ScriptedReply::inPieces({"data: never\n"}, gate));
    const std::size_t before = server.requests().size();
    std::stop_source stop;
    auto loading = std::async(std::launch::async, [&] {
      return failureOf([&] {
        if (c.stopsWhileReadingLines) {
          session.bytes(request("/held")).bytes->nextLine(stop.get_token());
        } else {
          session.data(request("/held"), stop.get_token());
        }
      });
    });
    ASSERT_TRUE(server.waitForRequests(before + 1));
    stop.request_stop();
    EXPECT_EQ(loading.get(), "cancelled");
  }
}

TEST_F(URLSessionTest, CancellingTheReadingTaskAbortsItsTransfer) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/held", ScriptedReply::inPieces({"data: first\n", "data: never\n"}, gate));
  gate->release();
  auto result = session.bytes(request("/held"));
  std::promise<void> firstLineRead;

  concurrency::Task<std::string> producer([&] {
    return failureOf([&] {
      while (auto line = result.bytes->nextLine(concurrency::currentStopToken())) {
        if (*line == "data: first") firstLineRead.set_value();
      }
    });
  });
  firstLineRead.get_future().wait();
  producer.cancel();

  EXPECT_EQ(producer.value(), "cancelled");
}

TEST_F(URLSessionTest, CancellingTheLoadingTaskAbortsAWholeBodyLoad) {
  auto gate = std::make_shared<PieceGate>();
  server.reply("GET", "/held", ScriptedReply::inPieces({"never sent"}, gate));
  concurrency::Task<std::string> loading(
      [&] { return failureOf([&] { session.data(request("/held"), concurrency::currentStopToken()); }); });
  ASSERT_TRUE(server.waitForRequests(1));
  loading.cancel();

  EXPECT_EQ(loading.value(), "cancelled");
}

TEST_F(URLSessionTest, BodiesLargerThanTheMaximumFail) {
  struct Case {
    std::string name;
    ScriptedReply reply;
    bool fails;
  };
  const Case cases[] = {
      {"declared length over the limit", ScriptedReply::text(std::string(100, 'x')), true},
      {"chunked body over the limit",
       ScriptedReply::inPieces({std::string(60, 'x'), std::string(40, 'x')}, nullptr), true},
      {"exactly the limit", ScriptedReply::text(std::string(64, 'x')), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.reply("GET", "/big", c.reply);
    URLRequest big = request("/big");
    big.maximumBodySize = 64;
    if (c.fails) {
      EXPECT_THAT(failureOf([&] { session.data(big); }), HasSubstr("larger than"));
      EXPECT_THAT(failureOf([&] { remainingLines(*session.bytes(big).bytes); }), HasSubstr("larger than"));
    } else {
      EXPECT_EQ(session.data(big).data.size(), 64u);
    }
  }
}

TEST_F(URLSessionTest, OnlyTheAllowedProtocolsAreUsedAlsoForRedirects) {
  ScriptedReply toFile = ScriptedReply::text("", 302);
  toFile.headers = {{"Location", "file:///etc/hostname"}};
  server.reply("GET", "/to-file", toFile);
  ScriptedReply toHere = ScriptedReply::text("", 301);
  toHere.headers = {{"Location", "/target"}};
  server.reply("GET", "/to-here", toHere);
  server.reply("GET", "/target", ScriptedReply::text("arrived"));

  URLRequest httpsOnly = request("/target");
  httpsOnly.allowedProtocols = {"https"};
  EXPECT_THAT(failureOf([&] { session.data(httpsOnly); }), HasSubstr("unsupported URL"));
  EXPECT_TRUE(server.requests().empty());
  EXPECT_THAT(failureOf([&] { session.data(urlOf("ftp://127.0.0.1/file")); }), HasSubstr("unsupported URL"));
  EXPECT_THAT(failureOf([&] { session.data(urlOf("/relative/path")); }), HasSubstr("unsupported URL"));
  EXPECT_THAT(failureOf([&] { session.data(request("/to-file")); }), HasSubstr("unsupported URL"));

  const auto followed = session.data(request("/to-here"));
  EXPECT_EQ(followed.response.statusCode, 200);
  EXPECT_EQ(followed.data, "arrived");
  EXPECT_EQ(followed.response.url, urlOf(server.url("/target")));
  EXPECT_EQ(followed.response.value("Location"), std::nullopt);  // the redirect's own head is not reported
}

TEST_F(URLSessionTest, ARefusedConnectionGivesAReadableError) {
  const std::string url = "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()) + "/";
  const std::string failure = failureOf([&] { session.data(urlOf(url)); });
  EXPECT_THAT(failure, HasSubstr("Could not connect to the server."));
  EXPECT_THAT(failure, HasSubstr("127.0.0.1"));
}

TEST(URLSessionSecurity, AServerWhoseCertificateIsNotTrustedIsRefused) {
  const std::string fixtures = std::string(QUILLO_TEST_DIR) + "/fixtures/";
  LoopbackServer server(LoopbackServer::TLSIdentity{fixtures + "self_signed_certificate.pem",
                                                    fixtures + "self_signed_key.pem"});
  server.reply("GET", "/secret", ScriptedReply::text("secret"));

  const std::string failure = failureOf([&] { URLSession().data(urlOf(server.url("/secret"))); });

  EXPECT_THAT(failure, HasSubstr("An SSL error has occurred"));
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(URLSessionTest, HeaderFieldsThatWouldSplitTheRequestAreRefused) {
  URLRequest injected = request("/target");
  injected.setValue("x\r\nX-Injected: 1", "X-Note");
  EXPECT_THAT(failureOf([&] { session.data(injected); }), HasSubstr("invalid header field"));
  EXPECT_TRUE(server.requests().empty());
}

TEST_F(URLSessionTest, OneSessionServesSeveralThreadsAtOnce) {
  server.handle("GET", "/n", [](const testsupport::RecordedRequest& received) {
    return ScriptedReply::text(received.query);
  });
  auto load = [&](int first) {
    std::vector<std::string> bodies;
    for (int i = first; i < first + 5; ++i)
      bodies.push_back(session.data(request("/n?" + std::to_string(i))).data);
    return bodies;
  };
  auto other = std::async(std::launch::async, load, 100);
  const auto mine = load(0);
  EXPECT_EQ(mine, (std::vector<std::string>{"0", "1", "2", "3", "4"}));
  EXPECT_EQ(other.get(), (std::vector<std::string>{"100", "101", "102", "103", "104"}));
}

}  // namespace
