// One Pallix per user session: a second start hands over to the running one
// and ends before it touches the icon or a file.
#pragma once

namespace pallix {

// Whether another Pallix runs in this session. The first to ask holds the
// session's lock from then on, until its process ends.
bool AnotherPallixRuns();
// Asks the running Pallix to show its main window and take the foreground,
// as "Open" in its menu would.
void BringRunningPallixToFront();

}  // namespace pallix
