#include "platform/qt/virtual_keys.h"

#include <QChar>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QString>

namespace vork {

namespace {

struct KeyPair {
  int qt;
  int vk;
  bool keypad = false;  // the row applies only to a key on the numeric keypad
};

// Where several Qt keys share a code, the first row of the code is the key
// that QtKeyOf posts for it.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},        {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},      {Qt::Key_Control, 17},   {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},      {Qt::Key_CapsLock, 20},  {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},      {Qt::Key_PageUp, 33},    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},        {Qt::Key_Home, 36},      {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},         {Qt::Key_Right, 39},     {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},      {Qt::Key_Insert, 45},    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},       {Qt::Key_Meta, 91},      {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},   {Qt::Key_ScrollLock, 145},

    // The symbol keys of a US keyboard, then what they give with Shift: a
    // shifted symbol reports the key it is on (the shift word tells the
    // rest), as does a shifted digit.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187},    {Qt::Key_Comma, 188},
    {Qt::Key_Minus, 189},     {Qt::Key_Period, 190},   {Qt::Key_Slash, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_Colon, 186},     {Qt::Key_Plus, 187},     {Qt::Key_Less, 188},
    {Qt::Key_Underscore, 189}, {Qt::Key_Greater, 190}, {Qt::Key_Question, 191},
    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BraceLeft, 219}, {Qt::Key_Bar, 220},
    {Qt::Key_BraceRight, 221}, {Qt::Key_QuoteDbl, 222},
    {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},       {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},  {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},

    // Letters with a key of their own, with the codes of the layout they
    // belong to: German (ü ö ä ß), Spanish (ñ), French AZERTY (é è ç à ù on
    // the digit row and beside it), Norwegian (å ø æ; Swedish and Finnish
    // agree for å, and for ä and ö with German).
    {Qt::Key_Udiaeresis, 186}, {Qt::Key_Odiaeresis, 192}, {Qt::Key_Adiaeresis, 222},
    {Qt::Key_ssharp, 219},    {Qt::Key_Ntilde, 192},   {Qt::Key_Eacute, '2'},
    {Qt::Key_Egrave, '7'},    {Qt::Key_Ccedilla, '9'}, {Qt::Key_Agrave, '0'},
    {Qt::Key_Ugrave, 192},    {Qt::Key_Aring, 221},    {Qt::Key_Ooblique, 192},
    {Qt::Key_AE, 222},

    // The keypad's operators; its digits are 96-105.
    {Qt::Key_Asterisk, 106, true}, {Qt::Key_Plus, 107, true}, {Qt::Key_Minus, 109, true},
    {Qt::Key_Period, 110, true},   {Qt::Key_Comma, 110, true}, {Qt::Key_Slash, 111, true},
};

int TableCode(int qt_key, bool keypad) {
  for (const auto& key : kKeys)
    if (key.qt == qt_key && key.keypad == keypad) return key.vk;
  return 0;
}

// Other accented letters are typed as an accent and then the plain letter,
// whose key is the last one released.
int BaseLetterCode(int qt_key) {
  if (qt_key < 0x80 || qt_key > 0xFFFF) return 0;
  const QChar letter_key(static_cast<char16_t>(qt_key));
  // Only a letter with an accent: "ª" merely looks like an "a".
  if (letter_key.decompositionTag() != QChar::Canonical) return 0;
  const QString base = letter_key.decomposition();
  const char16_t letter = base.at(0).toUpper().unicode();
  return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

// Under Windows the native code is the virtual-key code itself, from the
// learner's own layout. Elsewhere it is not (under X and Wayland it is a
// keysym, which says no more than Qt's key; offscreen it is 0), and the
// table stands in, with US symbol keys.
bool NativeCodesAreVirtualKeys() { return QGuiApplication::platformName() == QLatin1String("windows"); }

}  // namespace

int VirtualKeyOf(const QKeyEvent& event) {
  if (NativeCodesAreVirtualKeys() && event.nativeVirtualKey() != 0)
    return static_cast<int>(event.nativeVirtualKey());
  return VirtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
}

int VirtualKeyOf(int qt_key, bool keypad) {
  if (keypad) {
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return 96 + (qt_key - Qt::Key_0);
    // The keypad's Enter, and its arrows and Home ... without Num Lock, are
    // the main keys' codes.
    if (const int code = TableCode(qt_key, true)) return code;
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return 'A' + (qt_key - Qt::Key_A);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return '0' + (qt_key - Qt::Key_0);
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) return 112 + (qt_key - Qt::Key_F1);
  if (const int code = TableCode(qt_key, false)) return code;
  return BaseLetterCode(qt_key);
}

int QtKeyOf(int virtual_key) {
  if (virtual_key >= 'A' && virtual_key <= 'Z') return Qt::Key_A + (virtual_key - 'A');
  if (virtual_key >= '0' && virtual_key <= '9') return Qt::Key_0 + (virtual_key - '0');
  if (virtual_key >= 112 && virtual_key <= 135) return Qt::Key_F1 + (virtual_key - 112);
  for (const auto& key : kKeys)
    if (key.vk == virtual_key && !key.keypad) return key.qt;
  return 0;
}

}  // namespace vork
