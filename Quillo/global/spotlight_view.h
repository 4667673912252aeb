// The content of the Global window: a large one-line query bar and, once there is any output, the answer
// below it. Return sends the query to the view's own chat client and the answer streams in; short answers
// may be spoken, and with conversation mode on a microphone button starts a hands-free conversation that
// listens, sends after a second of silence, answers and listens again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/chat_model/model.h"
#include "Quillo/speech/new_speech.h"
#include "Quillo/speech/synthesizer.h"
#include "platform/concurrency/task.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The system text of every query of the Global window.
inline constexpr const char* kSpotlightSystemText = "You're a helpful assistant";
// The width of the window's content and the height of its query bar, in points.
inline constexpr double kSpotlightWidth = 650;
inline constexpr double kSpotlightBarHeight = 60;

// One reply of the view: whether it is still the one the view waits for. Main thread only: the view
// withdraws it (a newer query, the view going away) and the reply looks at it on the main thread before
// every change it makes, so a withdrawn reply changes nothing.
struct SpotlightReply {
  bool isWithdrawn = false;
};

// Everything here runs on the main thread; the reply task waits for the service on a worker and hops to
// the main thread for every change.
class SpotlightView final : public ui::View {
 public:
  // Makes the view's chat client with the API key stored now.
  SpotlightView();

  ui::AnyView body() const override;

  // Return in the field: sends the query, takes the focus from the field and gives it back 1.0 s later.
  void submitQuery() const;
  // Sends the field's text (an empty one too) as a new query. A reply still streaming is withdrawn and
  // cancelled: only the newest reply writes into the answer.
  void sendQuery() const;
  // The microphone button: enters the conversation and starts recording, or leaves it and stops.
  void toggleListening() const;
  // The recognised text has rested 0.1 s: the field shows it.
  void applyTranscript(const std::string& transcript) const;
  // The recognised text has rested 1.0 s: the field shows it and it is sent.
  void sendTranscript(const std::string& transcript) const;
  // The synthesiser's `finished` changed: in a conversation, once speaking has finished, listening
  // starts again with an empty field.
  void resumeListeningAfterSpeech(bool finished) const;
  // The view goes away (the window closes): the running reply is withdrawn and cancelled, and recording
  // stops.
  void stopListeningOnDisappear() const;
  // Puts the answer on the general pasteboard and shows "Copied" for 2.0 s.
  void copyAnswer() const;
  // Escape in the field: the application delegate closes the Global window. Without a delegate (none
  // has launched) nothing happens.
  void closeGlobalWindow() const;

 private:
  ui::AnyView queryBar() const;
  ui::AnyView microphoneButton() const;
  ui::AnyView answerArea() const;
  ui::AnyView copyControl() const;
  // The end of a reply that was not withdrawn: speaks a short answer or, in a conversation, listens
  // again; the wait is over.
  void finishReply() const;
  // A reply failed: the failure text replaces the answer; nothing is spoken, nobody listens again.
  void failReply(const std::string& failureText) const;
  void withdrawReply() const;

  static constexpr double imagePadding = 5.0;
  Defaults::Default<Model> globalApiModel_;
  Defaults::Default<bool> speakGlobalOutLoud_;
  Defaults::Default<std::int64_t> maxLengthForSpeaking_;
  Defaults::Default<bool> conversationModeEnabled_;
  ui::StateObject<Synthesizer> synthesizer_;
  ui::State<std::string> searchQuery_{""};
  ui::State<std::string> output_{""};
  ui::State<std::shared_ptr<ChatGPTAPI>> api_;
  ui::State<concurrency::Task<void>> task_;
  ui::State<std::shared_ptr<SpotlightReply>> reply_{nullptr};
  ui::State<bool> loading_{false};
  ui::StateObject<NewSpeech> speech_;
  ui::FocusState<bool> isInputFocused_;
  ui::State<bool> isHoveringOverAnswer_{false};
  ui::State<bool> copied_{false};
};

// The text shown when a query fails: the advice for a known failure immediately followed by the failure
// text, or the failure text alone.
std::string spotlightFailureText(const std::string& failureText);

}  // namespace Quillo
