// What the in-process tests share: the scratch folder the test program runs
// in (it is Pallix's own folder, as AppPath sees it), real dialogs made by the
// test, an answerer for the message boxes the handlers show, and the main
// window started on a file of one entry.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/form1.h"

namespace pallix::test {

// A file in the program's folder: whole contents, bytes as they are.
std::string FolderPath(const std::string& name);
void WriteFile(const std::string& name, const std::string& bytes);
std::string ReadFile(const std::string& name);
bool FileExists(const std::string& name);
// Opens the file as another program that lets others read it but not write
// it: writes fail as into a read-only file. (Under Wine run as root, as the
// tests are, the read-only attribute itself does not stop a write.)
HANDLE HoldForReading(const std::string& name);

// A configuration file's bytes with these entries, counted, as Pallix stores
// them.
std::string WatchFile(const std::vector<std::string>& entries);

// Registers a window class of this program; again, it does no harm.
void RegisterWindowClass(const char* name, WNDPROC proc = ::DefWindowProcA);
// The system's control `base` under a name of this program's, as Windows
// Forms names its controls.
void RegisterSuperclass(const char* base, const char* name);

// The items of one of our list boxes or combo boxes, in order.
std::vector<std::string> Items(HWND control);
// The rows of one of our tables, their cells joined by "|".
std::vector<std::string> Rows(HWND table);

// A message box as the answerer found it.
struct SeenBox {
  std::string title;
  std::string text;
  std::vector<std::string> buttons;  // texts, in the order of the box's children
};

// Watches, on a thread of its own, for message boxes of this process and
// answers each with the next of the given button texts (the last one
// repeats; none given: the box's first button). Every box is recorded.
// `before_answer` runs on that thread while each box is open, just before
// it is answered: what another program does while the user reads it.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::vector<std::string> answers = {},
                       std::function<void()> before_answer = {});
  ~BoxAnswerer();
  std::vector<SeenBox> Seen();

 private:
  void Run();
  std::vector<std::string> answers_;
  std::function<void()> before_answer_;
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A top-level dialog of class "#32770" made by the test on its own thread,
// with push buttons as direct children; it records the ids of the buttons
// clicked. Button i has id 100 + i.
class TestDialog {
 public:
  TestDialog(const char* title, const std::vector<const char*>& buttons,
             const char* window_class = "#32770");
  ~TestDialog();
  HWND hwnd() const { return hwnd_; }
  HWND button(std::size_t i) const { return buttons_.at(i); }
  const std::vector<int>& clicks() const { return clicks_; }
  // Adds a line of text (a "Static" child) after the dialog's other children.
  HWND Say(const char* text);
  // Destroys the dialog as its own click would; called by the first click
  // when the dialog is made to close.
  void CloseOnClick(bool close) { close_on_click_ = close; }
  // Runs on every click, before the click is recorded.
  std::function<void()> on_click;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  HWND hwnd_ = nullptr;
  std::vector<HWND> buttons_;
  std::vector<int> clicks_;
  int lines_ = 0;
  bool close_on_click_ = false;
};

// Every test starts in an empty folder (bar the test program) and with no
// window of a test left over.
class FolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

// The real main window, started on a file with one entry (no boxes).
class OneEntryForm : public FolderTest {
 protected:
  void SetUp() override;
  const Form1Controls& c() const { return form_.controls(); }
  // The captions of the buttons the chooser offers.
  std::vector<std::string> Offered() const;
  Form1 form_;
};

}  // namespace pallix::test
