#include "exercises/gapfill/field_gap.h"

#include "exercises/gapfill/gap_enter_key.h"
#include "objects/stage_control.h"

namespace vork {

TVkFieldGap::~TVkFieldGap() {
  if (!field_) return;
  enter_key_->OnEnter = nullptr;
  field_->disconnect();
  field_->hide();
  field_->deleteLater();
}

void TVkFieldGap::Adopt(QWidget* field) {
  field_ = field;
  enter_key_ = new GapEnterKey(field);
  enter_key_->OnEnter = [this] {
    // A copy: the handler may free this gap.
    const std::function<void()> handler = OnEnter;
    if (handler) handler();
  };
}

void TVkFieldGap::SetColors(int32_t text_color, int32_t back_color) {
  text_color_ = text_color;
  back_color_ = back_color;
  if (!field_) return;
  // A line edit draws with Text on Base, a closed drop-down list with
  // ButtonText on Button (depending on the style), its open list with Text
  // on Base: the field looks the same whichever it uses.
  for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
    SetControlColor(field_, role, text_color);
  for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window})
    SetControlColor(field_, role, back_color);
}

int32_t TVkFieldGap::GetWidth() const { return field_ ? field_->width() : 0; }

void TVkFieldGap::SetPosition(int32_t left, int32_t top) {
  if (field_) field_->move(left, top);
}

void TVkFieldGap::SetFocus() {
  if (field_) FocusControl(field_);
}

bool TVkFieldGap::HasFocus() const { return field_ && field_->hasFocus(); }

}  // namespace vork
