// Capturing a dialog and adding it: the frame drawn into another window's
// pixels, the walk over its children, the drag itself with the real pointer,
// and what "Add" leaves in the file.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/form1.h"
#include "monitor/monitor.h"
#include "picker/outline.h"
#include "picker/picker.h"
#include "resources/resource_ids.h"
#include "tests/unit/support.h"
#include "watch/add.h"
#include "watch/dialog_buttons.h"

namespace pallix {
namespace {

using test::BoxAnswerer;
using test::ReadFile;
using test::WriteFile;

// A plain top-level window of the given size that paints nothing itself,
// so pixels written into it stay until the test looks.
HWND Canvas(int width, int height, const char* title = "canvas", HWND owner = nullptr,
            DWORD style = WS_POPUP) {
  test::RegisterWindowClass("PallixTestCanvas");
  HWND hwnd = ::CreateWindowExA(0, "PallixTestCanvas", title, style | WS_VISIBLE, 50, 60, width,
                                height, owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::UpdateWindow(hwnd);
  return hwnd;
}

COLORREF Pixel(HWND window, int x, int y) {
  HDC dc = ::GetWindowDC(window);
  COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(window, dc);
  return c;
}

void Paint(HWND window, int x, int y, COLORREF colour) {
  HDC dc = ::GetWindowDC(window);
  ::SetPixel(dc, x, y, colour);
  ::ReleaseDC(window, dc);
}

// The pixels of the window's border, row 0, the last row, then the sides.
std::vector<COLORREF> Border(HWND window, int width, int height) {
  std::vector<COLORREF> pixels;
  for (int x = 0; x < width; ++x) {
    pixels.push_back(Pixel(window, x, 0));
    if (height > 1) pixels.push_back(Pixel(window, x, height - 1));
  }
  for (int y = 1; y < height - 1; ++y) {
    pixels.push_back(Pixel(window, 0, y));
    if (width > 1) pixels.push_back(Pixel(window, width - 1, y));
  }
  return pixels;
}

int BorderPixels(HWND window, int width, int height, COLORREF colour) {
  std::vector<COLORREF> border = Border(window, width, height);
  return static_cast<int>(std::count(border.begin(), border.end(), colour));
}

// Paints every pixel itself, each column in another colour.
LRESULT CALLBACK GradientProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg != WM_PAINT) return ::DefWindowProcA(hwnd, msg, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(hwnd, &paint);
  RECT r;
  ::GetClientRect(hwnd, &r);
  for (LONG x = 0; x < r.right; ++x) {
    HBRUSH brush = ::CreateSolidBrush(RGB(x * 2, 255 - x * 2, 90));
    RECT column{x, 0, x + 1, r.bottom};
    ::FillRect(dc, &column, brush);
    ::DeleteObject(brush);
  }
  ::EndPaint(hwnd, &paint);
  return 0;
}

constexpr COLORREF kRed = RGB(255, 0, 0);

// Where an even size's samples lie shows in the colours that drawing saves.
TEST(Outline, AnOddSizesSamplesRoundHalvesToTheEvenNeighbour) {
  // 50.5 and 49.5 both give 50.
  EXPECT_EQ(OutlineSamples(10, 101)[0].y, 50);
  EXPECT_EQ(OutlineSamples(10, 101)[2].y, 50);
  EXPECT_EQ(OutlineSamples(10, 1)[0].y, 0);
}

TEST(Outline, DrawsEveryBorderPixelRedAndErasesEachEdgeInItsSampledColour) {
  HWND w = Canvas(400, 300);
  // A distinct colour at each sample point, so each edge's colour after
  // erasing tells where it was sampled.
  const COLORREF left = RGB(1, 2, 3), bottom = RGB(4, 5, 6), right = RGB(7, 8, 9),
                 top = RGB(10, 11, 12);
  Paint(w, 0, 150, left);
  Paint(w, 200, 299, bottom);
  Paint(w, 399, 149, right);
  Paint(w, 199, 0, top);
  Outline outline;
  draw_outline(outline, w);
  EXPECT_EQ(outline.outlined_hwnd, w);
  EXPECT_EQ(BorderPixels(w, 400, 300, kRed), 1396);
  EXPECT_EQ(outline.saved_color_left, left);
  EXPECT_EQ(outline.saved_color_bottom, bottom);
  EXPECT_EQ(outline.saved_color_right, right);
  EXPECT_EQ(outline.saved_color_top, top);

  remove_outline(outline, w);
  EXPECT_EQ(outline.outlined_hwnd, w);
  EXPECT_EQ(Pixel(w, 0, 100), left);
  EXPECT_EQ(Pixel(w, 100, 299), bottom);
  EXPECT_EQ(Pixel(w, 399, 100), right);
  EXPECT_EQ(Pixel(w, 100, 0), top);
  // Corners: the edge painted last wins.
  EXPECT_EQ(Pixel(w, 0, 0), top);
  EXPECT_EQ(Pixel(w, 399, 0), top);
  EXPECT_EQ(Pixel(w, 399, 299), right);
  EXPECT_EQ(Pixel(w, 0, 299), bottom);

  // Erasing after a resize paints the border of the rectangle as it is now.
  draw_outline(outline, w);
  ::SetWindowPos(w, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW);
  remove_outline(outline, w);
  EXPECT_EQ(Pixel(w, 299, 100), right);
  EXPECT_EQ(Pixel(w, 100, 199), bottom);
  ::DestroyWindow(w);

  // One pixel high: the left, bottom and top edges all paint row 0.
  HWND thin = Canvas(50, 1);
  draw_outline(outline, thin);
  EXPECT_EQ(BorderPixels(thin, 50, 1, kRed), 50);
  ::DestroyWindow(thin);
}

TEST(Outline, AWindowThatPaintsItselfLooksAsBeforeOnceTheFrameIsErased) {
  test::RegisterWindowClass("PallixTestGradient", GradientProc);
  HWND w = ::CreateWindowExA(WS_EX_TOPMOST, "PallixTestGradient", "", WS_POPUP | WS_VISIBLE, 50, 60,
                             120, 60, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::UpdateWindow(w);
  std::vector<COLORREF> first = Border(w, 120, 60);
  Outline outline;
  draw_outline(outline, w);
  ASSERT_EQ(BorderPixels(w, 120, 60, kRed), 2 * 120 + 2 * 60 - 4);
  remove_outline(outline, w);
  ::UpdateWindow(w);
  EXPECT_EQ(Border(w, 120, 60), first);
  ::DestroyWindow(w);
}

// The real main window, started on a file with one entry (no boxes).
class Capture : public test::OneEntryForm {
 protected:
  // A drag as the user makes it: press on the picker, the pointer over
  // each target in turn, release.
  void Drag(std::initializer_list<HWND> over) {
    form_.OnPictureMouse(kIdPicture2, WM_LBUTTONDOWN, {});
    for (HWND target : over) {
      RECT r;
      ::GetWindowRect(target, &r);
      ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      form_.OnPictureMouse(kIdPicture2, WM_MOUSEMOVE, {});
    }
    form_.OnPictureMouse(kIdPicture2, WM_LBUTTONUP, {});
  }
  WatchTable table_;
};

TEST_F(Capture, ADragNamesOutlinesAndScansTheWindowUnderThePointer) {
  HWND other = Canvas(200, 150, "Other");
  ::SetWindowPos(other, HWND_TOPMOST, 600, 500, 0, 0, SWP_NOSIZE);
  test::TestDialog dialog("  Save changes", {"&Yes", "No", "", "Retry", "Ignore"});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  ::UpdateWindow(dialog.hwnd());
  HWND spaces = ::CreateWindowExA(0, "Static", "   ", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20,
                                  dialog.hwnd(), nullptr, nullptr, nullptr);
  SetOptionValue(c().Op1[2], true);

  Drag({other, dialog.hwnd()});
  EXPECT_EQ(form_.picker().picked_window(), dialog.hwnd());
  EXPECT_EQ(GetCaption(form_.hwnd()), HandleCaption(dialog.hwnd()));
  EXPECT_EQ(GetCaption(c().Text1), "Save changes");
  EXPECT_EQ(form_.picker().outline().outlined_hwnd, dialog.hwnd());
  // The first window's frame was erased when the pointer left it.
  EXPECT_NE(Pixel(other, 0, 75), kRed);
  EXPECT_EQ(Pixel(dialog.hwnd(), 0, 80), kRed);
  EXPECT_EQ(form_.picker().picked_class(), "#32770");
  EXPECT_EQ(GetCaption(c().Text4), "#32770");
  EXPECT_EQ(form_.picker().button_count(), 4);
  EXPECT_EQ(Offered(), (std::vector<std::string>{"&Yes", "No", "Retry"}));
  EXPECT_TRUE(GetOptionValue(c().Op1[0]));
  EXPECT_FALSE(GetOptionValue(c().Op1[2]));
  EXPECT_EQ(test::Items(c().List1),
            (std::vector<std::string>{"&Yes\tButton", "No\tButton", "Retry\tButton",
                                      "Ignore\tButton", "\tStatic"}));
  ::DestroyWindow(spaces);

  // A press and release without movement captures the same window again;
  // the chooser is emptied by the press and filled again by the scan.
  Drag({});
  EXPECT_EQ(form_.picker().picked_window(), dialog.hwnd());
  EXPECT_EQ(Offered(), (std::vector<std::string>{"&Yes", "No", "Retry"}));
  ::DestroyWindow(other);
}

TEST_F(Capture, AGroupBoxAndACheckBoxBeforeTheButtonsAreNeverOffered) {
  test::TestDialog dialog("Options", {});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  int x = 0;
  auto make = [&](const char* text, DWORD kind) {
    return ::CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | kind, x += 80, 40, 75, 24,
                             dialog.hwnd(), nullptr, nullptr, nullptr);
  };
  make("Settings", BS_GROUPBOX);
  make("Don't ask again", BS_AUTOCHECKBOX);
  HWND ok = make("OK", BS_DEFPUSHBUTTON);
  make("Cancel", BS_PUSHBUTTON);
  make("Help", BS_PUSHBUTTON);
  ::UpdateWindow(dialog.hwnd());
  Drag({ok});
  EXPECT_EQ(Offered(), (std::vector<std::string>{"OK", "Cancel", "Help"}));
  EXPECT_TRUE(GetOptionValue(c().Op1[0]));
}

TEST_F(Capture, LosingTheMouseMidDragEndsThePickWithoutAScan) {
  test::TestDialog dialog("Target", {"&Yes", "No"});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  ::UpdateWindow(dialog.hwnd());
  form_.OnPictureMouse(kIdPicture2, WM_LBUTTONDOWN, {});
  RECT r;
  ::GetWindowRect(dialog.hwnd(), &r);
  ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  form_.OnPictureMouse(kIdPicture2, WM_MOUSEMOVE, {});
  ASSERT_EQ(Pixel(dialog.hwnd(), 0, 80), kRed);
  ASSERT_EQ(::GetCapture(), c().Picture2);

  // Another window of the program takes the mouse, as an activation would.
  HWND other = Canvas(50, 50, "Other");
  ::SetCapture(other);
  EXPECT_FALSE(form_.picker().picking());
  EXPECT_NE(Pixel(dialog.hwnd(), 0, 80), kRed);
  EXPECT_EQ(GetPicture(c().Picture2), kCursorPicker);
  EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_TRUE(Offered().empty());
  EXPECT_EQ(ListCount(c().List1), 0);
  EXPECT_EQ(form_.picker().picked_class(), "");
  ::ReleaseCapture();
  ::DestroyWindow(other);
}

TEST_F(Capture, AddRefusesATitleLongerThanThePickerReads) {
  test::TestDialog dialog("Question", {"OK"});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  ::UpdateWindow(dialog.hwnd());
  const std::string before = ReadFile("w.ini");
  ::SetWindowTextA(dialog.hwnd(), std::string(200, 'L').c_str());
  Drag({dialog.hwnd()});
  EXPECT_EQ(GetCaption(c().Text1), std::string(kWindowTextMax, 'L'));
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kTitleCutMessage);
  EXPECT_EQ(ReadFile("w.ini"), before);

  // A title that fits exactly is whole.
  ::SetWindowTextA(dialog.hwnd(), std::string(kWindowTextMax, 'L').c_str());
  Drag({dialog.hwnd()});
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kAddedMessage);
  EXPECT_NE(ReadFile("w.ini").find("Title2=" + std::string(kWindowTextMax, 'L') + "[OK]<<#32770>>"),
            std::string::npos);
}

TEST_F(Capture, TheRhinocerosWarningLooksAtTheParentAndTheGrandparentOnly) {
  struct Case {
    const char* grandparent;
    const char* parent;
    bool on_button;  // released over the dialog's button, not the dialog
    const char* text2;
    bool warned;
  };
  const Case cases[] = {
      {"", "Rhinoceros 8 - part.3dm", true, "Rhinoceros 8 - part.3dm", false},
      {"Rhinoceros 8 - part.3dm", "Options", false, "Rhinoceros 8 - part.3dm level2 ", false},
      {"", "rhinoceros", false, " level2 ", true},
      {"Rhinoceros 8", " Rhinoceros", true, "Rhinoceros 8 level2 ", false},
      {"rhinoceros 8", "Options", true, "rhinoceros 8 level2 ", true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.parent);
    HWND grandparent = Canvas(300, 200, k.grandparent, nullptr, WS_OVERLAPPEDWINDOW);
    HWND owner = Canvas(300, 200, k.parent, grandparent, WS_POPUP | WS_CAPTION);
    HWND dialog = Canvas(300, 150, "Question", owner, WS_POPUP | WS_CAPTION);
    ::SetWindowPos(dialog, HWND_TOPMOST, 500, 400, 0, 0, SWP_NOSIZE);
    ::UpdateWindow(dialog);
    HWND button = ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30,
                                    dialog, nullptr, nullptr, nullptr);
    Drag({k.on_button ? button : dialog});
    EXPECT_EQ(form_.picker().picked_window(), dialog);
    EXPECT_EQ(GetCaption(c().Text2), k.text2);
    EXPECT_EQ(IsVisible(c().Label3), k.warned);
    if (k.warned) {
      EXPECT_EQ(GetCaption(c().Label3), kNoRhinocerosMessage);
    }
    ::DestroyWindow(grandparent);
  }
}

TEST_F(Capture, ALetGoOverAButtonChoosesItAndOverNoDialogCapturesNothing) {
  test::TestDialog dialog("Replace", {"&Yes", "Yes to &All", "&No", "No to A&ll", "Cancel"});
  // Clear of the main window and the screen's middle, which are dragged
  // over too, and wide enough for its five buttons.
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 700, 600, 520, 160, 0);
  ::UpdateWindow(dialog.hwnd());
  HWND text = dialog.Say("Replace part1.3dm?");
  HWND untitled = ::CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 10, 40, 60, 24,
                                    dialog.hwnd(), nullptr, nullptr, nullptr);
  const std::vector<std::string> first_three{"&Yes", "Yes to &All", "&No"};
  struct Case {
    HWND over;
    std::vector<std::string> offered;
    int chosen;
  };
  const Case cases[] = {
      {dialog.button(1), first_three, 1},
      {text, first_three, 0},
      {untitled, first_three, 0},
      {dialog.button(3), {"&Yes", "Yes to &All", "No to A&ll"}, 2},
      {dialog.button(4), {"&Yes", "Yes to &All", "Cancel"}, 2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.chosen);
    Drag({k.over});
    EXPECT_EQ(form_.picker().picked_window(), dialog.hwnd());
    EXPECT_EQ(GetCaption(c().Text6), "Replace part1.3dm?");
    EXPECT_EQ(Offered(), k.offered);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(GetOptionValue(c().Op1[i]), i == k.chosen) << i;
  }

  // Added, the fifth button is watched at once.
  SetCaption(c().Text6, "Replace");
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kAddedMessage);
  EXPECT_EQ(
      ReadFile("w.ini"),
      "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=Old[OK]<<#32770>>\r\n"
      "Message2=Replace\r\nProgram2=pallix_tests.exe\r\nTitle2=Replace[Cancel]<<#32770>>\r\n");
  EXPECT_EQ(
      test::Rows(c().List2),
      (std::vector<std::string>{"Old|||OK|0|", "Replace|pallix_tests.exe|Replace|Cancel|0|"}));

  // Over this program's own window, or over no window at all.
  RECT screen;
  ::GetWindowRect(::GetDesktopWindow(), &screen);
  ASSERT_EQ(::WindowFromPoint({screen.right / 2, screen.bottom / 2}), ::GetDesktopWindow());
  for (HWND over : {form_.hwnd(), c().Command3, ::GetDesktopWindow()}) {
    Drag({over});
    EXPECT_EQ(form_.picker().picked_class(), "");
    EXPECT_EQ(GetCaption(c().Text1), "");
    EXPECT_EQ(GetCaption(c().Text6), "");
    form_.OnCommand(kIdCommand3);
    EXPECT_EQ(GetCaption(c().Label3), kNothingPickedMessage);
  }
}

TEST_F(Capture, TheDialogsProgramIsOfferedAndBindsTheEntryUnlessUnticked) {
  test::TestDialog dialog("Confirm", {"&Yes", "&No"});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 700, 600, 300, 120, 0);
  ::UpdateWindow(dialog.hwnd());
  dialog.Say("Delete it?");
  EXPECT_FALSE(IsVisible(c().Check1));  // nothing captured yet
  auto add = [&](bool only_from) {
    Drag({dialog.button(0)});
    EXPECT_TRUE(IsVisible(c().Check1));
    EXPECT_EQ(GetCaption(c().Check1), "Only from pallix_tests.exe");
    EXPECT_TRUE(GetCheckValue(c().Check1));
    EXPECT_TRUE(::IsWindowEnabled(c().Check1));
    if (!only_from) ::SendMessageA(c().Check1, BM_CLICK, 0, 0);
    form_.OnCommand(kIdCommand3);
    return GetCaption(c().Label3);
  };
  // One title and message from two programs (here: one, and every one) are
  // two entries; the same again is a duplicate.
  EXPECT_EQ(add(true), kAddedMessage);
  EXPECT_EQ(add(false), kAddedMessage);
  EXPECT_EQ(add(false), kDuplicateMessage);
  EXPECT_EQ(add(true), kDuplicateMessage);
  EXPECT_EQ(ReadFile("w.ini"),
            "[WindowTitles]\r\nNum_Windows=3\r\nTitle1=Old[OK]<<#32770>>\r\n"
            "Message2=Delete it?\r\nProgram2=pallix_tests.exe\r\nTitle2=Confirm[&Yes]<<#32770>>\r\n"
            "Message3=Delete it?\r\nTitle3=Confirm[&Yes]<<#32770>>\r\n");
  EXPECT_EQ(test::Rows(c().List2)[1], "Confirm|pallix_tests.exe|Delete it?|&Yes|0|");

  // A drop on nothing that could be stored shows no program.
  Drag({form_.hwnd()});
  EXPECT_FALSE(IsVisible(c().Check1));
}

TEST_F(Capture, AButtonWhoseCaptionAnotherButtonHasFirstIsNeverStored) {
  // A second "OK" in a panel, after the dialog's own: the monitor, looking
  // for "OK", comes to the dialog's own first.
  test::TestDialog dialog("Twins", {"OK", "Cancel"});
  ::SetWindowPos(dialog.hwnd(), HWND_TOPMOST, 700, 600, 400, 160, 0);
  HWND panel = ::CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 200, 60, 150, 60,
                                 dialog.hwnd(), nullptr, nullptr, nullptr);
  HWND inner = ::CreateWindowExA(0, "Button", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 30, panel,
                                 nullptr, nullptr, nullptr);
  ::UpdateWindow(dialog.hwnd());
  const std::string before = ReadFile("w.ini");

  Drag({inner});
  EXPECT_EQ(Offered(), (std::vector<std::string>{"OK", "Cancel", "OK"}));
  EXPECT_TRUE(GetOptionValue(c().Op1[2]));
  EXPECT_EQ(GetCaption(c().Label3), kTwinCaptionMessage);
  EXPECT_TRUE(IsVisible(c().Label3));
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kTwinCaptionMessage);
  EXPECT_EQ(ReadFile("w.ini"), before);

  // The first of the caption is the one pressed: it may be taught.
  SetOptionValue(c().Op1[0], true);
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kAddedMessage);

  // With the dialog's own disabled, the panel's is the one pressed.
  ::EnableWindow(dialog.button(0), FALSE);
  ::SetWindowTextA(dialog.hwnd(), "Twins again");
  Drag({inner});
  EXPECT_NE(GetCaption(c().Label3), kTwinCaptionMessage);
  form_.OnCommand(kIdCommand3);
  EXPECT_EQ(GetCaption(c().Label3), kAddedMessage);
}

// "Add" on the chosen file, with a capture made by hand in the controls.
class Add : public Capture {
 protected:
  void Choose(const char* title, int option, const char* caption, const char* message = "") {
    SetCaption(c().Text1, title);
    SetCaption(c().Text6, message);
    if (option >= 0) {
      SetCaption(c().cmd1[option], caption);
      SetOptionValue(c().Op1[option], true);
    }
  }
  void Press(PickedWindow picked = {"#32770", false}) {
    Command3_Click(AddControls{c().Combo1, c().Text1, c().Text6, c().cmd1, c().Op1, c().Label3},
                   picked, table_, ReadIniControls{c().Combo1, c().Text3});
  }
  // Label3's message, shown, in its colour, and whole on its one line.
  void ExpectSaid(const char* message, COLORREF colour) {
    EXPECT_TRUE(IsVisible(c().Label3));
    EXPECT_EQ(GetCaption(c().Label3), message);
    EXPECT_EQ(GetForeColor(c().Label3), colour);
    HDC dc = ::GetDC(c().Label3);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(c().Label3, WM_GETFONT, 0, 0)));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, message, static_cast<int>(std::strlen(message)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(c().Label3, dc);
    RECT r;
    ::GetClientRect(c().Label3, &r);
    EXPECT_LE(size.cx, r.right) << message;
  }
};

TEST_F(Add, StoresTheEntryAndItsCountAndLoadsTheFileAgain) {
  // The first entry of a file that does not exist yet.
  SetCaption(c().Combo1, "new.ini");
  Choose(" Save changes ", -1, "");
  Press();
  EXPECT_EQ(ReadFile("new.ini"),
            "[WindowTitles]\r\nTitle1=Save changes[DEFAULT]<<#32770>>\r\nNum_Windows=1\r\n");

  WriteFile(
      "two.ini",
      "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n");
  SetCaption(c().Combo1, "two.ini");
  Choose("Save changes", 1, "&No");
  Press();
  EXPECT_EQ(
      ReadFile("two.ini"),
      "[WindowTitles]\r\nNum_Windows=3\r\nTitle1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n"
      "Title3=Save changes[&No]<<#32770>>\r\n");
  ExpectSaid(kAddedMessage, kAddedColour);
  EXPECT_EQ(GetCaption(c().Text3), "3");
  ASSERT_EQ(table_.Count(), 3);
  EXPECT_EQ(table_.watch_title[3], "Save changes");
  EXPECT_EQ(table_.watch_button[3], "&No");
}

TEST_F(Add, AMessageIsStoredBeforeItsEntryAndTellsEntriesOfOneTitleApart) {
  BoxAnswerer boxes;  // none expected
  const std::string one =
      "[WindowTitles]\r\nNum_Windows=1\r\nTitle1=Generic[&No]<<#32770>>\r\n"
      "Message1=Save changes to\r\nMessage2=left over\r\n";
  WriteFile("g.ini", one);
  SetCaption(c().Combo1, "g.ini");
  // Same title and message, then same title and (two) empty messages.
  const char* const duplicates[][2] = {{"Generic", "Save changes to"}, {" Generic ", ""}};
  Choose("Generic", 0, "&Yes", "");
  Press();
  ExpectSaid(kAddedMessage, kAddedColour);
  Choose("Generic", 1, "&Yes", "Delete all [x] <<y>> a=b");
  Press();
  ExpectSaid(kAddedMessage, kAddedColour);
  // The message left beside no entry went before it could join the second.
  EXPECT_EQ(ReadFile("g.ini"),
            "[WindowTitles]\r\nNum_Windows=3\r\nTitle1=Generic[&No]<<#32770>>\r\n"
            "Message1=Save changes to\r\nMessage2=\r\nTitle2=Generic[&Yes]<<#32770>>\r\n"
            "Message3=Delete all [x] <<y>> a=b\r\nTitle3=Generic[&Yes]<<#32770>>\r\n");
  ASSERT_EQ(table_.Count(), 3);
  EXPECT_EQ(table_.watch_message[3], "Delete all [x] <<y>> a=b");

  const std::string three = ReadFile("g.ini");
  for (const auto& [title, message] : duplicates) {
    Choose(title, 0, "&No", message);
    Press();
    ExpectSaid(kDuplicateMessage, kRefusedColour);
  }
  // What the file would give back otherwise.
  for (const std::string& message :
       {std::string(" lead"), std::string("trail\t"), std::string("\"quoted\""), std::string("   "),
        std::string(256, 'm')}) {
    Choose("New", 0, "OK", message.c_str());
    Press();
    ExpectSaid(kMessageNotStorableMessage, kRefusedColour);
  }
  EXPECT_EQ(ReadFile("g.ini"), three);
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(Add, RefusesWhatCouldNeverBeAnsweredOrStoredAndWritesNothing) {
  const std::string two =
      "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=A[OK]<<#32770>>\r\nTitle2= Save [&Yes]<<X>>\r\n";
  const std::string full = "[WindowTitles]\r\nNum_Windows=1000\r\n";
  const std::string long_title(250, 't');
  struct Case {
    const std::string& file;
    const char* title;
    const char* caption;
    PickedWindow picked;
    std::string message;
  };
  const PickedWindow dialog{"#32770", false};
  const Case cases[] = {
      {two, "  Save  ", "OK", dialog, kDuplicateMessage},
      {full, "New", "OK", dialog, "Entry 1001 is over the limit. NOT added!"},
      {two, "New", "OK", {"", false}, kNothingPickedMessage},
      {two, "New", "OK", {"#32770", true}, kTitleCutMessage},
      {two, "New", "OK", {"#32770", false, true}, kTitleBeyondAnsiMessage},
      {two, "New", "OK", {"#32770", false, false, {true}}, kButtonBeyondAnsiMessage},
      {two, "Save [draft]", "OK", dialog, kNotStorableMessage},
      {two, "New", "O]K", dialog, kNotStorableMessage},
      {two, "New", " OK", dialog, kNotStorableMessage},
      {two, "Two\r\nlines", "OK", dialog, kNotStorableMessage},
      {two, long_title.c_str(), "OK", dialog, kNotStorableMessage},
  };
  SetCaption(c().Combo1, "w.ini");
  for (const Case& k : cases) {
    SCOPED_TRACE(k.message);
    WriteFile("w.ini", k.file);
    Choose(k.title, 0, k.caption);
    SetVisible(c().Label3, false);
    Press(k.picked);
    EXPECT_EQ(ReadFile("w.ini"), k.file);
    ExpectSaid(k.message.c_str(), kRefusedColour);
  }

  // A file Windows will not let us write: nothing changes, and it is said.
  WriteFile("w.ini", two);
  HANDLE held = test::HoldForReading("w.ini");
  Choose("New", 0, "OK");
  Press();
  EXPECT_EQ(ReadFile("w.ini"), two);
  ExpectSaid(kWriteFailedMessage, kRefusedColour);
  ::CloseHandle(held);

  // The next Add that succeeds replaces the refusal with its confirmation.
  SetCaption(c().Combo1, "other.ini");
  Press();
  EXPECT_EQ(ReadFile("other.ini"),
            "[WindowTitles]\r\nTitle1=New[OK]<<#32770>>\r\nNum_Windows=1\r\n");
  ExpectSaid(kAddedMessage, kAddedColour);
}

TEST_F(Add, WithoutAUsableCountTheEntriesWrittenByHandAreKept) {
  for (const char* count : {"", "Num_Windows=x\r\n"}) {
    SCOPED_TRACE(count);
    WriteFile("hand.ini", std::string("[WindowTitles]\r\n") + count +
                              "Title1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n");
    SetCaption(c().Combo1, "hand.ini");
    Choose("C", 0, "OK");
    Press();
    std::string file = ReadFile("hand.ini");
    EXPECT_NE(file.find("Title1=A[OK]<<#32770>>\r\nTitle2=B[OK]<<#32770>>\r\n"
                        "Title3=C[OK]<<#32770>>\r\n"),
              std::string::npos)
        << file;
    EXPECT_NE(file.find("Num_Windows=3\r\n"), std::string::npos) << file;
  }
}

}  // namespace
}  // namespace pallix
