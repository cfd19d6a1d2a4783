#pragma once
// TVkFieldGap: what the two kinds of gap share, a native field on the page
// of the exercise. The gap owns its field; freeing the gap hides the field
// and deletes it later, because the gap may be freed from inside one of the
// field's own events (Enter runs bytecode that loads another text).

#include <QPointer>
#include <QWidget>

#include "exercises/gapfill/gap.h"

namespace vork {

class GapEnterKey;

class TVkFieldGap : public TIVkGap {
 public:
  ~TVkFieldGap() override;

  void SetColors(int32_t text_color, int32_t back_color) override;
  int32_t GetWidth() const override;
  void SetPosition(int32_t left, int32_t top) override;
  void SetFocus() override;
  bool HasFocus() const override;

  // The colours the field shows, as colour words.
  int32_t TextColor() const { return text_color_; }
  int32_t BackColor() const { return back_color_; }
  // The field, or null once the page it lay on has gone.
  QWidget* Widget() const { return field_; }

 protected:
  // Takes field (a child of the page) and watches it for Enter.
  void Adopt(QWidget* field);
  // Typing or choosing shows the answer black on the present background:
  // the learner has changed it since it was marked.
  void AnswerChanged() { SetColors(0, back_color_); }

 private:
  QPointer<QWidget> field_;
  GapEnterKey* enter_key_ = nullptr;
  int32_t text_color_ = 0;
  int32_t back_color_ = 0xFFFFFF;
};

}  // namespace vork
