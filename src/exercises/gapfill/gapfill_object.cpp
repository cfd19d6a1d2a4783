#include "exercises/gapfill/gapfill_object.h"

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
#include "exercises/gapfill/gapfill.h"
#include "objects/event_routine.h"
#include "objects/font_object.h"
#include "objects/stage_control.h"
#include "data_objects/string_list_object.h"
#include "resources/res_manager.h"
#include "vm/processor.h"

namespace vork {

void TVkGapfillObject::Init() {
  QWidget* stage = StageParent(View());
  auto* control = new TVkGapfill(stage);
  control_ = control;
  control->OnComment = [this](const std::string& comment) { CommentEvent(comment); };
  control->OnGapEnter = [this] { GapEnterEvent(); };
  if (stage) control->show();
  font_object_ = CreateFontObject(Manager(), control->Font());
  gap_font_object_ = CreateFontObject(Manager(), control->GapFont());
}

void TVkGapfillObject::Release() {
  // The font objects point into the control: they go first.
  for (int32_t* font_object : {&gap_font_object_, &font_object_}) {
    if (Manager().IsLive(*font_object)) Manager().SendMsg(*font_object, CommonMessage::Destroy);
    *font_object = 0;
  }
  if (!control_) return;
  // Clicks and keys already queued for the control must not reach a freed
  // object.
  control_->OnComment = nullptr;
  control_->OnGapEnter = nullptr;
  control_->hide();
  control_->deleteLater();
}

TVkGapfill& TVkGapfillObject::Exercise() const {
  return RequireControl(control_, "Gap-fill");
}

void TVkGapfillObject::LoadResource(const std::string& name) {
  std::vector<std::string> lines;
  ResManager().LoadStrings(lines, name);
  Exercise().LoadLines(lines);
}

// The list's lines pass through a text of lines, as if saved and loaded
// again: a line holding a line break becomes two.
void TVkGapfillObject::LoadStringList(int32_t handle) {
  std::string text;
  for (const TVkListLine& line : StringListAt(Manager(), handle).Lines()) text += line.text + "\r\n";
  Exercise().LoadLines(SplitLines(text));
}

void TVkGapfillObject::CommentEvent(const std::string& comment) {
  if (comment_routine_ == 0) return;
  TVkProcessor& processor = Processor();
  const int32_t routine = comment_routine_;
  RunAtEventBoundary(processor, [&] {
    PushInt(Handle());
    PushString(comment);
    processor.Run(routine);
  });
}

void TVkGapfillObject::GapEnterEvent() { RunObjectEvent(*this, gap_enter_routine_); }

void TVkGapfillObject::HandleMessage(int32_t message) {
  switch (static_cast<GapfillMessage>(message)) {
    case GapfillMessage::SetSpellMode: {
      const bool spell_mode = PopInt() != 0;
      Exercise().SpellMode = spell_mode;
      break;
    }
    case GapfillMessage::SpellMode: PushBool(Exercise().SpellMode); break;
    case GapfillMessage::CheckAll: {
      const bool mark = PopInt() != 0;
      PushInt(Exercise().CheckAll(mark));
      break;
    }
    case GapfillMessage::ClearAll: Exercise().ClearAll(); break;
    case GapfillMessage::SetBackgroundColor: {
      const int32_t color = PopInt();
      Exercise().SetColor(color);
      break;
    }
    case GapfillMessage::BackgroundColor: PushInt(Exercise().Color()); break;
    case GapfillMessage::Font: PushInt(font_object_); break;
    case GapfillMessage::GapFont: PushInt(gap_font_object_); break;
    case GapfillMessage::EmptyString: PushString(""); break;
    case GapfillMessage::Discard: PopString(); break;
    case GapfillMessage::Load: LoadResource(PopString()); break;
    case GapfillMessage::SetOnComment: comment_routine_ = PopInt(); break;
    case GapfillMessage::OnComment: PushInt(comment_routine_); break;
    case GapfillMessage::ShowAllAnswers: Exercise().ShowAllAnswers(); break;
    case GapfillMessage::GapCount: PushInt(Exercise().GapCount()); break;
    case GapfillMessage::ResetColors: Exercise().ResetColors(); break;
    case GapfillMessage::SetBounds: {
      const Bounds b = PopBounds();
      Exercise().setGeometry(b.left, b.top, b.width, b.height);
      break;
    }
    case GapfillMessage::SetEnabled: {
      const bool enabled = PopInt() != 0;
      Exercise().setEnabled(enabled);
      break;
    }
    case GapfillMessage::FocusFirst: Exercise().FocusFirst(); break;
    case GapfillMessage::SetErrorColors: {
      const int32_t back_color = PopInt();
      const int32_t text_color = PopInt();
      Exercise().ErrorBackColor = back_color;
      Exercise().ErrorFontColor = text_color;
      break;
    }
    case GapfillMessage::ClearText: Exercise().ClearText(); break;
    case GapfillMessage::SetVisible: {
      const bool visible = PopInt() != 0;
      Exercise().setVisible(visible);
      break;
    }
    case GapfillMessage::FocusedComment: PushString(Exercise().FocusedComment()); break;
    case GapfillMessage::LoadLines: LoadStringList(PopInt()); break;
    case GapfillMessage::FocusedHint: PushString(Exercise().FocusedHint()); break;
    case GapfillMessage::SetOnGapEnter: {
      gap_enter_routine_ = PopInt();
      Exercise().EnterRaisesEvent = gap_enter_routine_ != 0;
      break;
    }
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
