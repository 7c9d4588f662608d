#include "toolkit/win32/form_peer.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/peer_factory.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/menu_peer.h"
#include "toolkit/win32/win32_platform.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

constexpr const char* kFormClass = "TessavoForm";

std::vector<FormPeerWin*>& Forms() {
  static std::vector<FormPeerWin*> forms;
  return forms;
}

ATOM g_formAtom = 0;

FormPeerWin* PeerOfForm(const Form* form) {
  return form ? dynamic_cast<FormPeerWin*>(form->GetFormPeer()) : nullptr;
}

}  // namespace

WindowStyles FormStyles(const Form& form) {
  WindowStyles s;
  s.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  const BorderIcons& icons = form.GetBorderIcons();
  switch (form.GetBorderStyle()) {
    case BorderStyle::Sizeable:
      s.style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      if (icons.systemMenu) {
        s.style |= WS_SYSMENU | (icons.minimize ? WS_MINIMIZEBOX : 0) |
                   (icons.maximize ? WS_MAXIMIZEBOX : 0);
      }
      break;
    case BorderStyle::Single:
      // Fixed size: never a maximise box, whatever the icons say.
      s.style |= WS_OVERLAPPED | WS_CAPTION;
      if (icons.systemMenu) s.style |= WS_SYSMENU | (icons.minimize ? WS_MINIMIZEBOX : 0);
      break;
    case BorderStyle::Dialog:
      s.style |= WS_POPUP | WS_CAPTION;
      s.exStyle |= WS_EX_DLGMODALFRAME;
      if (icons.systemMenu) s.style |= WS_SYSMENU;
      break;
    case BorderStyle::None:
      s.style |= WS_POPUP;
      break;
  }
  return s;
}

RECT FormOuterRect(const Form& form, int dpi) {
  const WindowStyles s = FormStyles(form);
  RECT r{0, 0, ScaleToDpi(form.ClientWidth(), dpi), ScaleToDpi(form.ClientHeight(), dpi)};
  AdjustWindowRectForDpi(r, s.style, form.Menu() != nullptr, s.exStyle, dpi);
  return RECT{form.Left(), form.Top(), form.Left() + (r.right - r.left),
              form.Top() + (r.bottom - r.top)};
}

static void RegisterFormClass(WNDPROC proc) {
  if (g_formAtom) return;
  InitControls();
  WNDCLASSEXA wc{sizeof(WNDCLASSEXA)};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = Instance();
  wc.hIcon = ProgramIcon(false);
  wc.hIconSm = ProgramIcon(true);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  g_formAtom = RegisterClassExA(&wc);
  if (!g_formAtom) throw std::runtime_error("Cannot register the form window class");
}

FormPeerWin::FormPeerWin(Form& form) : form_(form), dpi_(SystemDpi()) {
  RegisterFormClass(WindowProc);
  const WindowStyles s = FormStyles(form);
  // At the system's scale; a window that opens on a screen of another one
  // is scaled again below.
  const RECT r = FormOuterRect(form, dpi_);
  HWND owner = ApplicationWindow();
  if (FormPeerWin* ownerPeer = PeerOfForm(form.Owner())) owner = ownerPeer->Handle();

  HMENU menu = nullptr;
  if (MainMenu* mainMenu = form.Menu(); mainMenu && !mainMenu->Peer()) {
    auto peer = std::make_unique<MenuPeerWin>(*this, *mainMenu);
    menu = peer->Handle();
    mainMenu->AttachPeer(std::move(peer));
  }
  Forms().push_back(this);
  ++placing_;
  CreateWindowExA(s.exStyle, kFormClass, form.Caption().c_str(), s.style, r.left, r.top,
                  r.right - r.left, r.bottom - r.top, owner, menu, Instance(), this);
  --placing_;
  if (!hwnd_) {
    if (menuPeer_) menuPeer_->Detach();  // it must not call back into this peer
    Forms().erase(std::find(Forms().begin(), Forms().end(), this));
    throw std::runtime_error("Cannot create the window of form \"" + form.Caption() + "\"");
  }
  if (!form.Enabled()) EnableWindow(hwnd_, FALSE);
  if (form.StayOnTop()) ApplyStayOnTop();
  if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
    ChangeDpi(dpi, nullptr);
  } else {
    ApplyIcons();
  }
  FitClientArea();
  if (form.Visible()) ApplyVisible();
}

FormPeerWin::~FormPeerWin() {
  const bool windowThere = !dying_;
  WindowGone();
  Forms().erase(std::find(Forms().begin(), Forms().end(), this));
  if (windowThere) DestroyWindow(hwnd_);  // its tool-tip and controls go with it
}

void FormPeerWin::WindowGone() {
  if (dying_) return;
  dying_ = true;
  // Peers of controls that outlive the window must not touch it any more.
  for (ChildPeer* peer : std::vector<ChildPeer*>(peers_)) peer->Detach();
  if (menuPeer_) menuPeer_->Detach();
  ForgetForm(hwnd_);
  toolTip_ = nullptr;
  areaTools_.clear();
}

FormPeerWin* FormPeerWin::FromWindow(HWND hwnd) {
  if (!hwnd || !g_formAtom) return nullptr;
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (!root || GetClassLongPtrA(root, GCW_ATOM) != g_formAtom) return nullptr;
  // Another copy of the program has forms of the same class, and their
  // data means nothing here.
  DWORD process = 0;
  GetWindowThreadProcessId(root, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  return reinterpret_cast<FormPeerWin*>(GetWindowLongPtrA(root, GWLP_USERDATA));
}

const std::vector<FormPeerWin*>& FormPeerWin::All() { return Forms(); }

void FormPeerWin::RemovePeer(ChildPeer* peer) {
  peers_.erase(std::remove(peers_.begin(), peers_.end(), peer), peers_.end());
}

void FormPeerWin::Register(HWND child, ChildPeer* peer) { children_[child] = peer; }

void FormPeerWin::Unregister(HWND child) {
  children_.erase(child);
  if (toolTip_) {
    TOOLINFOA tool{sizeof(TOOLINFOA)};
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

ChildPeer* FormPeerWin::PeerOf(HWND child) const {
  auto it = children_.find(child);
  return it == children_.end() ? nullptr : it->second;
}

bool FormPeerWin::EnsureToolTip() {
  if (!toolTip_) {
    toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               Instance(), nullptr);
  }
  return toolTip_ != nullptr;
}

void FormPeerWin::AddToolTip(HWND child) {
  if (!EnsureToolTip()) return;
  // The text is asked for when the tip shows, so it follows hint changes;
  // an empty short hint shows no tip.
  TOOLINFOA tool{sizeof(TOOLINFOA)};
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(child);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormPeerWin::Invalidate(const RECT& area) {
  if (hwnd_ && !IsRectEmpty(&area)) InvalidateRect(hwnd_, &area, FALSE);
}

void FormPeerWin::CreateControls() {
  if (controlsCreated_) return;
  controlsCreated_ = true;
  // Tree order: a container's peer (its frame, painted first) comes
  // before its children's.
  PeerFactory factory(*this);
  auto walk = [&factory](auto& self, Container& container) -> void {
    for (Control* child : container.Children()) {
      if (!child->Peer()) {
        if (auto peer = child->CreatePeer(factory)) child->AttachPeer(std::move(peer));
      }
      if (auto* inner = dynamic_cast<Container*>(child)) self(self, *inner);
    }
  };
  walk(walk, form_);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormPeerWin::Update(Change what) {
  if (dying_) return;
  switch (what) {
    case Change::Bounds:
      ApplyBounds();
      break;
    case Change::Visible:
      ApplyVisible();
      break;
    case Change::Enabled:
      EnableWindow(hwnd_, form_.Enabled());
      break;
    case Change::Caption:
      if (WindowText(hwnd_) != form_.Caption()) SetWindowTextA(hwnd_, form_.Caption().c_str());
      break;
    case Change::Focus:
      if (IsWindowVisible(hwnd_)) SetActiveWindow(hwnd_);
      break;
    case Change::StayOnTop:
      ApplyStayOnTop();
      break;
    case Change::Cursor:
      break;  // asked for at every WM_SETCURSOR
    default:
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
  }
}

void FormPeerWin::ApplyStayOnTop() {
  // Wine leaves a shown window that owns other windows (its tool-tips) in
  // its place when asked to put it on top: for the moment of the call the
  // owned windows are lent to the application window, then given back.
  struct Owned {
    HWND owner;
    std::vector<HWND> windows;
  } owned{hwnd_, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto& found = *reinterpret_cast<Owned*>(data);
        if (GetWindow(window, GW_OWNER) == found.owner) found.windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&owned));
  for (HWND window : owned.windows) {
    SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ApplicationWindow()));
  }
  SetWindowPos(hwnd_, form_.StayOnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE);
  for (HWND window : owned.windows) {
    SetWindowLongPtrA(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd_));
  }
}

std::optional<Point> FormPeerWin::PointerPosition() {
  POINT p;
  if (!GetCursorPos(&p) || !ScreenToClient(hwnd_, &p)) return std::nullopt;
  return Unscale({p.x, p.y});
}

int FormPeerWin::Scale(int value) const { return ScaleToDpi(value, dpi_); }

RECT FormPeerWin::Scale(Point at, const Rect& r) const {
  const Rect s = ScaleToDpi(Rect{at.x + r.left, at.y + r.top, r.width, r.height}, dpi_);
  return RECT{s.left, s.top, s.left + s.width, s.top + s.height};
}

Point FormPeerWin::Unscale(Point p) const {
  return {UnscaleFromDpi(p.x, dpi_), UnscaleFromDpi(p.y, dpi_)};
}

Point FormPeerWin::ClientPoint(LPARAM lParam) const {
  return Unscale({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
}

void FormPeerWin::ApplyIcons() {
  // A dialog frame shows the class's icon as it always did (on Windows,
  // none): an icon given to it would appear in its title bar.
  if (form_.GetBorderStyle() == BorderStyle::Dialog) return;
  SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(true, dpi_)));
  SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(false, dpi_)));
}

void FormPeerWin::ChangeDpi(int dpi, const RECT* suggested) {
  dpi_ = dpi;
  ApplyIcons();
  // The controls first, so that the window's new size reveals them laid
  // out already.
  for (ChildPeer* peer : std::vector<ChildPeer*>(peers_)) peer->DpiChanged();
  if (menuPeer_) DrawMenuBar(hwnd_);
  const RECT r = suggested ? *suggested : FormOuterRect(form_, dpi_);
  ++placing_;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  --placing_;
  FitClientArea();
  UserPlaced();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void FormPeerWin::ApplyBounds() {
  if (placing_ || IsIconic(hwnd_)) return;
  const RECT r = FormOuterRect(form_, dpi_);
  ++placing_;
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  --placing_;
  FitClientArea();
}

void FormPeerWin::UserPlaced() {
  // The user moved or resized the window: the form's position and size
  // follow, so that what the program reads (and stores) is where it is.
  if (placing_ || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
  RECT outer, client;
  GetWindowRect(hwnd_, &outer);
  GetClientRect(hwnd_, &client);
  ++placing_;
  form_.SetLeft(outer.left);
  form_.SetTop(outer.top);
  // The position is the screen's; the size is described at 96 dpi.
  if (client.right != Scale(form_.ClientWidth()) || client.bottom != Scale(form_.ClientHeight())) {
    const Point size = Unscale({client.right, client.bottom});
    form_.SetBounds({0, 0, size.x, size.y});
  }
  --placing_;
}

void FormPeerWin::FitClientArea() {
  // A menu bar that wraps onto a second line is not in the frame size the
  // system computes; whatever the cause, the client area is what counts.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int dw = Scale(form_.ClientWidth()) - client.right;
  const int dh = Scale(form_.ClientHeight()) - client.bottom;
  if (dw == 0 && dh == 0) return;
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  ++placing_;
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dw,
               outer.bottom - outer.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  --placing_;
}

void FormPeerWin::ApplyVisible() {
  if (!form_.Visible()) {
    // Hand the activation on before hiding, so that it stays in the
    // program instead of going to whatever window lies below.
    if (GetActiveWindow() == hwnd_) {
      if (HWND next = NextActiveWindow()) SetActiveWindow(next);
    }
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  ShowApplicationWindow();
  // While the program is minimised forms stay hidden; restoring shows
  // every form whose control is visible.
  if (ProgramMinimized()) return;
  ShowWindow(hwnd_, SW_SHOW);
}

HWND FormPeerWin::NextActiveWindow() const {
  auto usable = [this](HWND window) {
    return window && window != hwnd_ && IsWindow(window) && IsWindowVisible(window) &&
           IsWindowEnabled(window);
  };
  if (FormPeerWin* owner = PeerOfForm(form_.Owner()); owner && usable(owner->hwnd_))
    return owner->hwnd_;
  if (FormPeerWin* main = PeerOfForm(App().MainForm()); main && usable(main->hwnd_))
    return main->hwnd_;
  for (FormPeerWin* other : All()) {
    if (usable(other->hwnd_)) return other->hwnd_;
  }
  return nullptr;
}

void FormPeerWin::Minimize() {
  if (App().MainForm() == &form_) {
    MinimizeAll();
  } else {
    ShowWindow(hwnd_, SW_MINIMIZE);
  }
}

void FormPeerWin::RunModal() {
  // The portable form has disabled the other forms and shown this one; it
  // enables them, hides this one and gives the activation back when we
  // return.
  while (form_.GetModalResult() == ModalResult::None && form_.Visible() && !dying_ &&
         !QuitReceived()) {
    if (!PumpOne(true)) break;
  }
}

void FormPeerWin::OnActivate(bool active) {
  if (active) {
    NoteActiveForm(hwnd_);
    FocusFirst();
  }
  Call([this, active] { form_.UserActivated(active); });
}

LRESULT CALLBACK FormPeerWin::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* self = static_cast<FormPeerWin*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormPeerWin*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    // Destroyed by the system along with the form that owns it: the peer
    // lives on, without a window, until its form goes.
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    if (self) self->WindowGone();
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!self || self->dying_) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT FormPeerWin::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      Call([this] { form_.UserClose(); });
      return 0;
    case WM_ACTIVATE: {
      const bool active = LOWORD(wParam) != WA_INACTIVE;
      if (active && HIWORD(wParam)) break;  // activated while minimised: nothing to focus
      OnActivate(active);
      return 0;
    }
    case WM_SETFOCUS:
      FocusFirst();
      return 0;
    case WM_COMMAND:
      if (lParam == 0) {
        if (HIWORD(wParam) == 0 && menuPeer_) menuPeer_->Command(LOWORD(wParam));
      } else if (ChildPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam))) {
        peer->Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam));
      }
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (ChildPeer* peer = PeerOf(item.hwndItem)) peer->DrawItem(item);
      return TRUE;
    }
    case WM_PAINT:
      PaintBuffered();
      return 0;
    case WM_ERASEBKGND:
      // Our own WM_PAINT fills every pixel, through a buffer. Otherwise a
      // transparent child (the flat tool bar) asks for what lies behind
      // it, in our coordinates.
      if (!painting_) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT area;
        if (GetClipBox(dc, &area) != ERROR) Paint(dc, area);
      }
      return 1;
    case WM_PRINTCLIENT: {
      // Themed controls draw their parent's background behind them, with
      // the DC clipped to themselves: only that much is painted.
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT area;
      if (GetClipBox(dc, &area) == ERROR || IsRectEmpty(&area)) GetClientRect(hwnd_, &area);
      Paint(dc, area);
      return 0;
    }
    case WM_SETCURSOR:
      if (CurrentCursor() == Cursor::HourGlass) {
        ::SetCursor(CursorHandle());
        return TRUE;
      }
      // Over the form itself: a window-less control may want its own.
      if (reinterpret_cast<HWND>(wParam) == hwnd_ && LOWORD(lParam) == HTCLIENT) {
        if (std::optional<Point> p = PointerPosition();
            p && form_.CursorAt(*p) == Cursor::HandPoint) {
          ::SetCursor(LoadCursor(nullptr, IDC_HAND));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN: {
      // Window-less controls are drawn on the form: their clicks come here.
      const Point p = ClientPoint(lParam);
      pressed_ = form_.ControlAt(p);
      pressedValid_ = true;
      return 0;
    }
    case WM_LBUTTONUP: {
      const Point p = ClientPoint(lParam);
      const bool same = pressedValid_ && form_.ControlAt(p) == pressed_;
      pressedValid_ = false;
      if (same) Call([this, p] { form_.UserClickAt(p); });
      return 0;
    }
    case WM_SIZE:
      // A form other than the main one minimises alone; the form knows.
      if (wParam == SIZE_MINIMIZED) {
        form_.UserMinimized();
      } else if (wParam == SIZE_RESTORED) {
        form_.UserRestored();
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOMOVE) ||
          !(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOSIZE)) {
        UserPlaced();
      }
      break;
    case WM_DPICHANGED:
      // Moved to a screen of another scale (or the scale changed): the
      // system suggests where the window goes and how large it is.
      ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_MENUSELECT:
      if (menuPeer_) {
        menuPeer_->Select(reinterpret_cast<HMENU>(lParam), LOWORD(wParam), HIWORD(wParam));
      }
      return 0;
    case WM_EXITMENULOOP:
      Call([] { MenuItem::UserMenuClosed(); });
      return 0;
    case WM_SYSCOMMAND:
      // The main form minimises the whole program, to its one taskbar
      // button; the portable form decides.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Call([this] { form_.Minimize(); });
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

LRESULT FormPeerWin::OnNotify(NMHDR& header) {
  if (header.hwndFrom == toolTip_ && toolTip_ &&
      (header.code == TTN_GETDISPINFOA || header.code == TTN_GETDISPINFOW)) {
    // Asked for each time the tip shows: a hint changed meanwhile shows.
    static ToolTipText tip;
    const ChildPeer* peer = AreaToolPeer(header.idFrom);
    if (!peer) peer = PeerOf(reinterpret_cast<HWND>(header.idFrom));
    AnswerToolTip(header, peer ? peer->GetControl().ShortHint() : std::string(), tip);
    return 0;
  }
  LRESULT result = 0;
  if (ChildPeer* peer = PeerOf(header.hwndFrom)) {
    peer->Notify(header, result);
    return result;
  }
  // Tool-tips a control made for itself report from windows we did not
  // create; the peer that knows the id answers.
  if (header.code == TTN_GETDISPINFOA || header.code == TTN_GETDISPINFOW) {
    for (ChildPeer* peer : peers_) {
      if (peer->Notify(header, result)) return result;
    }
  }
  return 0;
}

}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<FormPeer> CreateFormPeer(Form& form) {
  return std::make_unique<win32::FormPeerWin>(form);
}

}  // namespace tessavo::tk
