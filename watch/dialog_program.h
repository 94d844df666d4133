// The program a dialog belongs to: the file name of its process's image, read
// the one way that the capture, Add and the monitor use, so that an entry
// taught from one program answers that program's dialogs and no other's.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pallix {

// The file name of the program that owns `process` (opened with at least
// PROCESS_QUERY_LIMITED_INFORMATION), as ANSI text; empty when Windows does
// not say (no handle, a process it keeps from us) or when the name has
// characters the ANSI code page cannot hold, which would read as "?" and
// could name another program.
std::string ProgramFileName(HANDLE process);

// The same for the process of that id, and for the one that owns `window`.
std::string ProcessProgram(DWORD process_id);
std::string WindowProgram(HWND window);

// The last piece of a full path: what follows its last "\" or "/".
std::string_view FileNameOf(std::string_view path);

// Program names as Windows compares file names: without regard to case.
bool SameProgram(std::string_view a, std::string_view b);

// Whether an entry bound to `bound` (empty: bound to none) answers a dialog
// of `program`. An entry without a program answers every program, as every
// entry did before entries named one; one with a program answers only a
// dialog whose program Windows names, and names so.
bool ProgramFits(std::string_view bound, std::string_view program);

}  // namespace pallix
