#include "watch/recent_dialogs.h"

#include <algorithm>

#include "watch/dialog_message.h"
#include "watch/dialog_program.h"

namespace pallix {

bool SameDialog(const SeenDialog& a, const SeenDialog& b) {
  return a.title == b.title && a.message == b.message && SameProgram(a.program, b.program) &&
         ClassNameIs(a.window_class, b.window_class);
}

std::vector<std::size_t> OfferedButtons(const SeenDialog& dialog) {
  const std::size_t n = dialog.buttons.size();
  std::vector<std::size_t> offered;
  // Of a long row of buttons, the one Enter would press is the likeliest
  // answer; the first ones come next, as a drop offers them.
  if (n > 3) {
    auto is_default = std::ranges::find_if(dialog.buttons, &SeenButton::is_default);
    if (is_default != dialog.buttons.end()) {
      offered.push_back(static_cast<std::size_t>(is_default - dialog.buttons.begin()));
    }
  }
  for (std::size_t i = 0; i < n && offered.size() < 3; ++i) {
    if (std::ranges::find(offered, i) == offered.end()) offered.push_back(i);
  }
  return offered;
}

std::string ButtonsText(const SeenDialog& dialog) {
  std::string text;
  for (const SeenButton& button : dialog.buttons) {
    if (!text.empty()) text += ", ";
    text += button.caption;
    if (button.is_default) text += " (default)";
  }
  return text;
}

const DialogRecord& RecentDialogs::Note(HWND window, SeenDialog dialog, const SYSTEMTIME& at) {
  auto same = std::ranges::find_if(
      records_, [&](const DialogRecord& r) { return SameDialog(r.dialog, dialog); });
  DialogRecord record;
  if (same != records_.end()) {
    record = std::move(*same);
    records_.erase(same);
  } else {
    record.id = next_id_++;
    record.first = at;
  }
  // The latest sighting's buttons: a program may have changed its dialog.
  record.dialog = std::move(dialog);
  record.last = at;
  ++record.seen;
  records_.push_back(std::move(record));
  if (records_.size() > kKept) records_.erase(records_.begin());

  std::erase_if(windows_, [&](const auto& w) { return w.first == window || !Find(w.second); });
  windows_.emplace_back(window, records_.back().id);
  // The same dialog shown all day keeps its record, and would keep every
  // window it ever showed in: only the latest windows are told apart, an
  // answer coming within moments of the showing.
  if (windows_.size() > kKept) windows_.erase(windows_.begin());
  return records_.back();
}

bool RecentDialogs::NoteAgain(HWND window, const SeenDialog& key, const SYSTEMTIME& at) {
  auto same = std::ranges::find_if(
      records_, [&](const DialogRecord& r) { return SameDialog(r.dialog, key); });
  if (same == records_.end()) return false;
  SeenDialog known = same->dialog;
  Note(window, std::move(known), at);
  return true;
}

bool RecentDialogs::Answered(HWND window, std::string_view button) {
  auto found = std::ranges::find(windows_, window, &std::pair<HWND, std::uint64_t>::first);
  if (found == windows_.end()) return false;
  for (DialogRecord& record : records_) {
    if (record.id != found->second) continue;
    record.answered = button;
    return true;
  }
  return false;
}

const DialogRecord* RecentDialogs::Find(std::uint64_t id) const {
  auto found = std::ranges::find(records_, id, &DialogRecord::id);
  return found == records_.end() ? nullptr : &*found;
}

}  // namespace pallix
