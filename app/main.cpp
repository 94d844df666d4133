// Starting the process creates and loads the main window; everything else
// happens in its event handlers.
#include "app/form1.h"
#include "ui/toolkit.h"

int main() {
  pallix::Form1 form;
  form.Create();
  form.Start();
  return pallix::RunMessageLoop();
}
