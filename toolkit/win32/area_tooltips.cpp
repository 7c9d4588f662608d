// Tool-tips for controls the form paints (a panel showing the settings, a
// label): they have no window for a tool of their own, so the form's
// tool-tip gets a tool over their area of the form window. The tool's id
// is the peer; its text is asked for whenever the tip is about to show,
// so it always shows the control's hint as it is then.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/form_peer.h"

namespace tessavo::tk::win32 {
namespace {

TOOLINFOA AreaTool(HWND form, ChildPeer* peer, const RECT& area) {
  TOOLINFOA tool{sizeof(TOOLINFOA)};
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(peer);
  tool.rect = area;
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  return tool;
}

}  // namespace

void FormPeerWin::AddAreaToolTip(ChildPeer* peer, const RECT& area) {
  if (dying_ || !EnsureToolTip() || AreaToolPeer(reinterpret_cast<UINT_PTR>(peer))) return;
  TOOLINFOA tool = AreaTool(hwnd_, peer, area);
  if (SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
    areaTools_.push_back(peer);
}

void FormPeerWin::MoveAreaToolTip(ChildPeer* peer, const RECT& area) {
  if (dying_ || !toolTip_ || !AreaToolPeer(reinterpret_cast<UINT_PTR>(peer))) return;
  TOOLINFOA tool = AreaTool(hwnd_, peer, area);
  SendMessageA(toolTip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormPeerWin::RemoveAreaToolTip(ChildPeer* peer) {
  const auto it = std::find(areaTools_.begin(), areaTools_.end(), peer);
  if (it == areaTools_.end()) return;
  areaTools_.erase(it);
  if (dying_ || !toolTip_) return;
  TOOLINFOA tool = AreaTool(hwnd_, peer, RECT{});
  SendMessageA(toolTip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

ChildPeer* FormPeerWin::AreaToolPeer(UINT_PTR id) const {
  const auto it = std::find(areaTools_.begin(), areaTools_.end(), reinterpret_cast<ChildPeer*>(id));
  return it == areaTools_.end() ? nullptr : *it;
}

}  // namespace tessavo::tk::win32
