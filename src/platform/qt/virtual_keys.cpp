#include "platform/qt/virtual_keys.h"

#include <array>
#include <utility>

namespace vork {

namespace {

struct KeyPair {
  int qt;
  int vk;
};

constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},     {Qt::Key_Enter, 13},     {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},    {Qt::Key_Alt, 18},       {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},   {Qt::Key_Escape, 27},    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34},  {Qt::Key_End, 35},
    {Qt::Key_Home, 36},       {Qt::Key_Left, 37},      {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},      {Qt::Key_Down, 40},      {Qt::Key_Print, 44},
    {Qt::Key_Insert, 45},     {Qt::Key_Delete, 46},    {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},       {Qt::Key_Menu, 93},      {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145}, {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},      {Qt::Key_Comma, 188},    {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},    {Qt::Key_Slash, 191},    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221},
    {Qt::Key_Apostrophe, 222},
};

}  // namespace

int VirtualKeyOf(int qt_key) {
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return 'A' + (qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return '0' + (qt_key - Qt::Key_0);
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return 112 + (qt_key - Qt::Key_F1);
  for (const auto& key : kKeys)
    if (key.qt == qt_key) return key.vk;
  return 0;
}

int QtKeyOf(int virtual_key) {
  if (virtual_key >= 'A' && virtual_key <= 'Z') return Qt::Key_A + (virtual_key - 'A');
  if (virtual_key >= '0' && virtual_key <= '9') return Qt::Key_0 + (virtual_key - '0');
  if (virtual_key >= 112 && virtual_key <= 135) return Qt::Key_F1 + (virtual_key - 112);
  for (const auto& key : kKeys)
    if (key.vk == virtual_key) return key.qt;  // the first row of a code is its main key
  return 0;
}

}  // namespace vork
