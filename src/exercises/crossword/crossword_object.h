#pragma once
// TVkCrosswordObject (class 23): a crossword view on the stage. Each time the
// learner's cursor enters another word, the word-change routine runs with
// the object's handle, the word's solution and its cue.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"

namespace vork {

class TCrCrosswordView;

class TVkCrosswordObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The view, or null once it has gone with the stage.
  TCrCrosswordView* CrosswordView() const;

 private:
  TCrCrosswordView& CheckedView() const;
  void Load(const std::string& name);
  void WordChanged();

  QPointer<TCrCrosswordView> view_;
  int32_t word_change_handler_ = 0;
};

}  // namespace vork
