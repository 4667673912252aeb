#include "MarkdownRender/views/inline_text.h"

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <memory>
#include <mutex>
#include <stop_token>
#include <utility>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "platform/concurrency/main_actor.h"
#include "platform/concurrency/task.h"

namespace MarkdownRender {

namespace {

ui::AttributeContainer adding(const ui::AttributeContainer& attributes, const AnyTextStyle& style) {
  ui::AttributeContainer result = attributes;
  style.applyAttributes(result);
  return result;
}

}  // namespace

InlineEnvironment InlineEnvironment::of(const Theme& theme, std::optional<foundation::URL> baseURL) {
  return InlineEnvironment{std::move(baseURL), theme.code,          theme.emphasis,
                           theme.strong,       theme.strikethrough, theme.link};
}

ui::AttributedString attributedPiece(const Inline& node, const InlineEnvironment& environment,
                                     const ui::AttributeContainer& attributes) {
  switch (node.kind()) {
    case Inline::Kind::text:
      return ui::AttributedString(node.as<Inline::Text>()->content, attributes);
    case Inline::Kind::code:
      return ui::AttributedString(node.as<Inline::Code>()->content, adding(attributes, environment.code));
    case Inline::Kind::html:
      // Inline HTML is shown as its source text.
      return ui::AttributedString(node.as<Inline::HTML>()->content, attributes);
    case Inline::Kind::emphasis:
      return buildAttributedText(node.as<Inline::Emphasis>()->children, environment,
                                 adding(attributes, environment.emphasis));
    case Inline::Kind::strong:
      return buildAttributedText(node.as<Inline::Strong>()->children, environment,
                                 adding(attributes, environment.strong));
    case Inline::Kind::strikethrough:
      return buildAttributedText(node.as<Inline::Strikethrough>()->children, environment,
                                 adding(attributes, environment.strikethrough));
    case Inline::Kind::link: {
      const auto& link = *node.as<Inline::Link>();
      ui::AttributeContainer linked = adding(attributes, environment.link);
      // A destination that makes no URL keeps the link's look but links nowhere.
      const auto url = foundation::URL::parse(link.destination, environment.baseURL);
      linked.link = url ? std::optional<std::string>(url->absoluteString()) : std::nullopt;
      return buildAttributedText(link.children, environment, linked);
    }
    case Inline::Kind::image:
      return ui::AttributedString();
    case Inline::Kind::softBreak:
      return ui::AttributedString(" ", attributes);
    case Inline::Kind::lineBreak:
      return ui::AttributedString("\n", attributes);
  }
  return ui::AttributedString();
}

ui::AttributedString buildAttributedText(const std::vector<Inline>& inlines,
                                         const InlineEnvironment& environment,
                                         const ui::AttributeContainer& attributes) {
  ui::AttributedString result;
  for (const auto& node : inlines) result.append(attributedPiece(node, environment, attributes));
  return result;
}

ui::Text buildText(const std::vector<Inline>& inlines, const InlineImages& images,
                   const InlineEnvironment& environment, const ui::AttributeContainer& attributes) {
  ui::Text text = ui::Text::verbatim("");
  for (const auto& node : inlines) {
    if (const auto* image = node.as<Inline::ImageNode>()) {
      if (auto found = images.find(image->source); found != images.end())
        text = text + ui::Text(found->second);
      continue;
    }
    text = text + ui::Text(convertingFontProperties(attributedPiece(node, environment, attributes)));
  }
  return text;
}

namespace {

// The distinct pictures of the top level of a run of text, in order of appearance.
std::vector<Inline::Image> imageDescriptions(const std::vector<Inline>& inlines) {
  std::vector<Inline::Image> descriptions;
  for (const auto& node : inlines) {
    auto description = Inline::Image::from(node);
    if (description &&
        std::find(descriptions.begin(), descriptions.end(), *description) == descriptions.end()) {
      descriptions.push_back(std::move(*description));
    }
  }
  return descriptions;
}

// The outcome of loads running side by side. `mutex` guards every member; `changed` is signalled each
// time a load ends.
struct ConcurrentLoads {
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t ended = 0;
  std::exception_ptr failure;                              // the first one
  std::vector<std::pair<std::string, ui::Image>> results;  // in the order the loads ended
};

}  // namespace

InlineImages loadInlineImages(const std::vector<Inline>& inlines, const InlineImageProvider& provider,
                              const std::optional<foundation::URL>& imageBaseURL) {
  struct Request {
    std::string source;
    foundation::URL url;
    std::string label;
  };
  std::vector<Request> requests;
  for (const auto& description : imageDescriptions(inlines)) {
    if (!description.source) continue;
    auto url = foundation::URL::parse(*description.source, imageBaseURL);
    if (url) requests.push_back(Request{*description.source, std::move(*url), description.alt});
  }
  if (requests.empty()) return {};

  auto loads = std::make_shared<ConcurrentLoads>();
  std::vector<concurrency::Task<void>> tasks;
  tasks.reserve(requests.size());
  // Every load has ended before this function returns, so they may use `provider` by reference.
  for (const auto& request : requests) {
    tasks.emplace_back([loads, request, &provider] {
      std::optional<ui::Image> image;
      std::exception_ptr failure;
      try {
        image = provider.inlineImage(request.url, request.label);
      } catch (...) {
        failure = std::current_exception();
      }
      std::lock_guard lock(loads->mutex);
      if (image) loads->results.emplace_back(request.source, std::move(*image));
      if (failure && !loads->failure) loads->failure = failure;
      ++loads->ended;
      loads->changed.notify_all();
    });
  }
  auto cancelAll = [&tasks] {
    for (const auto& task : tasks) task.cancel();
  };
  {
    // Cancelling the caller cancels every load; they then fail, and so does the whole.
    std::stop_callback onCancel(concurrency::currentStopToken(), cancelAll);
    std::unique_lock lock(loads->mutex);
    loads->changed.wait(lock, [&] { return loads->failure || loads->ended == tasks.size(); });
    if (loads->ended < tasks.size()) {
      // One failed: the others are not waited for to the end of their downloads.
      lock.unlock();
      cancelAll();
      lock.lock();
      loads->changed.wait(lock, [&] { return loads->ended == tasks.size(); });
    }
  }
  if (loads->failure) std::rethrow_exception(loads->failure);
  InlineImages images;
  // Two descriptions of one source load twice; the load that ended last gives the picture.
  for (auto& [source, image] : loads->results) images.insert_or_assign(source, std::move(image));
  return images;
}

ui::AnyView InlineText::body() const {
  const InlineEnvironment environment =
      InlineEnvironment::of(environment_.value<ThemeKey>(), environment_.value<BaseURLKey>());
  // The text style is read here rather than through a reader view of its own: a table shows thousands of
  // runs of text, and each view less per run is thousands of nodes less.
  ui::AttributeContainer attributes;
  environment_.value<TextStyleKey>().applyAttributes(attributes);
  ui::AnyView text = buildText(inlines_, *inlineImages_, environment, attributes);
  // Without pictures to load or to take away there is nothing to do: no task is started (a table shows
  // thousands of runs of text), and one still loading for earlier inlines is cancelled as it leaves.
  if (imageDescriptions(inlines_).empty() && inlineImages_->empty()) return text.fixedSize(false, true);
  // The load reads the provider and the image base URL as they are when it starts.
  auto load = [images = inlineImages_, inlines = inlines_,
               provider = environment_.value<InlineImageProviderKey>(),
               imageBaseURL = environment_.value<ImageBaseURLKey>()] {
    InlineImages loaded;
    try {
      if (provider) loaded = loadInlineImages(inlines, *provider, imageBaseURL);
    } catch (...) {
      // Any picture that fails takes the others with it: the text shows none.
    }
    const auto stop = concurrency::currentStopToken();
    try {
      concurrency::MainActor::run([&] {
        // A load that newer inlines superseded (or whose view left) keeps its hands off the pictures shown:
        // the newer load decides what they are.
        if (!stop.stop_requested()) images.set(std::move(loaded));
      });
    } catch (...) {
      // The main queue went away (the program or the test host is ending): nobody shows the outcome.
    }
  };
  return text.task(inlines_, std::move(load), concurrency::TaskPriority::userInitiated)
      .fixedSize(false, true);
}

}  // namespace MarkdownRender
