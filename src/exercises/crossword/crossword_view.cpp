#include "exercises/crossword/crossword_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <utility>

#include "platform/cp1252.h"
#include "platform/qt/font.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/virtual_keys.h"
#include "scene/color_word.h"

namespace vork {

namespace {

constexpr int kCaretMilliseconds = 500;
constexpr CrKindSet kLetterCells = CrKinds({kCrFixed, kCrToFill});

bool IsMovementKey(int key) {
  switch (key) {
    case kVkBackspace: case kVkReturn: case kVkPageUp: case kVkPageDown: case kVkEnd: case kVkHome:
    case kVkLeft: case kVkUp: case kVkRight: case kVkDown: case kVkDelete:
      return true;
    default:
      return false;
  }
}

// Font sizes were chosen for 96 pixels per inch; letters keep their size in
// pixels on other screens.
int ScaledFontSize(int size) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double ppi = screen ? screen->logicalDotsPerInchY() : 96.0;
  return static_cast<int>(std::lround(size / (ppi / 96.0)));
}

struct CellColors {
  std::int32_t background;
  std::int32_t letter;
};

CellColors KindColors(std::uint8_t kind) {
  switch (kind) {
    case kCrBlack: return {0x000000, 0xFFFFFF};
    case kCrFixed: return {0xFFFFFF, 0x000000};
    default: return {0xFFFFFF, 0xFF0000};
  }
}

}  // namespace

TCrCrosswordView::TCrCrosswordView(QWidget* parent) : TCrCustomCrosswordView(parent) {
  // Clicks do not take the focus by themselves: a click selects with the
  // toggle only when the view already had it.
  setFocusPolicy(Qt::TabFocus);
  letter_size_ = ScaledFontSize(12);
  caret_timer_.setInterval(kCaretMilliseconds);
  QObject::connect(&caret_timer_, &QTimer::timeout, this, [this] { CaretTick(); });
  caret_timer_.start();
  SetData(nullptr);
}

void TCrCrosswordView::SetData(std::unique_ptr<TCrCrosswordData> crossword) {
  data_ = crossword ? std::move(crossword) : std::make_unique<TCrCrosswordData>(TCrCrosswordData::Sample());
  const TCrGrid& grid = data_->Grid();
  SetGridSize(grid.Width(), grid.Height());
  current_x_ = current_y_ = -1;
  across_ = true;
  word_ = {};
  const CrFound first = grid.FindCell(grid.Bounds(), 0, 0, true, true, CrKinds({kCrToFill}), 0);
  if (!first.found) return;
  suppress_focus_ = true;
  try {
    SelectCell(first.x, first.y, false);
  } catch (...) {
    suppress_focus_ = false;
    throw;
  }
  suppress_focus_ = false;
}

void TCrCrosswordView::SelectCell(int x, int y, bool toggle) {
  const TCrGrid& grid = data_->Grid();
  std::int32_t word = 0;
  if (!grid.TryCell(x, y, word)) return;
  const std::uint8_t kind = CrCell::FromWord(word).kind;
  if (kind != kCrFixed && kind != kCrToFill) return;
  const CrRect old_word = word_;
  if (x != current_x_ || y != current_y_) {
    if (!old_word.Contains(x, y)) across_ = true;
  } else if (toggle && hasFocus()) {
    across_ = !across_;
  }
  const CrRect probe = grid.WordExtent(x, y, across_);
  if ((probe.right - probe.left) * (probe.bottom - probe.top) <= 1) across_ = !across_;
  current_x_ = x;
  current_y_ = y;
  caret_visible_ = true;
  word_ = grid.WordExtent(x, y, across_);
  if (!suppress_focus_) setFocus(Qt::OtherFocusReason);
  RedrawWord(old_word);
  RedrawWord(word_);
  if (!(word_ == old_word) && OnWordChange) OnWordChange();
  if (OnCellChange) OnCellChange();
}

std::string TCrCrosswordView::CurrentWord() const {
  std::string letters;
  if (word_.Empty()) return letters;
  for (int y = word_.top; y < word_.bottom; ++y) {
    for (int x = word_.left; x < word_.right; ++x) letters += CellOf(x, y).solution;
  }
  return letters;
}

std::string TCrCrosswordView::CurrentCue() const { return data_->Cue(CurrentWord()); }

void TCrCrosswordView::SetLetterFont(int size, bool bold) {
  letter_size_ = ScaledFontSize(size);
  letter_bold_ = bold;
  RedrawAll();
}

void TCrCrosswordView::RedrawWord(const CrRect& word) {
  if (word.Empty()) return;
  RedrawCells(word.left, word.top, word.right - 1, word.bottom - 1);
}

void TCrCrosswordView::CaretTick() {
  caret_visible_ = !caret_visible_;
  if (data_->Grid().Inside(current_x_, current_y_)) RedrawCells(current_x_, current_y_, current_x_, current_y_);
}

void TCrCrosswordView::focusInEvent(QFocusEvent* event) {
  TCrCustomCrosswordView::focusInEvent(event);
  caret_visible_ = true;
  RedrawWord(word_);
}

void TCrCrosswordView::focusOutEvent(QFocusEvent* event) {
  TCrCustomCrosswordView::focusOutEvent(event);
  RedrawWord(word_);
}

void TCrCrosswordView::mousePressEvent(QMouseEvent* event) {
  const QPoint cell = CellAt(event->position().toPoint());
  SelectCell(cell.x(), cell.y(), hasFocus());
}

void TCrCrosswordView::keyPressEvent(QKeyEvent* event) {
  const int virtual_key = VirtualKeyOf(event->key());
  if (IsMovementKey(virtual_key)) {
    HandleKey(virtual_key, 0);
  } else if (!event->text().isEmpty()) {
    // One key gives one character, as a keyboard's character message does.
    const std::string bytes = FromQString(event->text());
    HandleKey(0, static_cast<unsigned char>(bytes.front()));
  } else {
    TCrCustomCrosswordView::keyPressEvent(event);
    return;
  }
  event->accept();
}

void TCrCrosswordView::HandleKey(int virtual_key, unsigned char character) {
  if (virtual_key == 0) {
    if (character > 31) TypeCharacter(character);
    return;
  }
  MoveBy(virtual_key);
}

void TCrCrosswordView::TypeCharacter(unsigned char character) {
  TCrGrid& grid = data_->Grid();
  if (!grid.Inside(current_x_, current_y_)) return;
  const char upper = UpperCp1252(static_cast<char>(character));
  CrCell cell = CellOf(current_x_, current_y_);
  if (cell.kind != kCrToFill && cell.shown != upper) {
    QApplication::beep();
    return;
  }
  cell.shown = upper;
  grid.SetCell(current_x_, current_y_, cell.Word());
  RedrawCells(current_x_, current_y_, current_x_, current_y_);
  MoveBy(across_ ? kVkRight : kVkDown);
}

void TCrCrosswordView::SelectFound(const CrFound& found) {
  if (found.found) SelectCell(found.x, found.y, false);
}

void TCrCrosswordView::MoveBy(int virtual_key) {
  const TCrGrid& grid = data_->Grid();
  const int x = current_x_;
  const int y = current_y_;
  const CrRect column{x, 0, x + 1, grid.Height()};
  const auto across_start = [&] {
    const CrRect extent = grid.WordExtent(current_x_, current_y_, true);
    SelectFound(grid.FindCell(grid.Bounds(), extent.left, extent.top, true, true, kLetterCells, 0));
  };
  const auto across_end = [&] {
    const CrRect extent = grid.WordExtent(current_x_, current_y_, true);
    SelectFound(grid.FindCell(grid.Bounds(), extent.right - 1, extent.top, true, false, kLetterCells, 0));
  };
  const auto previous = [&] {
    SelectFound(grid.FindCell(grid.Bounds(), current_x_, current_y_, false, false, kLetterCells, 0));
  };
  const auto next = [&] {
    const CrFound found = grid.FindCell(grid.Bounds(), current_x_, current_y_, false, true, kLetterCells, 0);
    SelectCell(found.found ? found.x : current_x_, found.found ? found.y : current_y_, false);
  };
  switch (virtual_key) {
    case kVkBackspace:
    case kVkLeft: previous(); break;
    case kVkRight: next(); break;
    case kVkUp: SelectFound(grid.FindCell(column, x, y, false, false, kLetterCells, 0)); break;
    case kVkDown: {
      const CrFound found = grid.FindCell(column, x, y, false, true, kLetterCells, 0);
      if (found.found) across_ = false;
      SelectCell(found.found ? found.x : x, found.found ? found.y : y, false);
      break;
    }
    case kVkHome: across_start(); break;
    case kVkEnd: across_end(); break;
    case kVkPageUp:
      across_start();
      previous();
      across_start();
      break;
    case kVkPageDown:
      across_end();
      next();
      break;
    case kVkReturn: SelectCell(x, y, true); break;
    case kVkDelete: TypeCharacter(' '); break;
    default: break;
  }
}

void TCrCrosswordView::DrawCell(int x, int y, QPainter& canvas) {
  const CrCell cell = CellOf(x, y);
  const QRect box = CellRect(x, y);
  canvas.fillRect(OuterCellRect(x, y), Qt::black);

  auto [background, letter] = KindColors(cell.kind);
  const bool focused = hasFocus();
  const bool current = x == current_x_ && y == current_y_;
  if (current) {
    background = focused ? 0x0000FF : 0x0000B0;
  } else if (word_.Contains(x, y)) {
    background = focused ? 0x00FFFF : 0x60D0D0;
  } else if (cell.emphasized) {
    background = 0xD8D8D8;
  }
  canvas.fillRect(box, ColorFromWord(background));

  // A cleared grid holds NUL letters: nothing to draw, as for a blank.
  if (cell.shown != ' ' && cell.shown != '\0') {
    QFont font(FontFamilyFor("Arial"));
    font.setPointSize(letter_size_);
    font.setBold(letter_bold_);
    canvas.setFont(font);
    canvas.setPen(ColorFromWord(letter));
    const QString text = ToQString(std::string(1, cell.shown));
    const QFontMetrics metrics(font);
    const int left = box.left() + (box.width() - metrics.horizontalAdvance(text)) / 2;
    const int top = box.top() + (box.height() - metrics.height()) / 2;
    canvas.drawText(left, top + metrics.ascent(), text);
  }

  if (cell.emphasized) {
    const TCrGrid& grid = data_->Grid();
    const auto emphasized = [&grid](int cx, int cy) {
      std::int32_t word = 0;
      return grid.TryCell(cx, cy, word) && CrCell::FromWord(word).emphasized;
    };
    const int l = box.left();
    const int t = box.top();
    const int r = box.left() + box.width();
    const int b = box.top() + box.height();
    const int w = box.width();
    const int h = box.height();
    // Towards an emphasized neighbour only stubs carry the frame's side
    // lines across the grid line, so that an area reads as one frame.
    if (emphasized(x, y - 1)) {
      canvas.fillRect(l + 1, t, 1, 2, Qt::black);
      canvas.fillRect(r - 2, t, 1, 2, Qt::black);
    } else {
      canvas.fillRect(l + 1, t + 1, w - 2, 1, Qt::black);
    }
    if (emphasized(x + 1, y)) {
      canvas.fillRect(r - 2, t + 1, 2, 1, Qt::black);
      canvas.fillRect(r - 2, b - 2, 2, 1, Qt::black);
    } else {
      canvas.fillRect(r - 2, t + 1, 1, h - 2, Qt::black);
    }
    if (emphasized(x, y + 1)) {
      canvas.fillRect(l + 1, b - 2, 1, 2, Qt::black);
      canvas.fillRect(r - 2, b - 2, 1, 2, Qt::black);
    } else {
      canvas.fillRect(l + 1, b - 2, w - 2, 1, Qt::black);
    }
    if (emphasized(x - 1, y)) {
      canvas.fillRect(l, t + 1, 2, 1, Qt::black);
      canvas.fillRect(l, b - 2, 2, 1, Qt::black);
    } else {
      canvas.fillRect(l + 1, t + 1, 1, h - 2, Qt::black);
    }
  }

  if (current && focused) {
    if (cell.kind == kCrFixed) {
      canvas.fillRect(box, QBrush(Qt::black, Qt::Dense4Pattern));
    } else if (cell.kind == kCrToFill && caret_visible_) {
      const int bottom = box.top() + box.height();
      canvas.fillRect(box.left() + 3, bottom - 4, box.width() - 6, 2, Qt::black);
    }
  }
}

}  // namespace vork
