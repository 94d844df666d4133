// Starting the process creates and loads the main window; everything else
// happens in its event handlers. A second start in the same session hands
// over to the running Pallix and ends before it touches anything.
#include <string>
#include <vector>

#include "app/autostart.h"
#include "app/form1.h"
#include "app/single_instance.h"
#include "ui/toolkit.h"

int main(int argc, char** argv) {
  bool background = pallix::HasBackgroundSwitch(std::vector<std::string>(argv + 1, argv + argc));
  if (pallix::AnotherPallixRuns()) {
    // A start at logon while Pallix already runs has nothing to show.
    if (!background) pallix::BringRunningPallixToFront();
    return 0;
  }
  pallix::Form1 form;
  form.Create();
  form.Start(background);
  return pallix::RunMessageLoop();
}
