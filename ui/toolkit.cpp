// The toolkit on Windows: our main window, its controls, message boxes and
// the message loop.
#include "ui/toolkit.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace pallix {
namespace {

constexpr COLORREF kGrey = RGB(192, 192, 192);
// Posted to the main window when it has been shown, to check whether it was
// already the active window (then no WM_ACTIVATE comes).
constexpr UINT kShownMessage = WM_APP + 1;

struct ControlLook {
  ControlKind kind = ControlKind::kLabel;
  COLORREF back = kGrey;
  COLORREF fore = RGB(0, 0, 0);
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  int picture = 0;
  HANDLE image = nullptr;
  UINT image_type = IMAGE_BITMAP;
  // A table's column weights, and the width its columns last filled.
  std::vector<int> weights;
  int filled = 0;
};

// One per main window: what its window procedure and its controls need.
// Attached to the window at WM_NCCREATE and freed with it.
struct MainWindow {
  HWND hwnd = nullptr;
  EventSink* sink = nullptr;
  HBRUSH background = nullptr;
  std::map<HWND, ControlLook> controls;
  HCURSOR custom_pointer = nullptr;
  bool use_custom_pointer = false;
  HWND tooltip = nullptr;
  // The window's size as created: it never becomes smaller.
  POINT least{};
  // The program's main window, or another of ours, and the button Enter
  // presses in it when no button has the focus (0: none).
  bool main = true;
  int default_id = 0;

  ~MainWindow() {
    for (auto& [hwnd, look] : controls) {
      if (look.brush) ::DeleteObject(look.brush);
      if (look.font) ::DeleteObject(look.font);
    }
    if (background) ::DeleteObject(background);
  }
};

// The main window that owns message boxes and whose dialog keys are handled
// by the loop: the program has one.
HWND g_owner = nullptr;
bool g_loop_running = false;
// Our other windows, whose dialog keys the loop handles too.
std::vector<HWND> g_secondary;

MainWindow* StateOf(HWND main) {
  return main ? reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(main, GWLP_USERDATA)) : nullptr;
}

ControlLook* LookOf(HWND control) {
  MainWindow* window = StateOf(::GetParent(control));
  if (!window) return nullptr;
  auto it = window->controls.find(control);
  return it == window->controls.end() ? nullptr : &it->second;
}

// The shell broadcasts this when it starts again.
UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
  return message;
}

}  // namespace

UINT OpenRequestMessage() {
  static const UINT message = ::RegisterWindowMessageA("Pallix.Open");
  return message;
}

namespace {

// A resource of ours by id, whichever kind it is: bitmap, cursor or icon.
HANDLE LoadPicture(int id, UINT* type) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  LPCSTR name = MAKEINTRESOURCEA(id);
  if (::FindResourceA(instance, name, RT_BITMAP)) {
    *type = IMAGE_BITMAP;
  } else if (::FindResourceA(instance, name, RT_GROUP_CURSOR)) {
    *type = IMAGE_CURSOR;
  } else if (::FindResourceA(instance, name, RT_GROUP_ICON)) {
    *type = IMAGE_ICON;
  } else {
    return nullptr;
  }
  return ::LoadImageA(instance, name, *type, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
}

HBRUSH BrushOf(ControlLook& look) {
  if (!look.brush) look.brush = ::CreateSolidBrush(look.back);
  return look.brush;
}

LRESULT PaintControlColours(HDC dc, HWND control) {
  ControlLook* look = LookOf(control);
  if (!look) return 0;
  ::SetTextColor(dc, look->fore);
  ::SetBkColor(dc, look->back);
  return reinterpret_cast<LRESULT>(BrushOf(*look));
}

// Picture boxes show their picture on their background colour; the shape
// is a one-pixel rectangle in its colour.
void DrawStatic(const DRAWITEMSTRUCT& item, ControlLook& look, HBRUSH window_background) {
  RECT r = item.rcItem;
  if (look.kind == ControlKind::kShape) {
    // Transparent inside: the window's own background shows through.
    ::FillRect(item.hDC, &r, window_background);
    HBRUSH pen = ::CreateSolidBrush(look.fore);
    ::FrameRect(item.hDC, &r, pen);
    ::DeleteObject(pen);
    return;
  }
  ::FillRect(item.hDC, &r, BrushOf(look));
  if (!look.image) return;
  if (look.image_type == IMAGE_BITMAP) {
    HDC memory = ::CreateCompatibleDC(item.hDC);
    HGDIOBJ old = ::SelectObject(memory, look.image);
    BITMAP bm{};
    ::GetObjectA(look.image, sizeof bm, &bm);
    ::BitBlt(item.hDC, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  } else {
    ::DrawIconEx(item.hDC, 0, 0, static_cast<HICON>(look.image), 0, 0, 0, nullptr, DI_NORMAL);
  }
}

// A button that shows its own background colour: Windows' push buttons
// ignore colours, so it is drawn here.
void DrawItem(const DRAWITEMSTRUCT& item, HBRUSH window_background) {
  ControlLook* look = LookOf(item.hwndItem);
  if (!look) return;
  if (item.CtlType == ODT_STATIC) {
    DrawStatic(item, *look, window_background);
    return;
  }
  RECT r = item.rcItem;
  ::FillRect(item.hDC, &r, BrushOf(*look));
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  ::DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  char text[256];
  int n = ::GetWindowTextA(item.hwndItem, text, sizeof text);
  ::SetBkMode(item.hDC, TRANSPARENT);
  bool enabled = (item.itemState & ODS_DISABLED) == 0;
  ::SetTextColor(item.hDC, enabled ? look->fore : ::GetSysColor(COLOR_GRAYTEXT));
  if (pressed) ::OffsetRect(&r, 1, 1);
  ::DrawTextA(item.hDC, text, n, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = item.rcItem;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(item.hDC, &focus);
  }
}

bool ClassNameIsButton(HWND window) {
  char name[16];
  int n = ::GetClassNameA(window, name, sizeof name);
  return n > 0 && ::lstrcmpiA(name, "Button") == 0;
}

// A table's notifications: keys, selection and tips, and the double-click
// on a divider of its header, which the list view passes on.
LRESULT TableNotify(EventSink& sink, NMHDR& header) {
  int id = static_cast<int>(header.idFrom);
  switch (header.code) {
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      sink.OnTableDividerDblClick(::GetDlgCtrlID(::GetParent(header.hwndFrom)),
                                  reinterpret_cast<NMHEADERA&>(header).iItem);
      break;
    case NM_DBLCLK:
      sink.OnTableDblClick(id, reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
      break;
    case LVN_KEYDOWN:
      sink.OnTableKey(id, reinterpret_cast<NMLVKEYDOWN&>(header).wVKey);
      break;
    case LVN_ITEMCHANGED:
      if (reinterpret_cast<NMLISTVIEW&>(header).uChanged & LVIF_STATE) sink.OnTableSelection(id);
      break;
    case LVN_GETINFOTIPA: {
      auto& tip = reinterpret_cast<NMLVGETINFOTIPA&>(header);
      std::string text = sink.OnTableTip(id, tip.iItem);
      if (!text.empty() && tip.pszText && tip.cchTextMax > 0) {
        ::lstrcpynA(tip.pszText, text.c_str(), tip.cchTextMax);
      }
      break;
    }
    case LVN_GETINFOTIPW: {
      auto& tip = reinterpret_cast<NMLVGETINFOTIPW&>(header);
      std::string text = sink.OnTableTip(id, tip.iItem);
      if (!text.empty() && tip.pszText && tip.cchTextMax > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tip.pszText, tip.cchTextMax);
        tip.pszText[tip.cchTextMax - 1] = L'\0';
      }
      break;
    }
    default:
      break;
  }
  return 0;
}

// Decodes the message and hands it on; no behaviour of its own.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->hwnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  MainWindow* window = StateOf(hwnd);
  if (!window) return ::DefWindowProcA(hwnd, msg, wparam, lparam);

  switch (msg) {
    case WM_COMMAND:
      // Buttons report BN_CLICKED (0), menus 0 too; other notifications are
      // not events of the program.
      if (HIWORD(wparam) == 0) window->sink->OnCommand(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      window->sink->OnTimer(static_cast<UINT_PTR>(wparam));
      return 0;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED) window->sink->OnResize(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = window->least;
      return 0;
    case WM_NOTIFY:
      return TableNotify(*window->sink, *reinterpret_cast<NMHDR*>(lparam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (LRESULT brush =
              PaintControlColours(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)))
        return brush;
      break;
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(hwnd, &r);
      ::FillRect(reinterpret_cast<HDC>(wparam), &r, window->background);
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam), window->background);
      return TRUE;
    case WM_LBUTTONUP:
      window->sink->OnBackgroundClick();
      return 0;
    case WM_LBUTTONDBLCLK:
      window->sink->OnBackgroundDblClick();
      return 0;
    case WM_SHOWWINDOW:
      window->sink->OnShowWindow(wparam != FALSE);
      if (wparam) ::PostMessageA(hwnd, kShownMessage, 0, 0);
      break;
    case kShownMessage:
      if (::IsWindowVisible(hwnd) && ::GetActiveWindow() == hwnd) {
        window->sink->OnShownWhileActive();
      }
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) window->sink->OnActivate();
      break;
    case WM_SETCURSOR:
      if (window->use_custom_pointer && window->custom_pointer) {
        ::SetCursor(window->custom_pointer);
        return TRUE;
      }
      break;
    case WM_CLOSE:
      // The window menu's Close, Alt+F4 and the Task Manager's request all
      // arrive here.
      if (!window->sink->OnQueryClose(kCloseFromMenu)) ::DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return window->sink->OnQueryClose(kCloseFromSession) ? FALSE : TRUE;
    case DM_GETDEFID: {
      // Enter presses the button that has the focus, as in a dialog, or
      // else the window's own default.
      HWND focus = ::GetFocus();
      LONG type = ::GetWindowLongA(focus, GWL_STYLE) & BS_TYPEMASK;
      if (focus && ::GetParent(focus) == hwnd && ClassNameIsButton(focus) &&
          (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW)) {
        return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
      }
      return window->default_id ? MAKELRESULT(window->default_id, DC_HASDEFID) : 0;
    }
    case WM_DESTROY:
      window->sink->OnDestroy();
      if (!window->main) {
        std::erase(g_secondary, hwnd);
        return 0;
      }
      if (g_owner == hwnd) g_owner = nullptr;
      if (g_loop_running) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      delete window;
      return 0;
    default:
      if (msg == TaskbarCreatedMessage()) {
        window->sink->OnTaskbarCreated();
        return 0;
      }
      if (msg == OpenRequestMessage()) {
        window->sink->OnOpenRequest();
        return 0;
      }
      break;
  }
  return ::DefWindowProcA(hwnd, msg, wparam, lparam);
}

// Mouse messages of a picture box, and the loss of the mouse capture, go to
// the main window's sink; the box keeps its own behaviour otherwise.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, UINT_PTR,
                             DWORD_PTR) {
  if ((msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) || msg == WM_CAPTURECHANGED) {
    if (MainWindow* window = StateOf(::GetParent(hwnd))) {
      window->sink->OnPictureMouse(::GetDlgCtrlID(hwnd), msg,
                                   POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    }
  }
  return ::DefSubclassProc(hwnd, msg, wparam, lparam);
}

HFONT UiFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
      return ::CreateFontIndirectA(&metrics.lfMessageFont);
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

LONG UiFontHeight() {
  LOGFONTA shape{};
  ::GetObjectA(UiFont(), sizeof shape, &shape);
  return shape.lfHeight;
}

// A class of our top-level windows, with the program's icon; registered
// again, it fails harmlessly.
HINSTANCE RegisterWindowClass(const char* name) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  ::RegisterClassExA(&wc);
  return instance;
}

}  // namespace

HWND CreateMainWindow(const char* caption, const RECT& client, EventSink& sink) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);

  HINSTANCE instance = RegisterWindowClass(kMainWindowClass);

  auto* window = new MainWindow;
  window->sink = &sink;
  window->background = ::CreateSolidBrush(kGrey);

  // A sizing border and a maximise box, no minimise box; the bounds are the
  // client area's, so the frame is added around them.
  DWORD style =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
  RECT outer = client;
  ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  window->least = POINT{outer.right - outer.left, outer.bottom - outer.top};
  HWND hwnd = ::CreateWindowExA(0, kMainWindowClass, caption, style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, instance, window);
  if (!hwnd) {
    delete window;
    return nullptr;
  }
  g_owner = hwnd;
  return hwnd;
}

HWND CreateSecondaryWindow(const char* caption, const RECT& client, EventSink& sink,
                           int default_id) {
  constexpr const char* kClass = "PallixWindow";
  HINSTANCE instance = RegisterWindowClass(kClass);

  auto* window = new MainWindow;
  window->sink = &sink;
  window->background = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  window->main = false;
  window->default_id = default_id;
  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT outer = client;
  ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  window->least = POINT{outer.right - outer.left, outer.bottom - outer.top};
  HWND hwnd =
      ::CreateWindowExA(0, kClass, caption, style, outer.left, outer.top, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, instance, window);
  if (!hwnd) {
    delete window;
    return nullptr;
  }
  g_secondary.push_back(hwnd);
  return hwnd;
}

HWND CreateControl(HWND parent, ControlKind kind, int control_id, const char* text,
                   const RECT& bounds) {
  const char* cls = "STATIC";
  // Siblings clip each other, so the shape below the option row never paints
  // over the buttons inside it.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  switch (kind) {
    case ControlKind::kLabel:
      style |= SS_LEFT | SS_NOTIFY;
      break;
    case ControlKind::kCentredLabel:
      style |= SS_CENTER | SS_NOTIFY;
      break;
    case ControlKind::kPictureBox:
      style |= SS_OWNERDRAW | SS_NOTIFY;
      break;
    // Without SS_NOTIFY a static lets clicks through to the window below.
    case ControlKind::kShape:
      style |= SS_OWNERDRAW;
      break;
    case ControlKind::kTextBox:
      cls = "EDIT";
      style |= WS_TABSTOP | ES_AUTOHSCROLL;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlKind::kColouredButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_OWNERDRAW;
      break;
    case ControlKind::kOptionButton:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
      break;
    case ControlKind::kCheckBox:
      cls = "BUTTON";
      style |= WS_TABSTOP | BS_AUTOCHECKBOX;
      break;
    case ControlKind::kComboBox:
      cls = "COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      break;
    case ControlKind::kListBox:
      cls = "LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY;
      ex_style = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::kTable:
      cls = WC_LISTVIEWA;
      style |= WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
      ex_style = WS_EX_CLIENTEDGE;
      break;
  }
  int height = bounds.bottom - bounds.top;
  // A drop-down's height includes its list.
  if (kind == ControlKind::kComboBox) height *= 8;
  HWND hwnd = ::CreateWindowExA(ex_style, cls, text, style, bounds.left, bounds.top,
                                bounds.right - bounds.left, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return nullptr;
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  // A combo box drops the text it is created with; its edit field starts
  // empty unless told.
  if (kind == ControlKind::kComboBox) ::SetWindowTextA(hwnd, text);
  if (kind == ControlKind::kPictureBox) ::SetWindowSubclass(hwnd, PictureProc, 1, 0);
  // Whole rows selected; a cut text shown whole under the pointer; painted
  // off screen, so that a changed cell does not flicker.
  if (kind == ControlKind::kTable) {
    DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;
    ::SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  }
  if (MainWindow* window = StateOf(parent)) {
    ControlLook look;
    look.kind = kind;
    if (kind == ControlKind::kTextBox || kind == ControlKind::kListBox ||
        kind == ControlKind::kComboBox || kind == ControlKind::kTable)
      look.back = ::GetSysColor(COLOR_WINDOW);
    window->controls[hwnd] = look;
  }
  return hwnd;
}

void SetCaption(HWND control, std::string_view text) {
  ::SetWindowTextA(control, std::string(text).c_str());
}

void SetCaptionFitting(HWND label, std::string_view text) {
  ControlLook* look = LookOf(label);
  if (!look) return;
  RECT room{};
  ::GetClientRect(label, &room);
  LOGFONTA shape{};
  ::GetObjectA(UiFont(), sizeof shape, &shape);
  HDC dc = ::GetDC(label);
  HFONT font = nullptr;
  for (LONG size = shape.lfHeight; size != 0; size += size < 0 ? 1 : -1) {
    shape.lfHeight = size;
    font = size == UiFontHeight() ? UiFont() : ::CreateFontIndirectA(&shape);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &extent);
    ::SelectObject(dc, old);
    if (extent.cx <= room.right) break;
    if (font != UiFont()) ::DeleteObject(font);
    font = nullptr;
  }
  ::ReleaseDC(label, dc);
  ::SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font : UiFont()), FALSE);
  if (look->font) ::DeleteObject(look->font);
  look->font = font == UiFont() ? nullptr : font;
  SetCaption(label, text);
}

std::string GetCaption(HWND control) {
  int length = ::GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetVisible(HWND control, bool visible) {
  ::ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}
bool IsVisible(HWND control) {
  return (::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetBackColor(HWND control, COLORREF color) {
  if (ControlLook* look = LookOf(control)) {
    look->back = color;
    if (look->brush) ::DeleteObject(look->brush);
    look->brush = nullptr;
    ::InvalidateRect(control, nullptr, TRUE);
  }
}
COLORREF GetBackColor(HWND control) {
  ControlLook* look = LookOf(control);
  return look ? look->back : 0;
}
void SetForeColor(HWND control, COLORREF color) {
  if (ControlLook* look = LookOf(control)) {
    look->fore = color;
    ::InvalidateRect(control, nullptr, TRUE);
  }
}
COLORREF GetForeColor(HWND control) {
  ControlLook* look = LookOf(control);
  return look ? look->fore : 0;
}

namespace {
bool IsCombo(HWND control) {
  ControlLook* look = LookOf(control);
  return look && look->kind == ControlKind::kComboBox;
}
}  // namespace

void ListClear(HWND control) {
  ::SendMessageA(control, IsCombo(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}
void ListAddItem(HWND control, std::string_view item) {
  std::string copy(item);
  ::SendMessageA(control, IsCombo(control) ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(copy.c_str()));
}
int ListCount(HWND control) {
  LRESULT n = ::SendMessageA(control, IsCombo(control) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}
std::string ListItem(HWND control, int index) {
  bool combo = IsCombo(control);
  LRESULT length = ::SendMessageA(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT copied = ::SendMessageA(control, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                                  reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}
void ListSelect(HWND control, int index) {
  ::SendMessageA(control, IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
}

std::vector<int> ShareWidth(std::vector<int> widths, const std::vector<int>& weights, int change,
                            int least) {
  const std::size_t n = std::min(widths.size(), weights.size());
  std::vector<bool> giving(n, true);
  std::vector<int> shares(n, 0);
  while (change != 0) {
    long long total = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (giving[i]) total += weights[i];
    if (total <= 0) break;
    // Each column's share is the step between running totals, so the
    // shares add up to the change exactly.
    long long before = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (!giving[i]) continue;
      long long after = before + weights[i];
      shares[i] = static_cast<int>(change * after / total - change * before / total);
      before = after;
    }
    // A column that cannot give its share gives what it can, and the rest
    // is shared again among the others.
    bool short_of_share = false;
    for (std::size_t i = 0; i < n; ++i) {
      int floor = std::min(widths[i], least);
      if (!giving[i] || widths[i] + shares[i] >= floor) continue;
      change -= floor - widths[i];
      widths[i] = floor;
      giving[i] = false;
      short_of_share = true;
    }
    if (short_of_share) continue;
    for (std::size_t i = 0; i < n; ++i)
      if (giving[i]) widths[i] += shares[i];
    break;
  }
  return widths;
}

void TableColumns(HWND table, const std::vector<std::pair<std::string, int>>& columns) {
  ControlLook* look = LookOf(table);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::string caption = columns[i].first;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = caption.data();
    ::SendMessageA(table, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    if (look) look->weights.push_back(columns[i].second);
  }
  if (look) look->filled = 0;
  TableFitColumns(table);
}

void TableFitColumns(HWND table) {
  ControlLook* look = LookOf(table);
  if (!look || look->weights.empty()) return;
  // Narrower than this a column shows not even its ellipsis.
  const int least = static_cast<int>(std::lround(240 / TwipsPerPixelX()));
  // New widths may bring or take away a scroll bar, and with it some of the
  // width: a second pass shares that out too.
  for (int pass = 0; pass < 3; ++pass) {
    RECT room{};
    ::GetClientRect(table, &room);
    int change = room.right - look->filled;
    if (change == 0) return;
    std::vector<int> widths;
    for (std::size_t i = 0; i < look->weights.size(); ++i)
      widths.push_back(static_cast<int>(::SendMessageA(table, LVM_GETCOLUMNWIDTH, i, 0)));
    widths = ShareWidth(widths, look->weights, change, least);
    for (std::size_t i = 0; i < widths.size(); ++i)
      ::SendMessageA(table, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(widths[i], 0));
    look->filled = room.right;
  }
}

void TableFitColumn(HWND table, int column) {
  // The list view fits a column to its cells alone: a caption wider than
  // every cell would be cut short, and an empty column all but vanish.
  ::SendMessageA(table, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(LVSCW_AUTOSIZE, 0));
  char caption[256] = "";
  LVCOLUMNA header{};
  header.mask = LVCF_TEXT;
  header.pszText = caption;
  header.cchTextMax = sizeof caption;
  ::SendMessageA(table, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  // The header keeps three edges' width clear on either side of a caption.
  int wanted = static_cast<int>(::SendMessageA(table, LVM_GETSTRINGWIDTHA, 0,
                                               reinterpret_cast<LPARAM>(caption))) +
               6 * ::GetSystemMetrics(SM_CXEDGE);
  if (wanted > ::SendMessageA(table, LVM_GETCOLUMNWIDTH, column, 0))
    ::SendMessageA(table, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(wanted, 0));
}

void TableSetRows(HWND table, const std::vector<std::vector<std::string>>& rows) {
  // One repaint for the lot.
  ::SendMessageA(table, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(table, LVM_DELETEALLITEMS, 0, 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      std::string text = rows[r][c];
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(r);
      item.iSubItem = static_cast<int>(c);
      item.pszText = text.data();
      ::SendMessageA(table, c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, r,
                     reinterpret_cast<LPARAM>(&item));
    }
  }
  ::SendMessageA(table, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(table, nullptr, TRUE);
  // The rows may have brought or taken away the vertical scroll bar.
  TableFitColumns(table);
}

std::string TableCell(HWND table, int row, int column) {
  char text[1024] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  LRESULT n = ::SendMessageA(table, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void TableSetCell(HWND table, int row, int column, std::string_view text) {
  if (TableCell(table, row, column) == text) return;
  std::string copy(text);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = copy.data();
  ::SendMessageA(table, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void TableInsertRow(HWND table, int row, const std::vector<std::string>& cells, std::uint64_t key) {
  for (std::size_t c = 0; c < cells.size(); ++c) {
    std::string text = cells[c];
    LVITEMA item{};
    item.mask = LVIF_TEXT | (c == 0 ? LVIF_PARAM : 0);
    item.iItem = row;
    item.iSubItem = static_cast<int>(c);
    item.pszText = text.data();
    item.lParam = static_cast<LPARAM>(key);
    if (c == 0) {
      row = static_cast<int>(
          ::SendMessageA(table, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      if (row < 0) return;
    } else {
      ::SendMessageA(table, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
  }
}

void TableDeleteRow(HWND table, int row) {
  ::SendMessageA(table, LVM_DELETEITEM, row, 0);
}

std::uint64_t TableRowKey(HWND table, int row) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageA(table, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<std::uint64_t>(item.lParam);
}

int TableRowCount(HWND table) {
  return static_cast<int>(::SendMessageA(table, LVM_GETITEMCOUNT, 0, 0));
}

int TableSelected(HWND table) {
  return static_cast<int>(::SendMessageA(table, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

void TableSelect(HWND table, int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageA(table, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  ::SendMessageA(table, LVM_ENSUREVISIBLE, row, FALSE);
}

void SetOptionValue(HWND option, bool value) {
  // Option buttons of one window form one group: choosing one clears the
  // others, as a click does.
  if (MainWindow* window = value ? StateOf(::GetParent(option)) : nullptr) {
    for (const auto& [control, look] : window->controls) {
      if (look.kind == ControlKind::kOptionButton && control != option) {
        ::SendMessageA(control, BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
  }
  ::SendMessageA(option, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool GetOptionValue(HWND option) {
  return ::SendMessageA(option, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheckValue(HWND check, bool value) {
  ::SendMessageA(check, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool GetCheckValue(HWND check) {
  return ::SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MsgBox(std::string_view prompt, UINT style, std::string_view title) {
  std::string text(prompt), caption(title);
  // A box owned by the still hidden main window would, when it closes, hand
  // the activation to that window: its activation handler would then run,
  // and ask its own question, before the window is ever shown.
  HWND owner = g_owner && ::IsWindowVisible(g_owner) ? g_owner : nullptr;
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

namespace {
// Keyboard navigation between the controls, as a dialog has it.
void Dispatch(MSG& msg) {
  if (g_owner && ::IsDialogMessageA(g_owner, &msg)) return;
  // A copy: a key handled here may close the window, which leaves the list.
  const std::vector<HWND> secondary = g_secondary;
  for (HWND window : secondary) {
    if (::IsDialogMessageA(window, &msg)) return;
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageA(&msg);
}
}  // namespace

void DoEvents() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    Dispatch(msg);
  }
}

namespace {
std::function<bool()>& IdleWork() {
  static std::function<bool()> work;
  return work;
}
}  // namespace

void SetIdleWork(std::function<bool()> work) {
  IdleWork() = std::move(work);
}

bool DoIdleWork() {
  if (!IdleWork()) return false;
  // A copy: the work may register another, or none.
  std::function<bool()> work = IdleWork();
  return work();
}

void WakeIdleWork() {
  ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

int RunMessageLoop() {
  g_loop_running = true;
  MSG msg{};
  bool busy = DoIdleWork();
  bool fine_clock = false;
  for (;;) {
    // Windows waits in steps of its clock's tick, 15.6 ms unless a program
    // asks for finer: asked for only while the work wants its milliseconds.
    if (busy != fine_clock) {
      busy ? ::timeBeginPeriod(1) : ::timeEndPeriod(1);
      fine_clock = busy;
    }
    if (busy) {
      ::MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    } else if (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
      Dispatch(msg);
    } else {
      break;
    }
    bool quit = false;
    while (!quit && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      quit = msg.message == WM_QUIT;
      if (!quit) Dispatch(msg);
    }
    if (quit) break;
    busy = DoIdleWork();
  }
  if (fine_clock) ::timeEndPeriod(1);
  g_loop_running = false;
  return static_cast<int>(msg.wParam);
}

std::string AppPath() {
  char path[MAX_PATH];
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  std::size_t slash = folder.find_last_of('\\');
  if (slash == std::string::npos) return folder;
  folder.resize(slash);
  // A drive root keeps its backslash: "C:\".
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

namespace {
double TwipsPerPixel(int axis) {
  HDC screen = ::GetDC(nullptr);
  int dpi = ::GetDeviceCaps(screen, axis);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440.0 / dpi : 15.0;
}
}  // namespace

double TwipsPerPixelX() {
  return TwipsPerPixel(LOGPIXELSX);
}
double TwipsPerPixelY() {
  return TwipsPerPixel(LOGPIXELSY);
}

std::optional<std::string> LoadResString(unsigned id) {
  if (id > 0xFFFF) return std::nullopt;
  char buffer[4096];
  int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  if (n <= 0) return std::nullopt;
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string SystemErrorText(DWORD error) {
  char text[512] = "";
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, text, sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ')) --n;
  if (n == 0) return "error " + std::to_string(error);
  return std::string(text, n);
}

void SetFont(HWND control, const char* face, int points, bool bold, bool italic) {
  ControlLook* look = LookOf(control);
  if (!look) return;
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  HFONT font = ::CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (look->font) ::DeleteObject(look->font);
  look->font = font;
}

void SetToolTip(HWND control, std::string_view text) {
  MainWindow* window = StateOf(::GetParent(control));
  if (!window) return;
  if (!window->tooltip) {
    window->tooltip = ::CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, window->hwnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  std::string copy(text);
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window->hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = copy.data();
  ::SendMessageA(window->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void SetPicture(HWND control, int resource_id) {
  ControlLook* look = LookOf(control);
  if (!look) return;
  look->picture = resource_id;
  look->image = resource_id ? LoadPicture(resource_id, &look->image_type) : nullptr;
  ::InvalidateRect(control, nullptr, TRUE);
}

int GetPicture(HWND control) {
  ControlLook* look = LookOf(control);
  return look ? look->picture : 0;
}

void SetCustomPointer(HWND window, int cursor_resource_id) {
  MainWindow* state = StateOf(window);
  if (!state) return;
  UINT type = IMAGE_CURSOR;
  state->custom_pointer = static_cast<HCURSOR>(LoadPicture(cursor_resource_id, &type));
}

void UseCustomPointer(HWND window, bool custom) {
  MainWindow* state = StateOf(window);
  if (!state) return;
  state->use_custom_pointer = custom;
  // While the mouse is captured no WM_SETCURSOR comes: set it now.
  ::SetCursor(custom && state->custom_pointer ? state->custom_pointer
                                              : ::LoadCursorA(nullptr, IDC_ARROW));
}

void SetMenuItemCaption(HMENU menu, int item_id, std::string_view caption) {
  std::string copy(caption);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = copy.data();
  ::SetMenuItemInfoA(menu, static_cast<UINT>(item_id), FALSE, &info);
}

std::string GetMenuItemCaption(HMENU menu, int item_id) {
  char text[256];
  int n = ::GetMenuStringA(menu, static_cast<UINT>(item_id), text, sizeof text, MF_BYCOMMAND);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void PopupMenu(HMENU menu, HWND owner) {
  POINT at{};
  ::GetCursorPos(&at);
  // The menu closes on a click elsewhere only when its owner is the
  // foreground window; the empty message afterwards lets it close at once.
  ::SetForegroundWindow(owner);
  UINT chosen = ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y,
                                 0, owner, nullptr);
  ::PostMessageA(owner, WM_NULL, 0, 0);
  if (!chosen) return;
  if (MainWindow* window = StateOf(owner)) window->sink->OnCommand(static_cast<int>(chosen));
}

namespace {

struct TrayWindow {
  EventSink* sink = nullptr;
  UINT callback = 0;
};

LRESULT CALLBACK TrayWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* tray = reinterpret_cast<TrayWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (tray && msg == tray->callback) {
    tray->sink->OnTrayMessage(LOWORD(lparam));
    return 0;
  }
  if (tray && msg == WM_NCDESTROY) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete tray;
  }
  return ::DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

HWND CreateTrayWindow(EventSink& sink, UINT callback_message) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TrayWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "PallixTray";
  ::RegisterClassExA(&wc);
  // A message-only window: never on the screen, so no real mouse movement
  // is ever mistaken for the icon's callback.
  auto* tray = new TrayWindow{&sink, callback_message};
  HWND hwnd =
      ::CreateWindowExA(0, "PallixTray", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, tray);
  if (!hwnd) delete tray;
  return hwnd;
}

}  // namespace pallix
