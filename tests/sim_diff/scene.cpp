#include "tests/sim_diff/scene.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/gdi32.h"
#include "platform/user32.h"

namespace pallix::simdiff {
namespace {

// Top-level windows are borderless pop-ups where children or pixels matter,
// so that a window's rectangle is its client area on both sides.
const SceneWindow kScene[] = {
    {"owner", "PxFrame", "Rhinoceros 7", nullptr, nullptr, false, {40, 40, 300, 200}, false, true},
    {"save", "PxDialog", "Save changes", nullptr, "owner", true, {400, 300, 700, 500}, true, true},
    {"yes1", "Button", "&Yes", "save", nullptr, false, {10, 10, 90, 40}, true, true},
    // Not a static control: within one process a static lets the point
    // through to its parent, across processes it does not.
    {"panel", "PxFrame", "", "save", nullptr, false, {10, 50, 200, 150}, true, true},
    {"nested", "Button", "Nested", "panel", nullptr, false, {5, 5, 80, 30}, true, true},
    {"yes2", "Button", "&Yes", "save", nullptr, false, {100, 10, 180, 40}, true, true},
    {"off", "Button", "Off", "save", nullptr, false, {200, 10, 280, 40}, true, false},
    {"hidden", "Button", "Hidden", "save", nullptr, false, {200, 60, 280, 90}, false, true},
    {"untitled_button", "Button", "", "save", nullptr, false, {210, 110, 290, 140}, true, true},
    {"untitled", "PxDialog", "", nullptr, nullptr, true, {750, 300, 800, 350}, false, true},
    {"twin_a", "PxDialog", "Twin", nullptr, nullptr, true, {750, 400, 800, 450}, false, true},
    {"twin_b", "PxDialog", "Twin", nullptr, nullptr, true, {750, 460, 800, 510}, false, true},
    {"tool", "PxFrame", "Tool", nullptr, "owner", false, {40, 300, 300, 400}, false, true},
    {"hello", "PxDialog", "Hello world", nullptr, nullptr, true, {820, 300, 860, 320}, true, true},
    {"accents",
     "PxDialog",
     "Caf\xE9 ouvert",
     nullptr,
     nullptr,
     true,
     {900, 300, 920, 320},
     false,
     true},
};

class Scene {
 public:
  explicit Scene(Builder& builder) {
    for (const SceneWindow& w : kScene) {
      Hwnd parent = w.parent ? handles_.at(w.parent) : Hwnd{};
      Hwnd owner = w.owner ? handles_.at(w.owner) : Hwnd{};
      Hwnd h = builder.Make(w, parent, owner);
      handles_[w.name] = h;
      names_[h.value] = w.name;
    }
  }
  Hwnd operator[](const char* name) const { return handles_.at(name); }
  std::string Name(Hwnd h) const {
    if (!h) return "0";
    if (h == GetDesktopWindow()) return "desktop";
    auto it = names_.find(h.value);
    return it == names_.end() ? "other" : it->second;
  }

 private:
  std::map<std::string, Hwnd> handles_;
  std::map<std::uint32_t, std::string> names_;
};

std::string Quoted(const char* s) {
  if (!s) return "null";
  std::string quoted(1, '"');
  quoted += s;
  quoted += '"';
  return quoted;
}

}  // namespace

void Run(Builder& builder, std::ostream& out) {
  Scene scene(builder);
  builder.Settle();
  auto find = [&](const char* cls, const char* title) {
    out << "FindWindowA(" << Quoted(cls) << ", " << Quoted(title)
        << ") = " << scene.Name(FindWindowA(cls, title)) << "\n";
  };
  find("PxDialog", "Save changes");
  find("pxdialog", "SAVE CHANGES");
  find("PxDialog", "Save changes ");
  find("PxDialog", "Save");
  find(nullptr, "Save changes");
  find("PxFrame", nullptr);
  find("", "Save changes");
  find("", nullptr);
  find("PxDialog", "");
  find("PxDialog", "Twin");
  find("PxDialog", "caf\xC9 OUVERT");
  find("NoSuchClass", "Save changes");

  auto find_ex = [&](const char* parent, const char* after, const char* cls, const char* title) {
    Hwnd p = parent ? scene[parent] : Hwnd{};
    Hwnd a = after ? scene[after] : Hwnd{};
    out << "FindWindowExA(" << (parent ? parent : "0") << ", " << (after ? after : "0") << ", "
        << Quoted(cls) << ", " << Quoted(title)
        << ") = " << scene.Name(FindWindowExA(p, a, cls, title)) << "\n";
  };
  find_ex("save", nullptr, "Button", "&Yes");
  find_ex("save", "yes1", "Button", "&Yes");
  find_ex("save", "yes2", "Button", "&Yes");
  find_ex("save", nullptr, "Button", "Nested");
  find_ex("panel", nullptr, "button", "nested");
  find_ex("save", nullptr, "Button", "");
  find_ex("save", nullptr, "Button", "&YES");
  find_ex("save", nullptr, "Button", nullptr);
  find_ex("save", nullptr, "", "&Yes");
  find_ex(nullptr, nullptr, "PxDialog", "Save changes");
  find_ex(nullptr, nullptr, "Button", "&Yes");

  // Children in the order the window system keeps them.
  out << "children(save) =";
  for (Hwnd c = GetWindow(scene["save"], kGwChild); c; c = GetWindow(c, kGwHwndNext))
    out << " " << scene.Name(c);
  out << "\nGetWindow(nested, GW_CHILD) = " << scene.Name(GetWindow(scene["nested"], kGwChild))
      << "\n";

  for (const char* name : {"yes1", "nested", "save", "tool", "owner", "untitled"}) {
    out << "GetParent(" << name << ") = " << scene.Name(GetParent(scene[name])) << "\n";
  }

  for (int size : {0, 1, 6, 12, 100}) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    std::intptr_t n = SendMessageA(scene["hello"], kWmGetText, static_cast<std::uintptr_t>(size),
                                   reinterpret_cast<std::intptr_t>(buffer));
    out << "WM_GETTEXT(hello, " << size << ") = " << n << " \""
        << std::string(buffer, static_cast<std::size_t>(n))
        << "\" next=" << (size > 0 ? (buffer[n] == '\0' ? "NUL" : "not NUL") : "-") << "\n";
    std::memset(buffer, '#', sizeof buffer);
    int m = GetWindowTextA(scene["hello"], buffer, size);
    out << "GetWindowTextA(hello, " << size << ") = " << m << " \""
        << std::string(buffer, static_cast<std::size_t>(m > 0 ? m : 0)) << "\"\n";
  }
  for (int size : {3, 255}) {
    char buffer[256];
    int n = GetClassNameA(scene["save"], buffer, size);
    out << "GetClassNameA(save, " << size << ") = " << n << " \""
        << std::string(buffer, static_cast<std::size_t>(n)) << "\"\n";
  }

  for (const char* name : {"yes1", "off", "hidden", "nested", "untitled_button"}) {
    Hwnd button = scene[name];
    int before = builder.Clicks(button);
    SendMessageA(button, kBmClick, 0, 0);
    out << "BM_CLICK(" << name << ") clicks=" << builder.Clicks(button) - before << "\n";
  }

  // Screen points: save spans 400,300 to 700,500.
  const Point points[] = {{420, 320}, {410, 305}, {610, 320}, {470, 390}, {610, 370}, {1200, 900}};
  for (Point p : points) {
    out << "WindowFromPoint(" << p.x << ", " << p.y << ") = " << scene.Name(WindowFromPoint(p))
        << "\n";
  }
  Rect r;
  GetWindowRect(scene["nested"], &r);
  out << "GetWindowRect(nested) = " << r.left << "," << r.top << "," << r.right << "," << r.bottom
      << "\n";

  Hdc dc = GetWindowDC(scene["hello"]);
  out << "GetWindowDC(hello) " << (dc ? "given" : "none") << "\n";
  out << std::hex;
  out << "SetPixel(hello, 3, 4) = " << SetPixel(dc, 3, 4, Rgb(255, 0, 0)).value << "\n";
  out << "GetPixel(hello, 3, 4) = " << GetPixel(dc, 3, 4).value << "\n";
  out << "GetPixel(hello, 40, 0) = " << GetPixel(dc, 40, 0).value << "\n";
  out << "GetPixel(hello, 0, 20) = " << GetPixel(dc, 0, 20).value << "\n";
  out << "SetPixel(hello, -1, 0) = " << SetPixel(dc, -1, 0, Rgb(255, 0, 0)).value << "\n";
  out << std::dec;
  ReleaseDC(scene["hello"], dc);

  builder.Destroy(scene["save"]);
  out << "after destroy: IsWindow(yes1) = " << IsWindow(scene["yes1"])
      << " FindWindowA = " << scene.Name(FindWindowA("PxDialog", "Save changes")) << "\n";
}

}  // namespace pallix::simdiff
