// The scene on the simulated desktop.
#include <iostream>

#include "platform/sim/sim.h"
#include "platform/user32.h"
#include "tests/sim_diff/scene.h"

namespace {

using namespace pallix;

class SimBuilder final : public simdiff::Builder {
 public:
  Hwnd Make(const simdiff::SceneWindow& w, Hwnd parent, Hwnd owner) override {
    sim::WindowSpec spec;
    spec.class_name = w.class_name;
    spec.text = w.text;
    spec.parent = parent;
    spec.owner = owner;
    spec.popup = w.popup;
    spec.visible = w.visible;
    spec.enabled = w.enabled;
    spec.rect = w.place;
    if (parent) {
      Rect p;
      GetWindowRect(parent, &p);
      spec.rect = Rect{p.left + w.place.left, p.top + w.place.top, p.left + w.place.right,
                       p.top + w.place.bottom};
    }
    return sim::AddWindow(spec);
  }
  int Clicks(Hwnd button) override { return sim::ClickCount(button); }
  void Destroy(Hwnd window) override { sim::DestroyWindow(window); }
};

}  // namespace

int main() {
  sim::Reset();
  SimBuilder builder;
  simdiff::Run(builder, std::cout);
  return 0;
}
