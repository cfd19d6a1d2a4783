#include "exercises/gapfill/multi_gap.h"

#include <QComboBox>
#include <algorithm>
#include <functional>

#include "platform/qt/qt_text.h"

namespace vork {

namespace {

constexpr int kVisibleChoices = 20;

// Dropping the list down counts as changing the answer, as choosing does.
class GapComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

  std::function<void()> OnDropDown;

  void showPopup() override {
    if (OnDropDown) OnDropDown();
    QComboBox::showPopup();
  }
};

}  // namespace

TVkMultiGap::TVkMultiGap(QWidget* page, std::vector<GapItem> choices, const QFont& font, int32_t width,
                         int32_t max_height)
    : choices_(std::move(choices)) {
  auto* field = new GapComboBox(page);
  field_ = field;
  field->setFont(font);
  field->setMaxVisibleItems(kVisibleChoices);
  for (const GapItem& choice : choices_) field->addItem(ToQString(choice.text));
  field->setCurrentIndex(0);
  field->resize(width, std::min(field->sizeHint().height(), max_height));
  Adopt(field);
  // Only the learner's choices: selecting the answer for them keeps the
  // field's colours.
  QObject::connect(field, &QComboBox::activated, [this] { AnswerChanged(); });
  field->OnDropDown = [this] { AnswerChanged(); };
  field->show();
}

TVkMultiGap::~TVkMultiGap() {
  // The list outlives the gap until it is deleted later.
  if (auto* box = static_cast<GapComboBox*>(field_.data())) box->OnDropDown = nullptr;
}

int TVkMultiGap::Selected() const { return field_ ? field_->currentIndex() : -1; }

void TVkMultiGap::Select(int index) {
  if (field_) field_->setCurrentIndex(index);
}

bool TVkMultiGap::IsCorrect() const {
  const int selected = Selected();
  return selected >= 0 && selected < static_cast<int>(choices_.size()) && choices_[static_cast<size_t>(selected)].marked;
}

void TVkMultiGap::Clear() { Select(0); }

void TVkMultiGap::ShowAnswer() {
  if (!IsCorrect()) Select(FirstMarkedChoice(choices_));
}

}  // namespace vork
