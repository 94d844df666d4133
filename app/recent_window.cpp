#include "app/recent_window.h"

#include <algorithm>

#include "app/entry_list.h"

namespace pallix {
namespace {

// Places in pixels at 96 dpi, scaled to the screen's.
int Scaled(int pixels) {
  return static_cast<int>(pixels * 15.0 / TwipsPerPixelX() + 0.5);
}
constexpr int kMargin = 8, kButtonWidth = 88, kButtonHeight = 25;

}  // namespace

std::vector<std::string> RecordRow(const DialogRecord& record, const SYSTEMTIME& now) {
  const SeenDialog& d = record.dialog;
  return {LastAnswerText(record.last, now),
          std::to_string(record.seen),
          d.program,
          d.title,
          d.message,
          ButtonsText(d),
          record.answered};
}

RecentWindow::~RecentWindow() {
  if (c_.window) ::DestroyWindow(c_.window);
}

void RecentWindow::Create() {
  const RECT client{Scaled(80), Scaled(80), Scaled(80 + 720), Scaled(80 + 300)};
  c_.window = CreateSecondaryWindow(kRecentTitle, client, *this, kIdRecentTeach);
  if (!c_.window) return;
  // In the order Tab walks: the list, Teach, Close.
  c_.List = CreateControl(c_.window, ControlKind::kTable, kIdRecentList, "", RECT{});
  c_.Teach = CreateControl(c_.window, ControlKind::kButton, kIdRecentTeach, "&Teach", RECT{});
  c_.Close = CreateControl(c_.window, ControlKind::kButton, kIdRecentClose, "&Close", RECT{});
  if (!noticing_) {
    c_.Note = CreateControl(c_.window, ControlKind::kLabel, 0, kNotNoticingMessage, RECT{});
    SetForeColor(c_.Note, RGB(255, 0, 0));
  }
  // What the user tells dialogs apart by takes the most room.
  TableColumns(c_.List, {{"Last seen", 10},
                         {"Seen", 6},
                         {"Program", 14},
                         {"Title", 18},
                         {"It says", 24},
                         {"Buttons", 16},
                         {"Answered", 12}});
  RECT r;
  ::GetClientRect(c_.window, &r);
  OnResize(r.right, r.bottom);
}

void RecentWindow::Open() {
  if (!c_.window) Create();
  if (!c_.window) return;
  Update();
  if (TableSelected(c_.List) < 0 && TableRowCount(c_.List) > 0) TableSelect(c_.List, 0);
  OnTableSelection(kIdRecentList);
  SetVisible(c_.window, true);
  ::SetForegroundWindow(c_.window);
  ::SetFocus(c_.List);
}

void RecentWindow::Update() {
  if (!c_.window) return;
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  const std::vector<DialogRecord>& records = records_.records();
  // Newest first. Rows of records gone go; a record seen again moves to
  // the top; the other rows keep their place and change only their cells.
  for (int row = TableRowCount(c_.List) - 1; row >= 0; --row) {
    if (!records_.Find(TableRowKey(c_.List, row))) TableDeleteRow(c_.List, row);
  }
  int row = 0;
  for (auto record = records.rbegin(); record != records.rend(); ++record, ++row) {
    std::vector<std::string> cells = RecordRow(*record, now);
    if (TableRowKey(c_.List, row) == record->id) {
      for (int column = 0; column < static_cast<int>(cells.size()); ++column) {
        TableSetCell(c_.List, row, column, cells[column]);
      }
      continue;
    }
    bool chosen = false;
    for (int later = row + 1; later < TableRowCount(c_.List); ++later) {
      if (TableRowKey(c_.List, later) != record->id) continue;
      chosen = TableSelected(c_.List) == later;
      TableDeleteRow(c_.List, later);
      break;
    }
    TableInsertRow(c_.List, row, cells, record->id);
    if (chosen) TableSelect(c_.List, row);
  }
  OnTableSelection(kIdRecentList);
}

void RecentWindow::OnCommand(int control_id) {
  switch (control_id) {
    case kIdRecentTeach:
      Teach_Click();
      break;
    case kIdRecentClose:
      ::DestroyWindow(c_.window);
      break;
    default:
      break;
  }
}

void RecentWindow::OnTableSelection(int control_id) {
  if (control_id == kIdRecentList) ::EnableWindow(c_.Teach, TableSelected(c_.List) >= 0);
}

void RecentWindow::OnTableDblClick(int control_id, int row) {
  if (control_id != kIdRecentList || row < 0) return;
  // The row double-clicked, whichever was chosen before.
  TableSelect(c_.List, row);
  Teach_Click();
}

void RecentWindow::Teach_Click() {
  int row = TableSelected(c_.List);
  if (row < 0) return;
  std::uint64_t id = TableRowKey(c_.List, row);
  if (records_.Find(id) && teach_) teach_(id);
}

void RecentWindow::OnResize(int width, int height) {
  if (!c_.List) return;
  const int m = Scaled(kMargin), bw = Scaled(kButtonWidth), bh = Scaled(kButtonHeight);
  const int buttons_top = std::max(m, height - m - bh);
  ::MoveWindow(c_.List, m, m, std::max(0, width - 2 * m), std::max(0, buttons_top - 2 * m), TRUE);
  ::MoveWindow(c_.Close, std::max(m, width - m - bw), buttons_top, bw, bh, TRUE);
  ::MoveWindow(c_.Teach, std::max(m, width - 2 * m - 2 * bw), buttons_top, bw, bh, TRUE);
  if (c_.Note) {
    ::MoveWindow(c_.Note, m, buttons_top + Scaled(5), std::max(0, width - 4 * m - 2 * bw), bh,
                 TRUE);
  }
  TableFitColumns(c_.List);
}

}  // namespace pallix
