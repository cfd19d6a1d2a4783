#include "platform/developer_mode.h"

namespace vork {

namespace {
bool mode = false;
int style = 0;
}  // namespace

bool DeveloperMode() { return mode; }

void SetDeveloperMode(bool on) {
  if (on && !mode) style = style == 1 ? 2 : 1;
  mode = on;
}

int DeveloperViewStyle() { return style; }

}  // namespace vork
