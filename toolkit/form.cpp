#include "toolkit/form.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

Form::Form(const CreateArgs& args)
    : Container(nullptr, ControlKind::Form, Rect{0, 0, args.clientWidth, args.clientHeight}),
      caption_(args.caption),
      owner_(args.owner),
      borderStyle_(args.borderStyle),
      borderIcons_(args.borderIcons) {
  SetFont(args.font);
  SetVisible(false);  // forms start hidden; Show or Run puts them up
  App().forms_.push_back(this);
}

Form::~Form() {
  Application& app = App();
  auto& forms = app.forms_;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  for (Form* other : forms) {
    if (other->owner_ == this) other->owner_ = nullptr;
  }
  if (app.mainForm_ == this) app.mainForm_ = nullptr;
  if (app.activeForm_ == this) app.activeForm_ = nullptr;
}

void Form::CreateHandle() {
  if (handleCreated_) return;
  handleCreated_ = true;
  if (std::unique_ptr<FormPeer> peer = CreateFormPeer(*this)) {
    FormPeer* formPeer = peer.get();
    AttachPeer(std::move(peer));
    formPeer->CreateControls();
  }
}

FormPeer* Form::GetFormPeer() const { return dynamic_cast<FormPeer*>(Peer()); }

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::Caption);
}

void Form::SetLeft(int left) {
  if (left == left_) return;
  left_ = left;
  Changed(Change::Bounds);
}

void Form::SetTop(int top) {
  if (top == top_) return;
  top_ = top;
  Changed(Change::Bounds);
}

int Form::Width() const { return ClientWidth() + App().FrameSize(*this).width; }
int Form::Height() const { return ClientHeight() + App().FrameSize(*this).height; }

void Form::Show() {
  CreateHandle();
  closed_ = false;
  if (!Visible()) {
    // Before the window appears, so that it can still place itself.
    if (OnShow) OnShow();
    SetVisible(true);
  }
  // A native window reports its activation itself.
  if (!GetFormPeer()) UserActivated(true);
}

void Form::Hide() {
  if (!Visible()) return;
  SetVisible(false);
  if (!active_) return;
  active_ = false;
  Application& app = App();
  if (app.activeForm_ == this) app.activeForm_ = nullptr;
  if (GetFormPeer()) return;
  // Without a window system, hand the activation on as one would: to the
  // owner, else to the main form, if it can take it.
  Form* next = owner_ ? owner_ : app.mainForm_;
  if (next && next != this && next->Visible() && next->Enabled()) next->UserActivated(true);
}

void Form::RestoreAfterModal(const std::vector<Form*>& disabled) {
  modal_ = false;
  // Enabled before this form hides, so that the activation can go back to
  // the owner. A form destroyed meanwhile is no longer listed.
  const auto& forms = App().Forms();
  for (Form* form : disabled) {
    if (std::find(forms.begin(), forms.end(), form) != forms.end()) form->SetEnabled(true);
  }
  Hide();
}

ModalResult Form::ShowModal() {
  if (modal_) throw std::logic_error("Cannot make a modal form modal again");
  CreateHandle();
  modalResult_ = ModalResult::None;
  std::vector<Form*> disabled;
  for (Form* form : App().Forms()) {
    if (form != this && form->Visible() && form->Enabled()) {
      form->SetEnabled(false);
      disabled.push_back(form);
    }
  }
  modal_ = true;
  try {
    Show();
    if (FormPeer* peer = GetFormPeer()) {
      peer->RunModal();
    } else {
      App().Platform().RunModalLoop(
          [this] { return modalResult_ != ModalResult::None || !Visible(); });
    }
  } catch (...) {
    RestoreAfterModal(disabled);
    throw;
  }
  RestoreAfterModal(disabled);
  // Hidden from code without a result: as good as cancelled.
  if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  return modalResult_;
}

void Form::SetModalResult(ModalResult result) { modalResult_ = result; }

void Form::Close() {
  if (closed_) return;
  if (OnClose) OnClose();
  closed_ = true;
  if (modal_ && modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  Hide();
  if (App().MainForm() == this) App().MainFormClosed();
}

void Form::UserClose() {
  if (!Enabled()) return;
  App().Guard([this] { Close(); });
}

void Form::Minimize() {
  if (App().MainForm() == this) {
    App().Minimize();
  } else if (FormPeer* peer = GetFormPeer()) {
    peer->Minimize();
  }
}

void Form::UserActivated(bool active) {
  if (active == active_) return;
  active_ = active;
  Application& app = App();
  if (!active) {
    if (app.activeForm_ == this) app.activeForm_ = nullptr;
    return;
  }
  if (app.activeForm_ && app.activeForm_ != this) app.activeForm_->active_ = false;
  app.activeForm_ = this;
  app.Guard([this] {
    if (OnActivate) OnActivate();
  });
}

void Form::SetFocusedControl(Control* control) {
  if (control == focused_) return;
  Control* previous = focused_;
  focused_ = control;
  if (previous) previous->FocusLeft();
}

std::string Form::HintAt(Point p) {
  if (!Rect{0, 0, ClientWidth(), ClientHeight()}.Contains(p)) return {};
  Control* under = ControlAt(p);
  if (under && under->Kind() == ControlKind::ToolBar) {
    const Point origin = under->FormOffset();
    auto* button = static_cast<ToolBar*>(under)->ButtonAt({p.x - origin.x, p.y - origin.y});
    if (button && !button->Hint().empty()) return LongHintOf(button->Hint());
  }
  // The nearest control that has a hint at all, even if its long part is
  // empty: an enclosing panel's hint does not show through a button's.
  for (Control* c = under ? under : this; c; c = c->Parent()) {
    if (!c->Hint().empty()) return c->LongHint();
  }
  return {};
}

void Form::UserPointerAt(Point p) {
  App().Guard([this, p] { App().SetHint(HintAt(p)); });
}

}  // namespace tessavo::tk
