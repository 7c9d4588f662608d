#include "toolkit/link_label.h"

#include <chrono>

#include "toolkit/application.h"
#include "toolkit/form.h"

namespace tessavo::tk {
namespace {

constexpr auto kPointerCheck = std::chrono::milliseconds(100);
constexpr std::size_t kMaxTarget = 1023;

}  // namespace

LinkLabel::LinkLabel(Container* parent, const CreateArgs& args)
    : Label(parent, {.bounds = {args.at.x, args.at.y, 0, 0}, .caption = args.caption}),
      target_(args.target),
      color_(args.color),
      highlight_(args.highlight) {
  Font font = GetFont();
  font.underline = true;
  font.color = color_;
  SetFont(font);
  SetCursor(Cursor::HandPoint);
}

LinkLabel::~LinkLabel() {
  if (timer_) App().StopTimer(timer_);
}

void LinkLabel::SetTextColor(Color color) {
  Font font = GetFont();
  font.color = color;
  SetFont(font);
}

void LinkLabel::UserMouseEnter() {
  SetTextColor(highlight_);
  if (!timer_) timer_ = App().StartTimer(kPointerCheck, [this] { CheckPointer(); });
}

void LinkLabel::CheckPointer() {
  Form* form = OwnerForm();
  const std::optional<Point> pointer = form ? form->PointerPosition() : std::nullopt;
  const Point origin = FormOffset();
  const Rect area{origin.x, origin.y, Bounds().width, Bounds().height};
  if (pointer && area.Contains(*pointer)) return;
  SetTextColor(color_);
  App().StopTimer(timer_);
  timer_ = 0;
}

void LinkLabel::UserMouseClick() {
  App().Guard([this] {
    const std::string target = target_.substr(0, kMaxTarget);
    // 32 and below are the shell's failures: a beep says so, nothing more.
    if (App().Shell().Open(target) <= 32) App().Notify().Beep();
  });
}

}  // namespace tessavo::tk
