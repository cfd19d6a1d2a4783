#include "platform/developer_mode.h"

namespace vork {

namespace {
bool mode = false;
int switch_ons = 0;
}  // namespace

bool DeveloperMode() { return mode; }

void SetDeveloperMode(bool on) {
  if (on && !mode) ++switch_ons;
  mode = on;
}

int DeveloperViewStyle() {
  if (!mode) return 0;
  return switch_ons % 2 == 1 ? 1 : 2;
}

}  // namespace vork
