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
  std::erase(app.forms_, this);
  std::erase(app.modalForms_, this);
  for (Form* other : app.forms_) {
    if (other->owner_ == this) other->owner_ = nullptr;
  }
  if (app.mainForm_ == this) app.mainForm_ = nullptr;
  if (app.activeForm_ == this) app.activeForm_ = nullptr;
}

void Form::CreateHandle() {
  if (handleCreated_) return;
  handleCreated_ = true;
  std::unique_ptr<FormPeer> peer = CreateFormPeer(*this);
  FormPeer* formPeer = peer.get();
  AttachPeer(std::move(peer));
  formPeer->CreateControls();
}

FormPeer* Form::GetFormPeer() const { return dynamic_cast<FormPeer*>(Peer()); }

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::Caption);
}

void Form::SetClientHeight(int height) {
  Rect bounds = Bounds();
  bounds.height = height;
  SetBounds(bounds);
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

int Form::Width() const { return App().OuterSize(*this).width; }
int Form::Height() const { return App().OuterSize(*this).height; }

void Form::SetHeight(int height) { SetClientHeight(ClientHeight() + height - Height()); }

void Form::SetStayOnTop(bool onTop) {
  if (onTop == stayOnTop_) return;
  stayOnTop_ = onTop;
  Changed(Change::StayOnTop);
}

void Form::Show() {
  CreateHandle();
  closed_ = false;
  if (Visible()) {
    Changed(Change::Focus);  // forward and active again
    return;
  }
  // Before the window appears, so that it can still place itself.
  if (OnShow) OnShow();
  // The peer shows it and reports the activation.
  SetVisible(true);
}

void Form::Hide() {
  if (!Visible()) return;
  // The peer hands the activation on, as the window system does.
  SetVisible(false);
  if (!active_) return;
  active_ = false;
  if (App().activeForm_ == this) App().activeForm_ = nullptr;
}

ModalResult Form::ShowModal() {
  if (modal_) throw std::logic_error("Cannot make a modal form modal again");
  CreateHandle();
  modalResult_ = ModalResult::None;
  Application& app = App();
  ModalScope scope(this);
  modal_ = true;
  app.modalForms_.push_back(this);
  const auto finish = [&] {
    modal_ = false;
    std::erase(app.modalForms_, this);
    // Enabled before this form hides, so that the activation can go back.
    scope.EnableAgain();
    Hide();
  };
  try {
    Show();
    GetFormPeer()->RunModal();
  } catch (...) {
    finish();
    throw;
  }
  finish();
  // Hidden from code without a result: as good as cancelled.
  if (modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  return modalResult_;
}

void Form::SetModalResult(ModalResult result) { modalResult_ = result; }

bool Form::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(canClose);
  return canClose;
}

void Form::Close() {
  if (closed_ || closePending_) return;
  if (!CloseQuery()) return;
  // A modal form only ends its loop; the handler that showed it goes on.
  if (!modal_ && App().HandlerDepth() > 1) {
    closePending_ = true;
    return;
  }
  CloseNow();
}

void Form::CloseNow() {
  if (closed_) return;
  if (OnClose) OnClose();
  closed_ = true;
  if (modal_ && modalResult_ == ModalResult::None) modalResult_ = ModalResult::Cancel;
  Hide();
  if (App().MainForm() == this) App().MainFormClosed();
}

void Form::UserClose() {
  if (!Enabled()) {
    // The user cannot reach a disabled window; a close that arrives anyway
    // was sent by another program (ending the task, say). To the main
    // form, locked by a run, it is the taskbar's Close; behind a modal
    // window it is refused, as the taskbar's is.
    if (App().MainForm() == this) App().UserCloseRequested();
    return;
  }
  App().Guard([this] { Close(); });
}

void Form::Minimize() {
  if (App().MainForm() == this) {
    App().Minimize();
    return;
  }
  minimized_ = true;
  if (FormPeer* peer = GetFormPeer()) peer->Minimize();
}

WindowState Form::GetWindowState() const {
  if (!Visible()) return WindowState::Hidden;
  if (minimized_ || App().Minimized()) return WindowState::Minimized;
  return WindowState::Normal;
}

void Form::UserMinimized() { minimized_ = true; }
void Form::UserRestored() { minimized_ = false; }

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

void Form::ForgetControl(const Control* control) {
  if (hovered_ == control) hovered_ = nullptr;
  if (focused_ == control) focused_ = nullptr;
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
  App().Guard([this, p] {
    App().SetHint(HintAt(p));
    Control* under = Rect{0, 0, ClientWidth(), ClientHeight()}.Contains(p) ? ControlAt(p) : nullptr;
    if (under == hovered_) return;
    Control* left = hovered_;
    hovered_ = under;
    if (left) left->UserMouseLeave();
    if (under) under->UserMouseEnter();
  });
}

void Form::UserPointerLeft() {
  App().Guard([this] {
    Control* left = hovered_;
    hovered_ = nullptr;
    if (left) left->UserMouseLeave();
  });
}

void Form::UserClickAt(Point p) {
  App().Guard([this, p] {
    if (!Rect{0, 0, ClientWidth(), ClientHeight()}.Contains(p)) return;
    Control* under = ControlAt(p);
    if (under && under->AcceptsInput()) under->UserMouseClick();
  });
}

Cursor Form::CursorAt(Point p) {
  if (!Rect{0, 0, ClientWidth(), ClientHeight()}.Contains(p)) return Cursor::Default;
  for (Control* c = ControlAt(p); c; c = c->Parent()) {
    if (c->GetCursor() != Cursor::Default) return c->GetCursor();
  }
  return Cursor::Default;
}

std::optional<Point> Form::PointerPosition() {
  FormPeer* peer = GetFormPeer();
  return peer ? peer->PointerPosition() : std::nullopt;
}

ModalScope::ModalScope(const Form* except) : ModalScope(except, App().ActiveForm()) {}

ModalScope::ModalScope(const Form* except, Form* returnTo) : returnTo_(returnTo) {
  for (Form* form : App().Forms()) {
    if (form != except && form->Visible() && form->Enabled()) {
      form->SetEnabled(false);
      disabled_.push_back(form);
    }
  }
}

namespace {

bool StillThere(const Form* form) {
  const auto& forms = App().Forms();
  return form && std::find(forms.begin(), forms.end(), form) != forms.end();
}

}  // namespace

void ModalScope::EnableAgain() {
  if (enabledAgain_) return;
  enabledAgain_ = true;
  // A form destroyed meanwhile is no longer listed.
  for (Form* form : disabled_) {
    if (StillThere(form)) form->SetEnabled(true);
  }
}

ModalScope::~ModalScope() {
  EnableAgain();
  if (StillThere(returnTo_) && returnTo_->Visible() && returnTo_->Enabled() &&
      !returnTo_->Active()) {
    returnTo_->SetFocus();
  }
}

}  // namespace tessavo::tk
