// pallix_dialogs: opens dialogs of its own on command and reports how each
// ended and how long it stood open, so that tests and benchmarks can watch
// Pallix answer them from outside.
//
//   box --title T [--text X] [--type ok|okcancel|yesno|yesnocancel]
//       [--timeout-ms N]
//       one message box
//   dialog --title T --button B [--text X] [--class C] [--layout L]
//          [--timeout-ms N] [--hang-ms N] [--disabled-ms N] [--stay]
//       a dialog with push button B (B may list several: "Yes|No|Cancel")
//       below the line of text X when given, laid out as L says: plain
//       (direct children, the default), panel (the buttons inside a child
//       panel), taskdialog (as Windows lays out a TaskDialog: each button
//       in a CtrlNotifySink inside a DirectUIHWND, the text drawn, not a
//       control) or forms (as a Windows Forms dialog: a WindowsForms10
//       label in one panel, WindowsForms10 owner-drawn buttons in another);
//       class "#32770" unless --class names another; T may hold \uXXXX for
//       a character beyond the code page; with --hang-ms, its thread stops
//       answering for that long
//       once it is up; with --disabled-ms, the first button is disabled for
//       that long first; with --stay, a click is counted and the dialog
//       stays open until its timeout
//   series --count N --title T [--type ...] [--timeout-ms N] [--expect A]
//       [--gap-ms MIN[-MAX]] [--seed S] [--pause-after K --pause-ms M]
//       N message boxes in a row, each opened when the last returned, after
//       a random gap drawn from MIN..MAX; with --pause-after, "pause K" is
//       printed after the K-th and the series waits M ms before going on
//   burst --count N --title T [--class C] [--ms M] [--alive K]
//       N top-level windows of class C ("#32770" unless named), titled
//       "T 1" to "T N", made and destroyed over M ms (1000 unless given),
//       at most K (10 unless given) standing at once: another program's
//       flurry of windows of a watched class that no entry answers
//
// Output, one line per dialog:  result INDEX ANSWER ID MILLISECONDS
//   ANSWER is yes, no, ok, cancel, button (the custom dialog's first button;
//   its second is button2, and so on) or none when the timeout closed the
//   dialog unanswered; ID is the value the
//   dialog returned; MILLISECONDS runs from the dialog's activation (a CBT
//   hook, HCBT_ACTIVATE) until MessageBox or DialogBox returned.
// dialog then prints one line per click on B:  click INDEX MILLISECONDS
//   from the moment B was enabled (or the dialog made) to the click, below
//   zero for a click on B while it was disabled.
// burst prints one line:  burst count=N ms=MILLISECONDS (the time it took)
// box prints nothing more; series ends with
//   summary count=N answered=A unanswered=U wrong=W min_ms= median_ms=
//           p95_ms= p99_ms= max_ms=
// with the figures over the answered dialogs.
// Exit status: 0 when every dialog was answered (and as --expect says),
// 1 otherwise, 2 bad usage.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/options.h"

namespace {

constexpr int kOk = 0;
constexpr int kNotAll = 1;
constexpr int kUsage = 2;

// What a dialog that closed itself returns; no button has this id.
constexpr INT_PTR kTimedOut = 0x7FF0;
constexpr int kButtonId = 100;
constexpr UINT_PTR kTimeoutTimer = 1;
constexpr UINT_PTR kEnableTimer = 2;
constexpr char kPanelClass[] = "PallixDialogsPanel";
// The windows of the other layouts, under the names Windows and Windows
// Forms give them.
constexpr char kDirectUiClass[] = "DirectUIHWND";
constexpr char kSinkClass[] = "CtrlNotifySink";
constexpr char kFormsPanelClass[] = "WindowsForms10.Window.0.app.0.pallix_bench";
constexpr char kFormsButtonClass[] = "WindowsForms10.BUTTON.app.0.pallix_bench";
constexpr char kFormsLabelClass[] = "WindowsForms10.STATIC.app.0.pallix_bench";

enum class Layout { kPlain, kPanel, kTaskDialog, kForms };
const std::map<std::string, Layout, std::less<>> kLayouts = {
    {"plain", Layout::kPlain},
    {"panel", Layout::kPanel},
    {"taskdialog", Layout::kTaskDialog},
    {"forms", Layout::kForms},
};

const char kUsageText[] =
    "usage: pallix_dialogs box --title T [--text X] [--type ok|okcancel|yesno|yesnocancel]\n"
    "                          [--timeout-ms N]\n"
    "       pallix_dialogs dialog --title T --button B[|B2...] [--text X] [--class C]\n"
    "                             [--layout plain|panel|taskdialog|forms] [--hang-ms N]\n"
    "                             [--disabled-ms N] [--stay]\n"
    "                             [--timeout-ms N]\n"
    "       pallix_dialogs series --count N --title T [--type ...] [--timeout-ms N]\n"
    "                             [--expect ANSWER] [--gap-ms MIN[-MAX]] [--seed S]\n"
    "                             [--pause-after K --pause-ms M]\n"
    "       pallix_dialogs burst --count N --title T [--class C] [--ms M] [--alive K]\n";

using pallix_tools::Options;
using pallix_tools::UsageError;
using Args = Options;

// A count or a time: a decimal number, not negative.
long long NonNegative(std::string_view key, const std::string& text) {
  errno = 0;
  char* end = nullptr;
  long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || errno != 0 || *end != '\0' || value < 0) {
    throw UsageError("--" + std::string(key) + " is not a number: " + text);
  }
  return value;
}

long long Number(const Args& args, std::string_view key, long long fallback) {
  const std::string* text = args.Get(key);
  return text ? NonNegative(key, *text) : fallback;
}

Args ParseArgs(int argc, char** argv) {
  return pallix_tools::ParseOptions(argc, argv, 2, {"stay"});
}

// ---------------------------------------------------------------------------
// The clock. One dialog is open at a time; the CBT hook stamps the moment
// the first window of the dialog becomes active, which is when a user (or
// Pallix) could first see it.

LARGE_INTEGER g_frequency;
HWND g_dialog = nullptr;
std::optional<LONGLONG> g_activated;

double Milliseconds(LONGLONG from, LONGLONG to) {
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(g_frequency.QuadPart);
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && !g_activated) {
    g_activated = Now();
    g_dialog = reinterpret_cast<HWND>(wparam);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

// A message box ends itself only through one of its buttons; the timer ends
// it from inside its own modal loop instead, with an id no button has.
void CALLBACK BoxTimeout(HWND, UINT, UINT_PTR, DWORD) {
  if (g_dialog && IsWindow(g_dialog)) EndDialog(g_dialog, kTimedOut);
}

struct Outcome {
  INT_PTR id = 0;
  double ms = 0;
  bool activated = false;
};

template <typename Open>
Outcome Measure(Open open) {
  g_dialog = nullptr;
  g_activated.reset();
  INT_PTR id = open();
  LONGLONG end = Now();
  Outcome outcome;
  outcome.id = id;
  outcome.activated = g_activated.has_value();
  outcome.ms = outcome.activated ? Milliseconds(*g_activated, end) : 0.0;
  return outcome;
}

// ---------------------------------------------------------------------------
// Message boxes.

const std::map<std::string, UINT, std::less<>> kBoxTypes = {
    {"ok", MB_OK},
    {"okcancel", MB_OKCANCEL},
    {"yesno", MB_YESNO},
    {"yesnocancel", MB_YESNOCANCEL},
};

UINT BoxType(const Args& args) {
  std::string name = args.TextOr("type", "ok");
  auto it = kBoxTypes.find(name);
  if (it == kBoxTypes.end()) throw UsageError("unknown --type " + name);
  return it->second;
}

std::string AnswerName(INT_PTR id, bool custom_dialog) {
  if (id == kTimedOut) return "none";
  if (custom_dialog) {
    if (id == kButtonId) return "button";
    return id > kButtonId && id < kButtonId + 10 ? "button" + std::to_string(id - kButtonId + 1)
                                                 : "other";
  }
  switch (id) {
    case IDOK:
      return "ok";
    case IDCANCEL:
      return "cancel";
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    case IDABORT:
      return "abort";
    case IDRETRY:
      return "retry";
    case IDIGNORE:
      return "ignore";
    default:
      return "other";
  }
}

Outcome OpenBox(const std::string& title, const std::string& text, UINT type, DWORD timeout_ms) {
  return Measure([&] {
    UINT_PTR timer = timeout_ms ? SetTimer(nullptr, 0, timeout_ms, BoxTimeout) : 0;
    int id = MessageBoxA(nullptr, text.c_str(), title.c_str(), type | MB_SETFOREGROUND);
    if (timer) KillTimer(nullptr, timer);
    return static_cast<INT_PTR>(id);
  });
}

// ---------------------------------------------------------------------------
// The custom dialog: an empty template, its one button made at
// WM_INITDIALOG either straight on the dialog or inside a panel.

struct DialogSpec {
  std::vector<std::string> buttons;
  std::string text;
  Layout layout = Layout::kPlain;
  DWORD timeout_ms = 0;
  DWORD hang_ms = 0;
  DWORD disabled_ms = 0;
  bool stay = false;
};

// B, when it became pressable, and the clicks on it.
HWND g_button = nullptr;
LONGLONG g_enabled = 0;
std::vector<LONGLONG> g_clicks;
bool g_stay = false;

// Posted once the dialog is up, when it is to stop answering for a while.
constexpr UINT kHangMessage = WM_APP + 1;

// Hands the button's click on to the dialog, as a group box or a tab page
// of a real dialog would.
// The owner-drawn buttons of Windows Forms are drawn by their program: here
// plainly, so that a user (and a screenshot) can see them.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) return SendMessageA(GetParent(panel), message, wparam, lparam);
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    RECT face = item.rcItem;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON,
                     DFCS_BUTTONPUSH | ((item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0));
    char text[256];
    int n = GetWindowTextA(item.hwndItem, text, sizeof text);
    SetBkMode(item.hDC, TRANSPARENT);
    DrawTextA(item.hDC, text, n, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return TRUE;
  }
  if (message == WM_PAINT) {
    // A panel with a text draws it, as a DirectUIHWND draws a TaskDialog's.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(panel, &paint);
    char text[256];
    int n = GetWindowTextA(panel, text, sizeof text);
    SetBkMode(dc, TRANSPARENT);
    if (n > 0) TextOutA(dc, 20, 10, text, n);
    EndPaint(panel, &paint);
    return 0;
  }
  return DefWindowProcA(panel, message, wparam, lparam);
}

HWND Child(const char* window_class, const std::string& text, DWORD style, RECT at, HWND parent,
           INT_PTR id = 0) {
  return CreateWindowExA(0, window_class, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left,
                         at.top, at.right - at.left, at.bottom - at.top, parent,
                         reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr), nullptr);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto& spec = *reinterpret_cast<const DialogSpec*>(lparam);
      HWND parent = dialog;
      int top = 15;
      if (!spec.text.empty() && spec.layout == Layout::kForms) {
        HWND panel = Child(kFormsPanelClass, "", 0, {10, 5, 430, 35}, dialog);
        Child(kFormsLabelClass, spec.text, 0, {10, 5, 410, 25}, panel);
        top = 40;
      } else if (!spec.text.empty() && spec.layout != Layout::kTaskDialog) {
        Child("Static", spec.text, 0, {20, 10, 420, 30}, dialog);
        top = 40;
      } else if (!spec.text.empty()) {
        top = 40;  // drawn by the DirectUIHWND
      }
      const int width = spec.buttons.size() > 1 ? 100 : 120;
      if (spec.buttons.size() > 1) {
        // Room for a row of buttons, as wide as they need.
        RECT r{0, 0, 40 + 110 * static_cast<int>(spec.buttons.size()), top + 50};
        AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
        SetWindowPos(dialog, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER);
      }
      RECT client;
      GetClientRect(dialog, &client);
      if (spec.layout == Layout::kPanel) parent = Child(kPanelClass, "", 0, client, dialog);
      if (spec.layout == Layout::kForms) parent = Child(kFormsPanelClass, "", 0, client, dialog);
      if (spec.layout == Layout::kTaskDialog) {
        parent = Child(kDirectUiClass, spec.text, 0, client, dialog);
      }
      DWORD disabled = spec.disabled_ms ? WS_DISABLED : 0;
      for (std::size_t i = 0; i < spec.buttons.size(); ++i) {
        RECT at{20 + 110 * static_cast<int>(i), top, 20 + 110 * static_cast<int>(i) + width,
                top + 26};
        HWND holder = parent;
        const char* button_class = "Button";
        DWORD kind = BS_PUSHBUTTON;
        if (spec.layout == Layout::kTaskDialog) {
          // Each button of a TaskDialog stands in a sink of its own.
          holder = Child(kSinkClass, "", 0, at, parent);
          at = {0, 0, width, 26};
        } else if (spec.layout == Layout::kForms) {
          button_class = kFormsButtonClass;
          kind = BS_OWNERDRAW;
        }
        HWND button = Child(button_class, spec.buttons[i], kind | (i == 0 ? disabled : 0), at,
                            holder, static_cast<INT_PTR>(kButtonId + i));
        if (i == 0) g_button = button;
      }
      // Until the timer enables B, the moment it is due: a click before then
      // counts below zero even when it ends the dialog first.
      g_enabled = Now() + static_cast<LONGLONG>(spec.disabled_ms) * g_frequency.QuadPart / 1000;
      g_stay = spec.stay;
      if (spec.disabled_ms) SetTimer(dialog, kEnableTimer, spec.disabled_ms, nullptr);
      if (spec.timeout_ms) SetTimer(dialog, kTimeoutTimer, spec.timeout_ms, nullptr);
      if (spec.hang_ms) PostMessageA(dialog, kHangMessage, spec.hang_ms, 0);
      return TRUE;
    }
    case kHangMessage:
      // A program busy in its user-interface thread: nothing is answered.
      Sleep(static_cast<DWORD>(wparam));
      return TRUE;
    case WM_TIMER:
      if (wparam == kTimeoutTimer) EndDialog(dialog, kTimedOut);
      if (wparam == kEnableTimer) {
        KillTimer(dialog, kEnableTimer);
        g_enabled = Now();
        EnableWindow(g_button, TRUE);
      }
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) >= kButtonId &&
          LOWORD(wparam) < kButtonId + 10) {
        g_clicks.push_back(Now());
        if (!g_stay) EndDialog(dialog, LOWORD(wparam));
      }
      return TRUE;
    default:
      return FALSE;
  }
}

// The text in the code page, with \uXXXX read as that character: a command
// line holds only what the code page holds.
std::wstring Wide(std::string_view text) {
  std::wstring wide;
  while (!text.empty()) {
    std::size_t escape = text.find("\\u");
    if (escape == 0 && text.size() >= 6) {
      wide +=
          static_cast<wchar_t>(std::strtoul(std::string(text.substr(2, 4)).c_str(), nullptr, 16));
      text.remove_prefix(6);
      continue;
    }
    std::string_view plain = text.substr(0, escape == 0 ? 1 : escape);
    int n =
        MultiByteToWideChar(CP_ACP, 0, plain.data(), static_cast<int>(plain.size()), nullptr, 0);
    std::wstring part(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, plain.data(), static_cast<int>(plain.size()), part.data(), n);
    wide += part;
    text.remove_prefix(plain.size());
  }
  return wide;
}

void AppendWide(std::vector<WORD>& out, std::string_view text) {
  for (wchar_t c : Wide(text)) out.push_back(static_cast<WORD>(c));
  out.push_back(0);
}

// DLGTEMPLATE with no items; the class is named only when it is not the
// system's dialog class.
std::vector<WORD> DialogTemplate(const std::string& title, const std::string& window_class) {
  DLGTEMPLATE head{};
  head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
  head.cdit = 0;
  head.cx = 160;
  head.cy = 60;
  std::vector<WORD> words(sizeof head / sizeof(WORD));
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  if (window_class == "#32770") {
    words.push_back(0);
  } else {
    AppendWide(words, window_class);
  }
  AppendWide(words, title);
  return words;
}

void RegisterClasses(const std::string& dialog_class) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA panel{};
  panel.lpfnWndProc = PanelProc;
  panel.hInstance = instance;
  panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  for (const char* name : {kPanelClass, kDirectUiClass, kSinkClass, kFormsPanelClass}) {
    panel.lpszClassName = name;
    RegisterClassA(&panel);
  }
  // Windows Forms' controls are the system's under names of their own.
  for (auto [base, name] :
       {std::pair{"Button", kFormsButtonClass}, std::pair{"Static", kFormsLabelClass}}) {
    WNDCLASSA superclass{};
    GetClassInfoA(nullptr, base, &superclass);
    superclass.hInstance = instance;
    superclass.lpszClassName = name;
    RegisterClassA(&superclass);
  }
  if (dialog_class == "#32770") return;
  // A dialog class of its own: the system's dialog procedure under another
  // name, as some programs register for their dialogs.
  WNDCLASSA own{};
  own.lpfnWndProc = DefDlgProcA;
  own.cbWndExtra = DLGWINDOWEXTRA;
  own.hInstance = instance;
  own.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  own.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  own.lpszClassName = dialog_class.c_str();
  if (!RegisterClassA(&own)) throw UsageError("cannot register the class " + dialog_class);
}

// ---------------------------------------------------------------------------

void PrintResult(int index, const Outcome& outcome, bool custom_dialog) {
  std::printf("result %d %s %lld %.3f\n", index, AnswerName(outcome.id, custom_dialog).c_str(),
              static_cast<long long>(outcome.id), outcome.ms);
  if (!outcome.activated) std::printf("warning %d the dialog was never activated\n", index);
  std::fflush(stdout);
}

int RunBox(const Args& args) {
  Outcome outcome = OpenBox(args.Text("title"), args.TextOr("text", "Pallix test"), BoxType(args),
                            static_cast<DWORD>(Number(args, "timeout-ms", 0)));
  PrintResult(1, outcome, false);
  return outcome.id == kTimedOut ? kNotAll : kOk;
}

int RunDialog(const Args& args) {
  std::string window_class = args.TextOr("class", "#32770");
  RegisterClasses(window_class);
  std::vector<std::string> buttons;
  const std::string& listed = args.Text("button");
  for (std::size_t at = 0, bar; at <= listed.size(); at = bar + 1) {
    bar = std::min(listed.find('|', at), listed.size());
    buttons.push_back(listed.substr(at, bar - at));
  }
  if (buttons.size() > 10) throw UsageError("--button lists more than 10 buttons");
  auto layout = kLayouts.find(args.TextOr("layout", "plain"));
  if (layout == kLayouts.end()) throw UsageError("unknown --layout " + args.TextOr("layout", ""));
  DialogSpec spec{buttons,
                  args.TextOr("text", ""),
                  layout->second,
                  static_cast<DWORD>(Number(args, "timeout-ms", 0)),
                  static_cast<DWORD>(Number(args, "hang-ms", 0)),
                  static_cast<DWORD>(Number(args, "disabled-ms", 0)),
                  args.flags.contains("stay")};
  std::vector<WORD> words = DialogTemplate(args.Text("title"), window_class);
  Outcome outcome = Measure([&] {
    // A Unicode dialog: an ANSI one holds only what the code page holds.
    return DialogBoxIndirectParamW(GetModuleHandleA(nullptr),
                                   reinterpret_cast<const DLGTEMPLATE*>(words.data()), nullptr,
                                   DialogProc, reinterpret_cast<LPARAM>(&spec));
  });
  if (outcome.id == -1) {
    std::fprintf(stderr, "dialog: DialogBoxIndirectParam failed (error %lu)\n", GetLastError());
    return kUsage;
  }
  PrintResult(1, outcome, true);
  for (std::size_t i = 0; i < g_clicks.size(); ++i) {
    std::printf("click %zu %.3f\n", i + 1, Milliseconds(g_enabled, g_clicks[i]));
  }
  return outcome.id == kTimedOut ? kNotAll : kOk;
}

// Nearest rank: the smallest value with at least p of all values at or
// below it.
double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::pair<long long, long long> GapRange(const Args& args) {
  std::string text = args.TextOr("gap-ms", "0");
  std::size_t dash = text.find('-');
  long long low = NonNegative("gap-ms", text.substr(0, dash));
  long long high = low;
  if (dash != std::string::npos) high = NonNegative("gap-ms", text.substr(dash + 1));
  if (high < low) throw UsageError("--gap-ms: the upper end is below the lower");
  return {low, high};
}

int RunSeries(const Args& args) {
  const long long count = Number(args, "count", 0);
  if (count < 1) throw UsageError("--count must be at least 1");
  const std::string& title = args.Text("title");
  const std::string text = args.TextOr("text", "Pallix test");
  const UINT type = BoxType(args);
  const auto timeout_ms = static_cast<DWORD>(Number(args, "timeout-ms", 0));
  const std::string* expect = args.Get("expect");
  const long long pause_after = Number(args, "pause-after", 0);
  const auto pause_ms = static_cast<DWORD>(Number(args, "pause-ms", 0));
  auto [gap_low, gap_high] = GapRange(args);
  std::mt19937_64 random(static_cast<std::uint64_t>(Number(args, "seed", 1)));
  std::uniform_int_distribution<long long> gap(gap_low, gap_high);

  std::vector<double> latencies;
  long long unanswered = 0, wrong = 0;
  for (long long i = 1; i <= count; ++i) {
    if (gap_high > 0) Sleep(static_cast<DWORD>(gap(random)));
    Outcome outcome = OpenBox(title, text, type, timeout_ms);
    PrintResult(static_cast<int>(i), outcome, false);
    std::string answer = AnswerName(outcome.id, false);
    if (answer == "none") {
      ++unanswered;
    } else {
      if (expect && answer != *expect) ++wrong;
      latencies.push_back(outcome.ms);
    }
    if (i == pause_after) {
      std::printf("pause %lld\n", i);
      std::fflush(stdout);
      Sleep(pause_ms);
    }
  }
  std::sort(latencies.begin(), latencies.end());
  std::printf(
      "summary count=%lld answered=%zu unanswered=%lld wrong=%lld min_ms=%.3f median_ms=%.3f "
      "p95_ms=%.3f p99_ms=%.3f max_ms=%.3f\n",
      count, latencies.size(), unanswered, wrong, latencies.empty() ? 0.0 : latencies.front(),
      Percentile(latencies, 0.5), Percentile(latencies, 0.95), Percentile(latencies, 0.99),
      latencies.empty() ? 0.0 : latencies.back());
  return unanswered == 0 && wrong == 0 ? kOk : kNotAll;
}

// Keeps this thread's windows answering while the burst waits.
void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int RunBurst(const Args& args) {
  const long long count = Number(args, "count", 0);
  if (count < 1) throw UsageError("--count must be at least 1");
  const std::string& title = args.Text("title");
  const std::string window_class = args.TextOr("class", "#32770");
  const long long span_ms = Number(args, "ms", 1000);
  const auto alive = static_cast<std::size_t>(std::max(1LL, Number(args, "alive", 10)));
  RegisterClasses(window_class);
  std::vector<HWND> standing;
  const LONGLONG start = Now();
  for (long long i = 0; i < count; ++i) {
    // Window i is made no sooner than its share of the time: the burst is
    // spread over it rather than over as long as making windows takes.
    const LONGLONG due = start + i * span_ms * g_frequency.QuadPart / 1000 / count;
    while (Now() < due) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      PumpMessages();
    }
    // Shown without being activated: the boxes a benchmark times meanwhile
    // keep the foreground.
    HWND window = CreateWindowExA(WS_EX_NOACTIVATE, window_class.c_str(),
                                  (title + " " + std::to_string(i + 1)).c_str(),
                                  WS_POPUP | WS_CAPTION, 20 + static_cast<int>(i % 40) * 4, 20, 200,
                                  60, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) {
      std::fprintf(stderr, "burst: CreateWindowEx failed (error %lu)\n", GetLastError());
      return kNotAll;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    standing.push_back(window);
    if (standing.size() > alive) {
      DestroyWindow(standing.front());
      standing.erase(standing.begin());
    }
    PumpMessages();
  }
  for (HWND window : standing) DestroyWindow(window);
  std::printf("burst count=%lld ms=%.1f\n", count, Milliseconds(start, Now()));
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  // Shell scripts read the output on Linux: no CR before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) {
    std::fputs(kUsageText, stderr);
    return kUsage;
  }
  QueryPerformanceFrequency(&g_frequency);
  HHOOK hook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
  if (hook == nullptr) {
    std::fprintf(stderr, "cannot install the CBT hook (error %lu)\n", GetLastError());
    return kUsage;
  }
  std::string_view mode = argv[1];
  int status = kUsage;
  try {
    Args args = ParseArgs(argc, argv);
    if (mode == "box") {
      status = RunBox(args);
    } else if (mode == "dialog") {
      status = RunDialog(args);
    } else if (mode == "series") {
      status = RunSeries(args);
    } else if (mode == "burst") {
      status = RunBurst(args);
    } else {
      throw UsageError("unknown mode: " + std::string(mode));
    }
  } catch (const UsageError& error) {
    std::fprintf(stderr, "%s\n%s", error.message().c_str(), kUsageText);
    status = kUsage;
  }
  UnhookWindowsHookEx(hook);
  std::fflush(stdout);
  return status;
}
