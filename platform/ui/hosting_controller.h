// A view controller whose view is a hosting view: it shows a view tree in a window or a popover and can
// ask for the size the tree would like to have.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/appkit/view_controller.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/view.h"

namespace ui {

// Always owned through a shared pointer, like every view controller. Main thread only.
class HostingController final : public appkit::ViewController {
  struct Token {};

 public:
  // Which sizes the controller reports from its tree, with the platform's raw values.
  struct SizingOptions {
    static constexpr std::uint64_t minSize = 1 << 0;
    static constexpr std::uint64_t intrinsicContentSize = 1 << 1;
    static constexpr std::uint64_t maxSize = 1 << 2;
    static constexpr std::uint64_t preferredContentSize = 1 << 3;
  };

  // Evaluates `rootView` into a tree of its own, shown in a hosting view of `size` (the window or popover
  // presenting it gives it its real size later).
  static std::shared_ptr<HostingController> make(AnyView rootView, Size size = {},
                                                 std::shared_ptr<const TextMeasurer> measurer = nullptr);

  HostingController(Token, std::shared_ptr<HostingView> view, std::shared_ptr<const TextMeasurer> measurer);

  HostingView& hostingView() const { return *hostingView_; }
  detail::ViewGraph& graph() const { return hostingView_->graph(); }

  std::uint64_t sizingOptions() const { return sizingOptions_; }
  void setSizingOptions(std::uint64_t options) { sizingOptions_ = options; }

  // The tree's ideal size (the size it takes when offered no particular size), while the sizing options
  // include preferredContentSize; nothing otherwise.
  std::optional<foundation::Size> preferredContentSize() override;
  // The tree's ideal size, whatever the options.
  Size idealSize() const;

 private:
  std::shared_ptr<HostingView> hostingView_;
  std::shared_ptr<const TextMeasurer> measurer_;
  std::uint64_t sizingOptions_ = 0;
};

}  // namespace ui
