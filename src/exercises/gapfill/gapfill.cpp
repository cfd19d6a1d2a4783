#include "exercises/gapfill/gapfill.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "exercises/gapfill/font_measure.h"
#include "exercises/gapfill/gapfill_page.h"
#include "exercises/gapfill/multi_gap.h"
#include "exercises/gapfill/write_gap.h"
#include "objects/stage_control.h"

namespace vork {

namespace {

constexpr int kDefaultWidth = 300;
constexpr int kDefaultHeight = 200;
constexpr int32_t kScrollBoxColor = 0xFFFFFF;

}  // namespace

TVkGapfill::TVkGapfill(QWidget* parent) : QWidget(parent), gap_font_(font_) {
  gap_font_.SetStyle(TVkFont::kBold);
  setAutoFillBackground(true);
  SetControlColor(this, QPalette::Window, color_);
  scroll_box_ = new QScrollArea(this);
  scroll_box_->setFrameShape(QFrame::NoFrame);
  scroll_box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_box_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  scroll_box_->viewport()->setAutoFillBackground(true);
  SetControlColor(scroll_box_->viewport(), QPalette::Window, kScrollBoxColor);
  page_ = new TVkGapfillPage(scroll_box_);
  page_->resize(0, 0);
  scroll_box_->setWidget(page_);
  page_->installEventFilter(this);
  resize(kDefaultWidth, kDefaultHeight);
}

// The gaps go before the page that holds their fields.
TVkGapfill::~TVkGapfill() { gaps_.Clear(); }

void TVkGapfill::resizeEvent(QResizeEvent* event) {
  scroll_box_->setGeometry(rect());
  QWidget::resizeEvent(event);
}

void TVkGapfill::LoadLines(const std::vector<std::string>& lines) {
  const QScrollBar* scroll_bar = scroll_box_->verticalScrollBar();
  const GapfillPageSettings settings{width(), height(),
                                     scroll_bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll_bar),
                                     SpellMode};
  const QFont text_font = font_.ToQFont();
  const QFont gap_font = gap_font_.ToQFont();
  const GapfillLayout layout =
      LayoutGapfillPage(lines, TVkFontMeasure(text_font), TVkFontMeasure(gap_font), settings);
  gaps_.Clear();
  page_->Show(layout, text_font, font_.Color(), color_);
  for (const PlacedGap& placed : layout.gaps) AddGap(placed, layout.row_height, gap_font);
  scroll_box_->verticalScrollBar()->setValue(0);
}

void TVkGapfill::AddGap(const PlacedGap& placed, int32_t row_height, const QFont& gap_font) {
  std::unique_ptr<TVkFieldGap> gap;
  if (placed.kind == GapTokenKind::kWriteGap) {
    auto write = std::make_unique<TVkWriteGap>(page_, placed.items, gap_font, placed.width, row_height);
    write->SetText(placed.initial_text);
    gap = std::move(write);
  } else {
    // No taller than a row with a gap: the next row's words stay uncovered.
    gap = std::make_unique<TVkMultiGap>(page_, placed.items, gap_font, placed.width, row_height + 2);
  }
  gap->SetColors(font_.Color(), color_);
  gap->SetPosition(placed.left, placed.top);
  // The field is where a click shows the gap's comment.
  const QRect field = gap->Widget()->geometry();
  gap->HitRect = {field.left(), field.top(), field.left() + field.width(), field.top() + field.height()};
  gap->Widget()->installEventFilter(this);
  const TIVkGap* entered = gap.get();
  gap->OnEnter = [this, entered] { GapEntered(entered); };
  gap->Comment = placed.comment;
  gaps_.Add(std::move(gap));
}

void TVkGapfill::GapEntered(const TIVkGap* gap) {
  if (EnterRaisesEvent) {
    const std::function<void()> handler = OnGapEnter;
    if (handler) handler();
    return;
  }
  for (int index = 0; index < GapCount(); ++index) {
    if (&Gap(index) == gap) {
      Gap((index + 1) % GapCount()).SetFocus();
      return;
    }
  }
}

bool TVkGapfill::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && watched->isWidgetType())
    MouseReleased(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event)->position().toPoint());
  return QWidget::eventFilter(watched, event);
}

void TVkGapfill::MouseReleased(QWidget* widget, QPoint position) {
  const QPoint on_page = widget == page_ ? position : widget->mapTo(page_, position);
  for (const auto& gap : gaps_) {
    if (!gap->HitRect.Contains(on_page.x(), on_page.y())) continue;
    const std::function<void(const std::string&)> handler = OnComment;
    if (!gap->Comment.empty() && handler) handler(gap->Comment);
    return;
  }
}

int TVkGapfill::CheckAll(bool mark) {
  int right = 0;
  for (const auto& gap : gaps_) {
    if (gap->Check()) {
      ++right;
    } else if (mark) {
      gap->SetErrorColors(ErrorFontColor, ErrorBackColor);
    }
  }
  return right;
}

void TVkGapfill::ClearAll() {
  for (const auto& gap : gaps_) gap->Clear();
}

void TVkGapfill::ShowAllAnswers() {
  for (const auto& gap : gaps_) gap->ShowAnswer();
}

void TVkGapfill::ResetColors() {
  for (const auto& gap : gaps_) gap->SetColors(font_.Color(), color_);
}

void TVkGapfill::FocusFirst() {
  if (GapCount() > 0) Gap(0).SetFocus();
}

TIVkGap* TVkGapfill::FocusedGap() const {
  for (const auto& gap : gaps_) {
    if (gap->HasFocus()) return gap.get();
  }
  return nullptr;
}

std::string TVkGapfill::FocusedComment() const {
  const TIVkGap* gap = FocusedGap();
  return gap ? gap->Comment : std::string();
}

std::string TVkGapfill::FocusedHint() const {
  const auto* gap = dynamic_cast<const TVkWriteGap*>(FocusedGap());
  return gap ? gap->Hint() : std::string();
}

void TVkGapfill::SetColor(int32_t color) {
  color_ = color;
  SetControlColor(this, QPalette::Window, color);
}

}  // namespace vork
