#include "Quillo/global/spotlight_view.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

#include "Quillo/app/status_bar_delegate.h"
#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/debounced_change.h"
#include "platform/appkit/pasteboard.h"
#include "platform/concurrency/main_actor.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/unicode.h"
#include "platform/speech/speech_recognizer.h"
#include "platform/ui/aspect_ratio.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/progress_view.h"
#include "platform/ui/scale_effect.h"
#include "platform/ui/scene.h"
#include "platform/ui/text_field_modifiers.h"
#include "platform/ui/views.h"
#include "settings_store/key.h"

namespace Quillo {
namespace {

constexpr double kReplyTemperature = 0.5;
constexpr auto kRefocusDelay = std::chrono::seconds(1);
constexpr auto kCopiedShowTime = std::chrono::seconds(2);
constexpr double kApplyTranscriptDelay = 0.1;
constexpr double kSendTranscriptDelay = 1.0;
constexpr double kMaxAnswerHeight = 500;

// What a reply task changes on the main thread, each change only while its reply is the view's newest.
struct ReplyTarget {
  std::shared_ptr<SpotlightReply> reply;
  ui::State<std::string> output;
  std::function<void()> finish;
  std::function<void(const std::string&)> fail;
};

// The reply task's body, on a worker: the call and every wait for a piece happen here.
void streamAnswer(const std::shared_ptr<ChatGPTAPI>& api, const std::string& query, Model model,
                  const ReplyTarget& target) {
  auto isCurrent = [&] { return !target.reply->isWithdrawn; };
  try {
    auto stream = api->streamReply(query, model, kSpotlightSystemText, kReplyTemperature);
    while (auto piece = stream.next()) {
      concurrency::checkCancellation();
      concurrency::MainActor::run([&] {
        if (isCurrent()) target.output.set(target.output.get() + *piece);
      });
    }
    concurrency::MainActor::run([&] {
      if (isCurrent()) target.finish();
    });
  } catch (const concurrency::CancellationError&) {
    // Withdrawn: the view has moved on and wants nothing more from this reply.
  } catch (const foundation::TextError& failure) {
    const std::string text = failure.text();
    concurrency::MainActor::run([&] {
      if (isCurrent()) target.fail(spotlightFailureText(text));
    });
  } catch (const std::exception& failure) {
    const std::string text = failure.what();
    concurrency::MainActor::run([&] {
      if (isCurrent()) target.fail(text);
    });
  }
}

}  // namespace

std::string spotlightFailureText(const std::string& failureText) {
  if (auto advice = adviceForFailure(failureText)) return *advice + failureText;
  return failureText;
}

SpotlightView::SpotlightView()
    : globalApiModel_(Keys::globalApiModel()),
      speakGlobalOutLoud_(Keys::speakGlobalOutLoud()),
      maxLengthForSpeaking_(Keys::maxLengthForSpeaking()),
      conversationModeEnabled_(Keys::conversationModeEnabled()),
      synthesizer_([] { return Synthesizer::make(); }),
      api_(std::make_shared<ChatGPTAPI>(Defaults::get(Keys::apiKey()))),
      speech_([] { return NewSpeech::make(false); }) {}

void SpotlightView::submitQuery() const {
  sendQuery();
  isInputFocused_.set(false);
  foundation::RunLoop::main().asyncAfter(kRefocusDelay,
                                         [isInputFocused = isInputFocused_] { isInputFocused.set(true); });
}

void SpotlightView::sendQuery() const {
  foundation::log("send query");
  auto speech = speech_.get();
  if (conversationModeEnabled_.get() && speech->inConversation.get()) speech->stopRecording();
  output_.set("");
  loading_.set(true);
  withdrawReply();

  auto reply = std::make_shared<SpotlightReply>();
  reply_.set(reply);
  auto self = *this;
  ReplyTarget target{reply, output_, [self] { self.finishReply(); },
                     [self](const std::string& text) { self.failReply(text); }};
  auto api = *api_;
  const std::string query = *searchQuery_;
  const Model model = globalApiModel_.get();
  task_.set(concurrency::Task<void>([api, query, model, target] { streamAnswer(api, query, model, target); }));
}

void SpotlightView::withdrawReply() const {
  if (auto running = *reply_) running->isWithdrawn = true;
  if (task_->isValid()) task_->cancel();
}

void SpotlightView::finishReply() const {
  const std::string answer = *output_;
  auto speech = speech_.get();
  if (speakGlobalOutLoud_.get() &&
      static_cast<std::int64_t>(foundation::graphemeCount(answer)) < maxLengthForSpeaking_.get()) {
    // Listening, if any, resumes once speaking has finished.
    synthesizer_->speak(answer);
  } else if (speech->inConversation.get()) {
    searchQuery_.set("");
    speech->startRecording();
  }
  loading_.set(false);
}

void SpotlightView::failReply(const std::string& failureText) const {
  output_.set(failureText);
  loading_.set(false);
}

void SpotlightView::toggleListening() const {
  auto speech = speech_.get();
  if (!speech->inConversation.get()) {
    speech->inConversation.set(true);
    speech::SpeechRecognizer::requestAuthorization([](speech::SpeechRecognizerAuthorizationStatus) {});
    speech->startRecording();
  } else {
    speech->inConversation.set(false);
    speech->stopRecording();
  }
}

void SpotlightView::applyTranscript(const std::string& transcript) const {
  if (!transcript.empty()) searchQuery_.set(transcript);
}

void SpotlightView::sendTranscript(const std::string& transcript) const {
  if (transcript.empty()) return;
  searchQuery_.set(transcript);
  sendQuery();
}

void SpotlightView::resumeListeningAfterSpeech(bool finished) const {
  auto speech = speech_.get();
  if (conversationModeEnabled_.get() && speech->inConversation.get() && finished) {
    searchQuery_.set("");
    speech->startRecording();
  }
}

void SpotlightView::stopListeningOnDisappear() const {
  withdrawReply();
  auto speech = speech_.get();
  if (conversationModeEnabled_.get() && speech->hasRecognitionTask()) speech->stopRecording();
}

void SpotlightView::copyAnswer() const {
  auto pasteboard = appkit::Pasteboard::generalPasteboard();
  pasteboard.declareTypes({appkit::pasteboardTypeString});
  pasteboard.setString(*output_, appkit::pasteboardTypeString);
  copied_.set(true);
  foundation::RunLoop::main().asyncAfter(kCopiedShowTime, [copied = copied_] { copied.set(false); });
}

void SpotlightView::closeGlobalWindow() const {
  if (auto delegate = StatusBarDelegate::shared()) delegate->closeSpotlightWindow();
}

ui::AnyView SpotlightView::microphoneButton() const {
  using namespace ui;
  auto self = *this;
  auto speech = speech_.get();
  const bool isLoading = *loading_;
  auto symbol = AnyView(Image::systemName("mic.fill"))
                    .font(Font::largeTitle())
                    .foregroundStyle(speech->inConversation.get() ? Color::teal() : Color::secondary())
                    .opacity(isLoading ? 0 : 1);
  auto button = Button([self] { self.toggleListening(); }, symbol)
                    .buttonStyle(ButtonStyle::plain)
                    .padding(Edges::leading, 12)
                    .overlay(scaleEffect(ProgressView(), 0.8).opacity(isLoading ? 1 : 0));
  // Every change of the transcript restarts both waits.
  const std::string transcript = speech->transcript.get();
  button = onDebouncedChange<std::string>(button, transcript, kApplyTranscriptDelay,
                                          [self](const std::string& heard) { self.applyTranscript(heard); });
  return onDebouncedChange<std::string>(button, transcript, kSendTranscriptDelay,
                                        [self](const std::string& heard) { self.sendTranscript(heard); });
}

ui::AnyView SpotlightView::queryBar() const {
  using namespace ui;
  auto self = *this;
  const bool isInConversation = speech_->inConversation.get();
  const bool showsMicrophone = conversationModeEnabled_.get();
  return GeometryReader([self, isInConversation, showsMicrophone](const GeometryProxy& geometry) {
           auto field = AnyView(TextField(isInConversation ? "Say your prompt" : "Type your prompt",
                                          self.searchQuery_.binding()))
                            .frame(std::nullopt, std::max(0.0, geometry.size().height - 2 * imagePadding))
                            .padding(Edges::horizontal, 12)
                            .font(Font::system(28, FontWeight::regular, FontDesign::standard));
           field = textFieldStyle(field, TextFieldStyle::plain)
                       .onSubmit([self] { self.submitQuery(); })
                       .focused(self.isInputFocused_.binding());
           field = onExitCommand(field, [self] { self.closeGlobalWindow(); });
           auto settings = SettingsLink(scaledToFit(Image("abouticon").resizable()));
           std::vector<AnyView> items;
           if (showsMicrophone) items.push_back(self.microphoneButton());
           items.push_back(field);
           items.push_back(settings);
           return HStack(VerticalAlignment::center, 0.0, items).padding(Edges::leading, imagePadding);
         })
      .frame(std::nullopt, kSpotlightBarHeight);
}

ui::AnyView SpotlightView::copyControl() const {
  using namespace ui;
  auto self = *this;
  AnyView control = *copied_ ? AnyView(Text("Copied"))
                             : Button([self] { self.copyAnswer(); }, Label("Copy", "doc.on.doc.fill"))
                                   .buttonStyle(ButtonStyle::plain);
  return control.padding(5)
      .padding(Edges::horizontal, 2)
      .background(RoundedRectangle(8, CornerStyle::continuous)
                      .fill(Color::controlBackgroundColor())
                      .shadow(Color::black().opacity(0.1), 4, 0, 0))
      .padding(12)
      .opacity(*isHoveringOverAnswer_ ? 1 : 0);
}

ui::AnyView SpotlightView::answerArea() const {
  using namespace ui;
  auto answer = ZStack(Alignment::leading(), AnyView(Color::controlBackgroundColor().opacity(0.7)),
                       AnyView(Text::verbatim(*output_))
                           .font(Font::title())
                           .padding(12)
                           .padding(Edges::horizontal, 4)
                           .foregroundStyle(Color::labelColor())
                           .lineSpacing(2)
                           .textSelection(true));
  auto content = AnyView(answer)
                     .clipShape(RoundedRectangle(10, CornerStyle::continuous))
                     .padding(2)
                     .overlay(copyControl(), Alignment::topTrailing());
  FrameModifier atMost;
  atMost.maxHeight = kMaxAnswerHeight;
  return ScrollView(content, Axis::vertical, true)
      .frame(atMost)
      .onHover([hovering = isHoveringOverAnswer_](bool isInside) { hovering.set(isInside); })
      .padding(Edges::horizontal | Edges::bottom, imagePadding);
}

ui::AnyView SpotlightView::body() const {
  using namespace ui;
  auto self = *this;
  std::vector<AnyView> rows{queryBar()};
  if (!output_->empty()) rows.push_back(answerArea());
  return VStack(HorizontalAlignment::center, 0.0, rows)
      .frame(kSpotlightWidth, std::nullopt)
      .onChange<bool>(synthesizer_->finished.get(), [self](const bool& finished) {
        self.resumeListeningAfterSpeech(finished);
      })
      .onDisappear([self] { self.stopListeningOnDisappear(); });
}

}  // namespace Quillo
