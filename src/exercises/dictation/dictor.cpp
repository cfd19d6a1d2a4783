#include "exercises/dictation/dictor.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>

#include "exercises/dictation/dictation_result.h"
#include "text/normalize.h"
#include "objects/stage_control.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/qt/font.h"
#include "platform/qt/qt_text.h"
#include "scene/color_word.h"
#include "resources/qt_picture.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kTopHeight = 62;
constexpr int kInstructionHeight = 80;
constexpr int kButtonPanelHeight = 33;
constexpr int kBorder = 8;
constexpr std::int32_t kPanelColor = 0xF1E2E1;
// The caret goes here after an initial text: past the end of any ordinary text.
constexpr int kCaretAfterInitialText = 32000;
constexpr std::int64_t kResumeRepeatsMs = 2000;

const char kListen[] = "Li&sten";
const char kPause[] = "Pau&se";
const char kShowText[] = "Show &Text";
const char kHideText[] = "Hide &Text";
const char kSeparator[] = "=============== THE ORIGINAL TEXT: ===============";

// An empty image that reports clicks on itself.
class HotSpotArea : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
  }
};

QWidget* Panel(QWidget* parent, QRect bounds, std::int32_t color) {
  auto* panel = new QWidget(parent);
  panel->setGeometry(bounds);
  panel->setAutoFillBackground(true);
  SetControlColor(panel, QPalette::Window, color);
  return panel;
}

QFont TextFont() {
  QFont font(FontFamilyFor("Times New Roman"));
  font.setPointSize(12);
  return font;
}

QPlainTextEdit* Memo(QWidget* parent, QRect bounds) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setGeometry(bounds);
  memo->setFont(TextFont());
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return memo;
}

QPushButton* Button(QWidget* parent, const char* caption, int left, int width) {
  auto* button = new QPushButton(ToQString(caption), parent);
  button->setGeometry(left, 0, width, 25);
  return button;
}

std::vector<std::string> MemoLines(const QPlainTextEdit& memo) {
  std::vector<std::string> lines;
  const QString text = memo.toPlainText();
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split(QChar('\n'))) lines.push_back(FromQString(line));
  return lines;
}

void SetMemoLines(QPlainTextEdit& memo, const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
  memo.setPlainText(ToQString(text));
}

std::vector<std::string> TextResource(const std::string& name) {
  std::vector<std::string> lines;
  ResManager().LoadStrings(lines, name);
  return lines;
}

}  // namespace

TVkDictor::TVkDictor(QWidget* parent) : QWidget(parent) {
  BuildLayout();
  player_.OnNotify = [this] { PlayerNotified(); };
}

void TVkDictor::BuildLayout() {
  setGeometry(0, 0, kWidth, kHeight);
  setAutoFillBackground(true);
  SetControlColor(this, QPalette::Window, 0);
  QFont control_font(FontFamilyFor("MS Sans Serif"));
  control_font.setPointSize(8);
  setFont(control_font);

  QWidget* top_panel = Panel(this, {0, 0, kWidth, kTopHeight}, 0);
  top_picture_ = new QLabel(top_panel);
  top_picture_->move(0, 0);
  auto* hot_spot = new HotSpotArea(top_panel);
  hot_spot->setGeometry(560, 0, 80, 60);
  hot_spot->OnClick = [this] {
    if (OnHotSpotClick) OnHotSpotClick();
  };
  hot_spot_ = hot_spot;

  QWidget* instruction_panel = Panel(this, {0, kTopHeight, kWidth, kInstructionHeight}, kPanelColor);
  instruction_ = new QPlainTextEdit(instruction_panel);
  instruction_->setGeometry(kBorder, kBorder, kWidth - 2 * kBorder, kInstructionHeight - 2 * kBorder);
  instruction_->setFrameShape(QFrame::NoFrame);
  instruction_->setFont(TextFont());
  instruction_->setReadOnly(true);
  SetControlColor(instruction_, QPalette::Base, kPanelColor);
  SetControlColor(instruction_, QPalette::Text, 0);

  const int work_top = kTopHeight + kInstructionHeight;
  const int work_height = kHeight - work_top - kButtonPanelHeight;
  QWidget* work_panel = Panel(this, {0, work_top, kWidth, work_height}, kPanelColor);
  const QRect memo_bounds(kBorder, kBorder, kWidth - 2 * kBorder, work_height - 2 * kBorder);
  writing_ = Memo(work_panel, memo_bounds);
  expected_ = Memo(work_panel, memo_bounds);
  expected_->setEnabled(false);
  expected_->setReadOnly(true);
  expected_->hide();
  QObject::connect(writing_, &QPlainTextEdit::textChanged, this, [this] { WritingChanged(); });

  QWidget* button_panel = Panel(this, {0, kHeight - kButtonPanelHeight, kWidth, kButtonPanelHeight}, kPanelColor);
  listen_ = Button(button_panel, kListen, 8, 73);
  beginning_ = Button(button_panel, "To &Beginning", 89, 105);
  beginning_->setEnabled(false);
  show_text_ = Button(button_panel, kShowText, 542, 90);
  QObject::connect(listen_, &QPushButton::clicked, this, [this] { Guarded([this] { ListenClicked(); }); });
  QObject::connect(beginning_, &QPushButton::clicked, this, [this] { Guarded([this] { BeginningClicked(); }); });
  QObject::connect(show_text_, &QPushButton::clicked, this, [this] { Guarded([this] { ShowTextClicked(); }); });
}

void TVkDictor::Setup(const std::string& picture_name, const std::string& instruction_name,
                      const std::string& initial_text_name, const std::string& recording_name,
                      const std::string& expected_text_name) {
  if (!picture_name.empty()) {
    top_picture_->setPixmap(QPixmap::fromImage(LoadBitmapImage(ResManager(), picture_name)));
    top_picture_->adjustSize();
  }
  if (!instruction_name.empty()) SetMemoLines(*instruction_, TextResource(instruction_name));
  if (!initial_text_name.empty()) {
    const std::vector<std::string> lines = TextResource(initial_text_name);
    // Loading is not the learner writing.
    loading_initial_text_ = true;
    SetMemoLines(*writing_, lines);
    loading_initial_text_ = false;
    QTextCursor caret = writing_->textCursor();
    caret.setPosition(std::min(kCaretAfterInitialText, static_cast<int>(writing_->document()->characterCount() - 1)));
    writing_->setTextCursor(caret);
  }
  recording_name_ = recording_name;
  listen_->setVisible(!recording_name.empty());
  beginning_->setVisible(!recording_name.empty());
  expected_text_name_ = expected_text_name;
  show_text_->setVisible(!expected_text_name.empty());
  FocusControl(writing_);
}

int TVkDictor::Result() const {
  if (!written_) return 0;
  const std::size_t expected =
      expected_text_name_.empty() ? 0 : MeasureText(TextResource(expected_text_name_));
  return DictationResult(written_, MeasureText(MemoLines(*writing_)), expected);
}

void TVkDictor::WritingChanged() {
  if (!loading_initial_text_) written_ = true;
}

void TVkDictor::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVkSilentAbort&) {
  } catch (const std::exception& error) {
    ShowError(error.what());
  }
}

void TVkDictor::ListenClicked() {
  if (!player_.IsOpen()) {
    beginning_->setEnabled(true);
    player_.SetFileName(recording_name_);
    player_.Open();
  } else if (player_.Mode() == RecordingMode::kPlaying) {
    // Resuming repeats the last two seconds.
    paused_by_learner_ = true;
    const std::int64_t position = player_.Position();
    player_.Stop();
    player_.SetPosition(std::max<std::int64_t>(position - kResumeRepeatsMs, 0));
    listen_->setText(ToQString(kListen));
    beginning_->setEnabled(true);
    return;
  } else if (player_.Mode() == RecordingMode::kStopped) {
    beginning_->setEnabled(true);
  } else {
    return;
  }
  paused_by_learner_ = false;
  player_.SetNotify(true);
  player_.Play();
  listen_->setText(ToQString(kPause));
}

void TVkDictor::PlayerNotified() {
  if (paused_by_learner_) return;
  listen_->setText(ToQString(kListen));
  beginning_->setEnabled(false);
}

void TVkDictor::BeginningClicked() {
  if (player_.IsOpen()) {
    player_.Stop();
    player_.SetPosition(0);
  }
  listen_->setText(ToQString(kListen));
  beginning_->setEnabled(false);
}

void TVkDictor::ShowTextClicked() {
  if (!expected_shown_) {
    std::vector<std::string> lines = MemoLines(*writing_);
    if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
    lines.emplace_back(kSeparator);
    for (std::string& line : TextResource(expected_text_name_)) lines.push_back(std::move(line));
    SetMemoLines(*expected_, lines);
    writing_->setEnabled(false);
    expected_->show();
    show_text_->setText(ToQString(kHideText));
    expected_shown_ = true;
  } else {
    expected_->hide();
    writing_->setEnabled(true);
    show_text_->setText(ToQString(kShowText));
    expected_shown_ = false;
  }
}

}  // namespace vork
