#pragma once
// Message boxes of a window run, as modal Qt message boxes.

#include "platform/message_boxes.h"

namespace vork {

class QtMessageBoxes : public MessageBoxes {
 public:
  BoxResult Show(BoxKind kind, std::string_view text, BoxButtons buttons) override;
};

}  // namespace vork
