#include "app/maker_links.h"

#include <shellapi.h>

namespace pallix {

void toUrl(HWND form) {
  // Whether a browser could be started is not reported: there is nothing
  // the user could do about it here.
  ::ShellExecuteA(form, nullptr, kMakerUrl, nullptr, "", SW_SHOWDEFAULT);
}

}  // namespace pallix
