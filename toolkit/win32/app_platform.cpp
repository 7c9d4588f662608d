// The Win32 application platform: the application window (taskbar button,
// minimise and restore, closing from the taskbar, the end of the session)
// and the message loop. The smaller services live in files of their own.
#include <windows.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <stdexcept>

#include "toolkit/form.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_platform.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

constexpr const char* kApplicationClass = "TessavoApplication";

struct State {
  HWND application = nullptr;
  bool quitLoop = false;
  bool quitReceived = false;
  bool minimized = false;
  bool minimizing = false;  // by the program: the portable side reports it
  HWND lastActive = nullptr;
  Cursor cursor = Cursor::Default;
};

State& S() {
  static State state;
  return state;
}

void ActivateLastForm() {
  State& s = S();
  if (s.minimized) return;
  HWND target = s.lastActive;
  if (!target || !IsWindow(target) || !IsWindowVisible(target)) {
    target = nullptr;
    for (FormPeerWin* form : FormPeerWin::All()) {
      if (IsWindowVisible(form->Handle())) {
        target = form->Handle();
        break;
      }
    }
  }
  if (!target) return;
  // A message box or a modal form above it takes the activation instead.
  HWND popup = GetLastActivePopup(target);
  if (popup && IsWindowVisible(popup) && IsWindowEnabled(popup)) target = popup;
  if (IsWindowEnabled(target)) SetActiveWindow(target);
}

void Restored() {
  State& s = S();
  if (!s.minimized) return;
  s.minimized = false;
  for (FormPeerWin* form : FormPeerWin::All()) {
    if (form->GetForm().Visible() && !IsWindowVisible(form->Handle()))
      ShowWindow(form->Handle(), SW_SHOWNA);
  }
  PostMessageA(s.application, kActivateLastForm, 0, 0);
  Call([] { App().UserRestored(); });
}

LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && !S().minimized) {
        S().minimized = true;
        if (!S().minimizing) Call([] { App().UserMinimized(); });
      } else if (wParam == SIZE_RESTORED) {
        Restored();
      }
      return 0;
    case WM_SYSCOMMAND:
      // The taskbar's own minimise: every form goes, not only this window.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        Call([] { App().Minimize(); });
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Activated from the taskbar or Alt+Tab: the form the user worked in
      // takes over.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
        PostMessageA(hwnd, kActivateLastForm, 0, 0);
      return 0;
    case kActivateLastForm:
      ActivateLastForm();
      return 0;
    case WM_CLOSE:
      // The taskbar button's Close: the same road as every other close.
      App().UserCloseRequested();
      return 0;
    case WM_QUERYENDSESSION:
      // The session ends: a run is cancelled and the main window closes,
      // its settings written, once the handlers on the stack have
      // returned, which happens before the system asks again below.
      App().UserEndSession();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) App().UserEndSession();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CreateProcessWindows() {
  InitControls();
  WNDCLASSEXA app{sizeof(WNDCLASSEXA)};
  app.lpfnWndProc = ApplicationProc;
  app.hInstance = Instance();
  app.hIcon = ProgramIcon(false);
  app.hIconSm = ProgramIcon(true);
  app.hCursor = LoadCursor(nullptr, IDC_ARROW);
  app.lpszClassName = kApplicationClass;
  RegisterClassExA(&app);

  State& s = S();
  // Zero size in the middle of the screen: it exists for its taskbar
  // button and as the owner of every form, never to be seen itself.
  s.application = CreateWindowExA(
      0, kApplicationClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
      WS_MINIMIZEBOX, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
      0, nullptr, nullptr, Instance(), nullptr);
  if (!s.application) throw std::runtime_error("Cannot create the application window");
}

class Win32Platform final : public AppPlatform {
 public:
  Win32Platform() { CreateProcessWindows(); }

  void SetTitle(const std::string& title) override {
    SetWindowTextA(S().application, title.c_str());
  }

  void ProcessMessages() override {
    while (PumpOne(false)) {
    }
  }

  void WaitAndProcess(std::chrono::milliseconds timeout) override {
    const auto ms = std::clamp<long long>(timeout.count(), 0, INFINITE - 1);
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(ms), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    ProcessMessages();
  }

  void RunLoop() override {
    State& s = S();
    s.quitLoop = false;
    while (!s.quitLoop && !s.quitReceived) {
      if (!PumpOne(true) && !s.quitReceived) break;  // GetMessage failed
    }
    s.quitLoop = false;
  }

  void QuitLoop() override {
    S().quitLoop = true;
    PostMessageA(S().application, WM_NULL, 0, 0);  // wakes a waiting GetMessage
  }

  void Minimize() override { MinimizeAll(); }

  Clock::time_point Now() override { return Clock::now(); }

  Size ScreenSize() override {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }

  Size OuterSize(const Form& form) override {
    // At its window's scale, or at the system's, where it will open.
    const auto* peer = dynamic_cast<const FormPeerWin*>(form.GetFormPeer());
    const RECT r = FormOuterRect(form, peer ? peer->Dpi() : SystemDpi());
    return {r.right - r.left, r.bottom - r.top};
  }

  void SetCursor(Cursor cursor) override {
    S().cursor = cursor;
    ::SetCursor(CursorHandle());
  }

  char TimeSeparator() override { return LocaleChar(LOCALE_STIME, ':'); }
  char DecimalSeparator() override { return LocaleChar(LOCALE_SDECIMAL, '.'); }

 private:
  static char LocaleChar(LCTYPE what, char fallback) {
    char buffer[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buffer, sizeof buffer) > 1) return buffer[0];
    return fallback;
  }
};

}  // namespace

HWND ApplicationWindow() { return S().application; }

void ShowApplicationWindow() {
  if (!IsWindowVisible(S().application)) ShowWindow(S().application, SW_SHOWNOACTIVATE);
}

void MinimizeAll() {
  State& s = S();
  if (s.minimized) return;
  if (FormPeerWin* active = FormPeerWin::FromWindow(GetActiveWindow()))
    s.lastActive = active->Handle();
  ShowApplicationWindow();
  // Hidden by us rather than by the system's owner rule, so that a form
  // shown or hidden meanwhile is put back as its control says.
  for (FormPeerWin* form : FormPeerWin::All()) {
    if (IsWindowVisible(form->Handle())) ShowWindow(form->Handle(), SW_HIDE);
  }
  s.minimizing = true;
  ShowWindow(s.application, SW_MINIMIZE);
  s.minimizing = false;
}

bool ProgramMinimized() { return S().minimized; }

void NoteActiveForm(HWND form) { S().lastActive = form; }

void ForgetForm(HWND form) {
  if (S().lastActive == form) S().lastActive = nullptr;
}

bool PumpOne(bool wait) {
  State& s = S();
  MSG msg;
  if (wait) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return false;
    if (got == 0) {
      s.quitReceived = true;
      return false;
    }
  } else {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
      s.quitReceived = true;
      return false;
    }
  }
  TrackHint(msg);
  if (FormPeerWin* form = FormPeerWin::FromWindow(msg.hwnd); form && form->PreTranslate(msg))
    return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

bool QuitReceived() { return S().quitReceived; }

Cursor CurrentCursor() { return S().cursor; }

HCURSOR CursorHandle() {
  return LoadCursor(nullptr, S().cursor == Cursor::HourGlass ? IDC_WAIT : IDC_ARROW);
}

}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<AppPlatform> CreateAppPlatform() {
  return std::make_unique<win32::Win32Platform>();
}

}  // namespace tessavo::tk
