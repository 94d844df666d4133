// The toolkit on real Windows: our main window, its controls, message
// boxes, timers and the message loop.
#include "platform/toolkit.h"

#include "platform/win32/handles.h"  // <windows.h> first: commctrl.h needs it

#include <commctrl.h>

#include <map>
#include <string>

namespace pallix {
namespace {

using win32::FromHwnd;
using win32::ToHwnd;

constexpr char kMainClass[] = "PallixMain";

struct ControlLook {
  ControlKind kind = ControlKind::kLabel;
  COLORREF back = RGB(192, 192, 192);
  COLORREF fore = RGB(0, 0, 0);
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
  int picture = 0;
  HANDLE image = nullptr;
  UINT image_type = IMAGE_BITMAP;
};

// One per main window: what its window procedure needs. Attached to the
// window at WM_NCCREATE, so every later message finds it.
struct MainWindow {
  HWND hwnd = nullptr;
  EventSink* sink = nullptr;
  HBRUSH background = nullptr;
  std::map<HWND, ControlLook> controls;
  HCURSOR custom_pointer = nullptr;
  bool use_custom_pointer = false;
  HWND tooltip = nullptr;
};

// The shell broadcasts this when it starts again.
UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
  return message;
}

// A resource of ours by id, whichever kind it is: bitmap, cursor or icon.
HANDLE LoadPicture(int id, UINT* type) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  LPCSTR name = MAKEINTRESOURCEA(id);
  if (::FindResourceA(instance, name, MAKEINTRESOURCEA(2))) {  // RT_BITMAP
    *type = IMAGE_BITMAP;
  } else if (::FindResourceA(instance, name, MAKEINTRESOURCEA(12))) {  // RT_GROUP_CURSOR
    *type = IMAGE_CURSOR;
  } else if (::FindResourceA(instance, name, MAKEINTRESOURCEA(14))) {  // RT_GROUP_ICON
    *type = IMAGE_ICON;
  } else {
    return nullptr;
  }
  return ::LoadImageA(instance, name, *type, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
}

MainWindow* g_main = nullptr;  // the program has one main window

ControlLook* LookOf(HWND control) {
  if (!g_main) return nullptr;
  auto it = g_main->controls.find(control);
  return it == g_main->controls.end() ? nullptr : &it->second;
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
void DrawStatic(const DRAWITEMSTRUCT& item, ControlLook& look) {
  RECT r = item.rcItem;
  if (look.kind == ControlKind::kShape) {
    // Transparent inside: the window's own background shows through.
    if (g_main) ::FillRect(item.hDC, &r, g_main->background);
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
void DrawItem(const DRAWITEMSTRUCT& item) {
  ControlLook* look = LookOf(item.hwndItem);
  if (!look) return;
  if (item.CtlType == ODT_STATIC) {
    DrawStatic(item, *look);
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

// Decodes the message and hands it on; no behaviour of its own.
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->hwnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!window) return ::DefWindowProcA(hwnd, msg, wparam, lparam);

  switch (msg) {
    case WM_COMMAND:
      // Buttons report BN_CLICKED (0), menus 0 too; other notifications are
      // not events of the program.
      if (HIWORD(wparam) == 0) window->sink->OnCommand(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      window->sink->OnTimer(static_cast<std::uintptr_t>(wparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (LRESULT brush =
              PaintControlColours(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam)))
        return brush;
      break;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_LBUTTONUP:
      window->sink->OnBackgroundClick();
      return 0;
    case WM_LBUTTONDBLCLK:
      window->sink->OnBackgroundDblClick();
      return 0;
    case WM_SHOWWINDOW:
      window->sink->OnShowWindow(wparam != FALSE);
      break;
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
    case WM_DESTROY:
      window->sink->OnDestroy();
      ::PostQuitMessage(0);
      return 0;
    default:
      if (msg == TaskbarCreatedMessage()) {
        window->sink->OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return ::DefWindowProcA(hwnd, msg, wparam, lparam);
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

}  // namespace

Hwnd CreateMainWindow(const char* caption, const Rect& bounds, EventSink& sink) {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&init);

  static MainWindow window;  // lives as long as the process
  window.sink = &sink;
  window.background = ::CreateSolidBrush(RGB(192, 192, 192));
  g_main = &window;

  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = window.background;
  wc.lpszClassName = kMainClass;
  ::RegisterClassExA(&wc);

  // A fixed border, no minimise or maximise box; the bounds are the client
  // area's, so the frame is added around them.
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT outer{bounds.left, bounds.top, bounds.right, bounds.bottom};
  ::AdjustWindowRectEx(&outer, style, FALSE, 0);
  HWND hwnd = ::CreateWindowExA(0, kMainClass, caption, style, outer.left, outer.top,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, instance, &window);
  return FromHwnd(hwnd);
}

Hwnd CreateControl(Hwnd parent, ControlKind kind, int control_id, const char* text,
                   const Rect& bounds) {
  const char* cls = "STATIC";
  // Siblings clip each other, so the shape below the option row never paints
  // over the buttons inside it.
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD ex_style = 0;
  switch (kind) {
    case ControlKind::kLabel:
      style |= SS_LEFT | SS_NOTIFY;
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
    case ControlKind::kComboBox:
      cls = "COMBOBOX";
      style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
      break;
    case ControlKind::kListBox:
      cls = "LISTBOX";
      style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY;
      ex_style = WS_EX_CLIENTEDGE;
      break;
  }
  int height = bounds.bottom - bounds.top;
  // A drop-down's height includes its list.
  if (kind == ControlKind::kComboBox) height *= 8;
  HWND hwnd = ::CreateWindowExA(ex_style, cls, text, style, bounds.left, bounds.top,
                                bounds.right - bounds.left, height, ToHwnd(parent),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (!hwnd) return Hwnd{};
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
  // A combo box drops the text it is created with; its edit field starts
  // empty unless told.
  if (kind == ControlKind::kComboBox) ::SetWindowTextA(hwnd, text);
  if (g_main) {
    ControlLook look;
    look.kind = kind;
    if (kind == ControlKind::kTextBox || kind == ControlKind::kListBox ||
        kind == ControlKind::kComboBox)
      look.back = ::GetSysColor(COLOR_WINDOW);
    g_main->controls[hwnd] = look;
  }
  return FromHwnd(hwnd);
}

void SetCaption(Hwnd control, std::string_view text) {
  std::string copy(text);
  ::SetWindowTextA(ToHwnd(control), copy.c_str());
}

std::string GetCaption(Hwnd control) {
  HWND hwnd = ToHwnd(control);
  int length = ::GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SetVisible(Hwnd control, bool visible) {
  ::ShowWindow(ToHwnd(control), visible ? SW_SHOW : SW_HIDE);
}
bool IsVisible(Hwnd control) {
  return (::GetWindowLongA(ToHwnd(control), GWL_STYLE) & WS_VISIBLE) != 0;
}
void SetEnabled(Hwnd control, bool enabled) {
  ::EnableWindow(ToHwnd(control), enabled);
}
bool IsEnabled(Hwnd control) {
  return ::IsWindowEnabled(ToHwnd(control)) != FALSE;
}

void SetBackColor(Hwnd control, Colorref color) {
  if (ControlLook* look = LookOf(ToHwnd(control))) {
    look->back = color.value;
    if (look->brush) ::DeleteObject(look->brush);
    look->brush = nullptr;
    ::InvalidateRect(ToHwnd(control), nullptr, TRUE);
  }
}
Colorref GetBackColor(Hwnd control) {
  ControlLook* look = LookOf(ToHwnd(control));
  return Colorref{look ? look->back : 0u};
}
void SetForeColor(Hwnd control, Colorref color) {
  if (ControlLook* look = LookOf(ToHwnd(control))) {
    look->fore = color.value;
    ::InvalidateRect(ToHwnd(control), nullptr, TRUE);
  }
}
Colorref GetForeColor(Hwnd control) {
  ControlLook* look = LookOf(ToHwnd(control));
  return Colorref{look ? look->fore : 0u};
}

namespace {
bool IsCombo(Hwnd control) {
  ControlLook* look = LookOf(ToHwnd(control));
  return look && look->kind == ControlKind::kComboBox;
}
}  // namespace

void ListClear(Hwnd control) {
  ::SendMessageA(ToHwnd(control), IsCombo(control) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}
void ListAddItem(Hwnd control, std::string_view item) {
  std::string copy(item);
  ::SendMessageA(ToHwnd(control), IsCombo(control) ? CB_ADDSTRING : LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(copy.c_str()));
}
int ListCount(Hwnd control) {
  LRESULT n = ::SendMessageA(ToHwnd(control), IsCombo(control) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}
std::string ListItem(Hwnd control, int index) {
  bool combo = IsCombo(control);
  HWND hwnd = ToHwnd(control);
  LRESULT length = ::SendMessageA(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT copied = ::SendMessageA(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                                  reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}
void ListSelect(Hwnd control, int index) {
  ::SendMessageA(ToHwnd(control), IsCombo(control) ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
}

void SetOptionValue(Hwnd option, bool value) {
  ::SendMessageA(ToHwnd(option), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool GetOptionValue(Hwnd option) {
  return ::SendMessageA(ToHwnd(option), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int MsgBox(std::string_view prompt, unsigned style, std::string_view title) {
  std::string text(prompt), caption(title);
  // A box owned by the still hidden main window would, when it closes, hand
  // the activation to that window: its activation handler would then run,
  // and ask its own question, before the window is ever shown.
  HWND owner = g_main && ::IsWindowVisible(g_main->hwnd) ? g_main->hwnd : nullptr;
  return ::MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

bool SetTimer(Hwnd window, std::uintptr_t timer_id, unsigned milliseconds) {
  return ::SetTimer(ToHwnd(window), timer_id, milliseconds, nullptr) != 0;
}

bool KillTimer(Hwnd window, std::uintptr_t timer_id) {
  return ::KillTimer(ToHwnd(window), timer_id) != FALSE;
}

namespace {
// Keyboard navigation between the controls, as a dialog has it.
void Dispatch(MSG& msg) {
  if (g_main && ::IsDialogMessageA(g_main->hwnd, &msg)) return;
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

int RunMessageLoop() {
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) Dispatch(msg);
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

void SetFont(Hwnd control, const char* face, int points, bool bold, bool italic) {
  ControlLook* look = LookOf(ToHwnd(control));
  if (!look) return;
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  HFONT font = ::CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  ::SendMessageA(ToHwnd(control), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (look->font) ::DeleteObject(look->font);
  look->font = font;
}

void SetToolTip(Hwnd control, std::string_view text) {
  if (!g_main) return;
  if (!g_main->tooltip) {
    g_main->tooltip = ::CreateWindowExA(
        0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, g_main->hwnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  std::string copy(text);
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = g_main->hwnd;
  tool.uId = reinterpret_cast<UINT_PTR>(ToHwnd(control));
  tool.lpszText = copy.data();
  ::SendMessageA(g_main->tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void SetPicture(Hwnd control, int resource_id) {
  ControlLook* look = LookOf(ToHwnd(control));
  if (!look) return;
  look->picture = resource_id;
  look->image = resource_id ? LoadPicture(resource_id, &look->image_type) : nullptr;
  ::InvalidateRect(ToHwnd(control), nullptr, TRUE);
}

int GetPicture(Hwnd control) {
  ControlLook* look = LookOf(ToHwnd(control));
  return look ? look->picture : 0;
}

void SetCustomPointer(Hwnd /*window*/, int cursor_resource_id) {
  if (!g_main) return;
  UINT type = IMAGE_CURSOR;
  g_main->custom_pointer = static_cast<HCURSOR>(LoadPicture(cursor_resource_id, &type));
}

void UseCustomPointer(Hwnd /*window*/, bool custom) {
  if (!g_main) return;
  g_main->use_custom_pointer = custom;
  // While the mouse is captured no WM_SETCURSOR comes: set it now.
  ::SetCursor(custom && g_main->custom_pointer ? g_main->custom_pointer
                                               : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

bool UsesCustomPointer(Hwnd /*window*/) {
  return g_main && g_main->use_custom_pointer;
}

Hmenu CreatePopupMenu() {
  return Hmenu{reinterpret_cast<std::uintptr_t>(::CreatePopupMenu())};
}

namespace {
HMENU ToMenu(Hmenu menu) {
  return reinterpret_cast<HMENU>(menu.value);
}
}  // namespace

void AppendMenuItem(Hmenu menu, int item_id, std::string_view caption) {
  std::string copy(caption);
  ::AppendMenuA(ToMenu(menu), MF_STRING, static_cast<UINT_PTR>(item_id), copy.c_str());
}

void AppendMenuSeparator(Hmenu menu) {
  ::AppendMenuA(ToMenu(menu), MF_SEPARATOR, 0, nullptr);
}

void SetMenuItemChecked(Hmenu menu, int item_id, bool checked) {
  ::CheckMenuItem(ToMenu(menu), static_cast<UINT>(item_id),
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsMenuItemChecked(Hmenu menu, int item_id) {
  UINT state = ::GetMenuState(ToMenu(menu), static_cast<UINT>(item_id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED);
}

void SetMenuItemCaption(Hmenu menu, int item_id, std::string_view caption) {
  std::string copy(caption);
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = copy.data();
  ::SetMenuItemInfoA(ToMenu(menu), static_cast<UINT>(item_id), FALSE, &info);
}

std::string GetMenuItemCaption(Hmenu menu, int item_id) {
  char text[256];
  int n =
      ::GetMenuStringA(ToMenu(menu), static_cast<UINT>(item_id), text, sizeof text, MF_BYCOMMAND);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void PopupMenu(Hmenu menu, Hwnd owner) {
  POINT at{};
  ::GetCursorPos(&at);
  HWND hwnd = ToHwnd(owner);
  // The menu closes on a click elsewhere only when its owner is the
  // foreground window; the empty message afterwards lets it close at once.
  ::SetForegroundWindow(hwnd);
  UINT chosen = ::TrackPopupMenu(ToMenu(menu), TPM_LEFTALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x,
                                 at.y, 0, hwnd, nullptr);
  ::PostMessageA(hwnd, WM_NULL, 0, 0);
  if (chosen && g_main) g_main->sink->OnCommand(static_cast<int>(chosen));
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
  return ::DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

Hwnd CreateTrayWindow(EventSink& sink, std::uint32_t callback_message) {
  static TrayWindow tray;
  tray.sink = &sink;
  tray.callback = callback_message;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = TrayWindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "PallixTray";
  ::RegisterClassExA(&wc);
  // A message-only window: never on the screen, so no real mouse movement
  // is ever mistaken for the icon's callback.
  return FromHwnd(::CreateWindowExA(0, "PallixTray", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, &tray));
}

void Shell(std::string_view command_line) {
  std::string copy(command_line);
  ::WinExec(copy.c_str(), SW_SHOWNORMAL);
}

void EndProcess() {
  ::ExitProcess(0);
}

}  // namespace pallix
