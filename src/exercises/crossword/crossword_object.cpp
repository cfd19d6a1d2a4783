#include "exercises/crossword/crossword_object.h"

#include <memory>
#include <string>

#include "bridge/event_boundary.h"
#include "bridge/messages.h"
#include "exercises/crossword/crossword_view.h"
#include "objects/stage_control.h"
#include "resources/res_manager.h"
#include "vm/processor.h"

namespace vork {

TCrCrosswordView* TVkCrosswordObject::CrosswordView() const { return view_; }

void TVkCrosswordObject::Init() {
  QWidget* stage = StageParent(View());
  view_ = new TCrCrosswordView(stage);
  view_->OnWordChange = [this] { WordChanged(); };
  if (stage) view_->show();
}

void TVkCrosswordObject::Release() {
  if (!view_) return;
  // The release may run inside one of the view's own events (a word change
  // whose routine leaves the scene): the view goes from the event loop and
  // tells nobody of later changes.
  view_->OnWordChange = nullptr;
  view_->hide();
  view_->deleteLater();
  view_ = nullptr;
}

TCrCrosswordView& TVkCrosswordObject::CheckedView() const {
  return RequireControl(view_, "Crossword");
}

void TVkCrosswordObject::Load(const std::string& name) {
  auto data = std::make_unique<TCrCrosswordData>();
  data->LoadFromStream(*ResManager().OpenResource(name));
  CheckedView().SetData(std::move(data));
}

void TVkCrosswordObject::WordChanged() {
  if (word_change_handler_ == 0 || !view_) return;
  // Taken out first: the routine may destroy this object.
  const std::string word = view_->CurrentWord();
  const std::string cue = view_->CurrentCue();
  const int32_t routine = word_change_handler_;
  const int32_t handle = Handle();
  TVkProcessor& processor = Processor();
  RunAtEventBoundary(processor, [&] {
    processor.Stack().Push(handle);
    PushString(word);
    PushString(cue);
    processor.Run(routine);
  });
}

void TVkCrosswordObject::HandleMessage(int32_t message) {
  switch (static_cast<CrosswordMessage>(message)) {
    case CrosswordMessage::SetPosition: {
      const int32_t top = PopInt();
      const int32_t left = PopInt();
      CheckedView().move(CheckedView().x(), top);
      CheckedView().move(left, CheckedView().y());
      break;
    }
    case CrosswordMessage::Load: Load(PopString()); break;
    case CrosswordMessage::Focus: FocusControl(&CheckedView()); break;
    case CrosswordMessage::IsSolved: PushBool(view_ && view_->Data().Grid().IsSolved()); break;
    case CrosswordMessage::SetOnWordChange: word_change_handler_ = PopInt(); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
