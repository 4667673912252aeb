#include "platform/appkit/status_bar.h"

#include <algorithm>

#include "platform/appkit/application.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/status_bar_service.h"

namespace appkit {
namespace {

desktop::StatusBarService* desktopStatusBar() {
  desktop::Desktop* desktop = desktop::Desktop::current();
  return desktop ? &desktop->statusBar() : nullptr;
}

// The menu bar's height when no desktop gives one.
constexpr double kStandardThickness = 22;

double barThickness() {
  auto* bar = desktopStatusBar();
  return bar ? bar->thickness() : kStandardThickness;
}

// Room on each side of a variable-length button's image.
constexpr double kImageMargin = 4;

}  // namespace

void StatusBarButton::setImage(std::optional<Image> image) {
  image_ = std::move(image);
  if (item_) item_->update();
}

void StatusBarButton::setToolTip(std::optional<std::string> toolTip) {
  toolTip_ = std::move(toolTip);
  if (item_) item_->update();
}

void StatusBarButton::performClick() {
  if (!isEnabled() || action_.empty()) return;
  Application::shared().sendAction(action_);
}

StatusBarWindow::StatusBarWindow(foundation::Rect frame)
    : StyledWindow(frame, StyleMask::borderless, BackingStoreType::buffered, false) {
  setLevel(Level::statusBar);
}

StatusItem::StatusItem(Token, double length)
    : length_(length),
      button_(std::make_shared<StatusBarButton>()),
      window_(std::make_shared<StatusBarWindow>(foundation::Rect())) {
  button_->item_ = this;
  window_->setContentView(button_);
}

StatusItem::~StatusItem() {
  button_->item_ = nullptr;
  if (auto* bar = desktopStatusBar(); bar && itemNumber_ != 0) bar->removeItem(itemNumber_);
}

void StatusItem::attach() {
  auto* bar = desktopStatusBar();
  if (!bar) return;
  // The handler holds the item weakly: the menu bar must not keep the item alive.
  std::weak_ptr<StatusItem> weak = weak_from_this();
  itemNumber_ = bar->addItem(bar->thickness(), [weak] {
    if (auto item = weak.lock()) item->button_->performClick();
  });
  update();
}

void StatusItem::setLength(double length) {
  length_ = length;
  update();
}

void StatusItem::update() {
  const double thickness = barThickness();
  double width = length_;
  if (length_ == squareLength) {
    width = thickness;
  } else if (length_ < 0) {
    width =
        button_->image() ? std::max(thickness, button_->image()->size().width + 2 * kImageMargin) : thickness;
  }
  auto* bar = desktopStatusBar();
  if (!bar || itemNumber_ == 0) {
    window_->setFrame(foundation::Rect(window_->frame().origin, {width, thickness}));
    return;
  }
  bar->setWidth(itemNumber_, width);
  const auto& image = button_->image();
  bar->setImage(itemNumber_, image ? std::optional(desktop::StatusItemImage{image->name(), image->path(),
                                                                            image->isTemplate()})
                                   : std::nullopt);
  bar->setToolTip(itemNumber_, button_->toolTip());
  if (auto record = bar->item(itemNumber_)) window_->setFrame(record->frame);
}

StatusBar& StatusBar::system() {
  static StatusBar bar;
  return bar;
}

double StatusBar::thickness() const { return barThickness(); }

std::shared_ptr<StatusItem> StatusBar::statusItem(double length) {
  auto item = std::make_shared<StatusItem>(StatusItem::Token{}, length);
  item->attach();
  return item;
}

}  // namespace appkit
