#include "shared_forms/about_window.h"

#include <string>

#include "toolkit/application.h"
#include "toolkit/label_args.h"

namespace tessavo {
namespace {

constexpr int kClientWidth = 332;
constexpr int kClientHeight = 200;

}  // namespace

AboutWindow::AboutWindow(tk::Form* owner, const Program& program)
    : Form({.caption = "About Tessavo",
            .clientWidth = kClientWidth,
            .clientHeight = kClientHeight,
            .borderStyle = tk::BorderStyle::None,
            .borderIcons = {.systemMenu = false, .minimize = false, .maximize = false},
            .font = tk::Font{},
            .owner = owner}),
      PnlBack(this, {.bounds = {0, 0, kClientWidth, kClientHeight},
                     .inner = tk::BevelStyle::Grooved,
                     .borderWidth = 4}),
      ImageIcon1(&PnlBack, {.at = {16, 14}, .icon = "MAINICON", .size = 32}),
      RzLabel1(&PnlBack, {.bounds = {56, 16, program.nameWidth, 24},
                          .caption = program.nameLabel,
                          .font = tk::Font{.name = "Arial", .height = 21, .bold = true,
                                           .color = tk::RGB(128, 0, 0)},
                          .raised = true}),
      LblCopyright(&PnlBack, {.bounds = {56, 44, 0, 0},
                              .caption = "Copyright \xA9 Korvel Software",
                              .font = tk::Font{.name = "MS Sans Serif", .height = 13}}),
      RzBorder1(&PnlBack, {.bounds = {56, 68, 261, 2}}),
      LblMail1(&PnlBack, tk::LabelAt(56, 74, "Please send comments and suggestions to:")),
      LblMail2(&PnlBack, tk::LabelAt(56, 94, "Internet E-Mail:")),
      URLMail(&PnlBack, {.at = {168, 94},
                         .caption = MakerMail,
                         .target = std::string("mailto:") + MakerMail}),
      LblMail4(&PnlBack, tk::LabelAt(56, 110, "World Wide Web:")),
      URLWeb(&PnlBack, {.at = {168, 110}, .caption = MakerWeb, .target = MakerWeb}),
      RzBorder2(&PnlBack, {.bounds = {56, 128, 261, 2}}),
      BtnOk(&PnlBack, {.bounds = {242, 160, 75, 25},
                       .caption = "OK",
                       .tabOrder = 0,
                       .isDefault = true,
                       .isCancel = true}) {
  SetName(program.formName);
  BtnOk.OnClick = [this] { SetModalResult(tk::ModalResult::Ok); };
  OnShow = [this] { FormShow(); };
  CreateHandle();
}

void AboutWindow::FormShow() {
  // Centred on the screen at every showing.
  const tk::Size screen = tk::App().ScreenSize();
  SetLeft((screen.width - Width()) / 2);
  SetTop((screen.height - Height()) / 2);
}

}  // namespace tessavo
