#pragma once
// TVkMemoObject (class 9): a multi-line rich-text memo on the stage. It
// shows plain or RTF text resources, prints its text, and is released with
// its scene.

#include <QPointer>
#include <cstdint>

#include "bridge/script_object.h"
#include "objects/rtf/rich_edit.h"

namespace vork {

class TVkMemoObject : public TVkScriptObject {
 public:
  void Init() override;
  void HandleMessage(int32_t message) override;
  void Release() override;

  // The control, or null before Init and after Release.
  TVkRichEdit* RichEdit() const { return rich_edit_; }

 private:
  void SetBounds();

  // Guarded: the stage background owns the control and may be gone first
  // when the player shuts down.
  QPointer<TVkRichEdit> rich_edit_;
};

}  // namespace vork
