#pragma once
// TVkGapfillObject (class 15): the bytecode's gap-fill exercise. The
// exercise's two fonts are edited through two font objects (class 14) that
// the object creates with its control and destroys on release; they are
// kept out of the scene change's release, so that each goes exactly once.
//
// Events: a click on a gap with a comment runs the comment routine with the
// object's handle and the comment; Enter in a gap runs the gap-enter routine
// with the handle when one is set (else the focus moves to the next gap).

#include <QPointer>
#include <cstdint>
#include <string>

#include "bridge/script_object.h"
#include "exercises/gapfill/gapfill.h"

namespace vork {

class TVkGapfillObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The control, or null once it has gone.
  TVkGapfill* Control() const { return control_; }
  int32_t FontObject() const { return font_object_; }
  int32_t GapFontObject() const { return gap_font_object_; }

 private:
  // The control; raises EVkError when it has gone with the stage.
  TVkGapfill& Exercise() const;
  void LoadResource(const std::string& name);
  void LoadStringList(int32_t handle);
  void CommentEvent(const std::string& comment);
  void GapEnterEvent();

  QPointer<TVkGapfill> control_;
  int32_t comment_routine_ = 0;
  int32_t font_object_ = 0;
  int32_t gap_font_object_ = 0;
  int32_t gap_enter_routine_ = 0;
};

}  // namespace vork
