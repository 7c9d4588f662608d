// The about window both programs show: the program's icon, name and
// version, the maker's notice and two links, and OK. Each program gives it
// its own class (TDlgAbout, TFrmAbout) with its name label; everything
// else is this one window.
#pragma once

#include <string>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/link_label.h"
#include "toolkit/picture_controls.h"

namespace tessavo {

// The maker's addresses: the notice's name, under the reserved domain.
inline constexpr const char* MakerMail = "info@korvel.example";
inline constexpr const char* MakerWeb = "http://korvel.example";

class AboutWindow : public tk::Form {
 public:
  struct Program {
    std::string formName;   // "DlgAbout", "FrmAbout"
    std::string nameLabel;  // "Quillorn 1.01"
    int nameWidth;          // the name label's width
  };
  AboutWindow(tk::Form* owner, const Program& program);

  tk::Panel PnlBack;
  tk::IconImage ImageIcon1;
  tk::Label RzLabel1;
  tk::Label LblCopyright;
  tk::Bevel RzBorder1;
  tk::Label LblMail1;
  tk::Label LblMail2;
  tk::LinkLabel URLMail;
  tk::Label LblMail4;
  tk::LinkLabel URLWeb;
  tk::Bevel RzBorder2;
  tk::Button BtnOk;

 private:
  void FormShow();
};

}  // namespace tessavo
