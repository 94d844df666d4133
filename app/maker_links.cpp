#include "app/maker_links.h"

#include "platform/shell32.h"

namespace pallix {

void toUrl(Hwnd form) {
  // Whether a browser could be started is not reported: there is nothing
  // the user could do about it here.
  ShellExecuteA(form, nullptr, kMakerUrl, nullptr, "", kSwShowDefault);
}

}  // namespace pallix
