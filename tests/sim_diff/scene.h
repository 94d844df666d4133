// One desktop scene and one list of questions about it, asked through the
// platform seam. The Windows probe builds the scene with real windows and
// asks kernel32/user32 under Wine; the host runner builds it on the
// simulated desktop. Both print the answers in the same words, so any
// difference is a place where the simulation is not Windows.
#pragma once

#include <ostream>
#include <string>

#include "platform/types.h"

namespace pallix::simdiff {

struct SceneWindow {
  const char* name;
  const char* class_name;
  const char* text;
  const char* parent;  // a child window of this one
  const char* owner;   // a top-level window owned by this one
  bool popup;          // WS_POPUP; otherwise an overlapped top-level window
  Rect place;          // screen pixels for top-level windows, parent-relative for children
  bool visible;
  bool enabled;
};

// Makes the windows; answers whether a button reported a click to its parent.
class Builder {
 public:
  virtual Hwnd Make(const SceneWindow& window, Hwnd parent, Hwnd owner) = 0;
  virtual int Clicks(Hwnd button) = 0;
  virtual void Destroy(Hwnd window) = 0;
  // Lets the new windows settle before the questions.
  virtual void Settle() {}

 protected:
  ~Builder() = default;
};

// Builds the scene and writes one line per answer.
void Run(Builder& builder, std::ostream& out);

}  // namespace pallix::simdiff
