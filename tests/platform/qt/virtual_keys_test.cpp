#include "platform/qt/virtual_keys.h"

#include <gtest/gtest.h>

#include <QKeyEvent>

namespace vork {
namespace {

TEST(VirtualKeys, MapQtKeysToWindowsCodes) {
  struct Case { int qt; int vk; } cases[] = {
      {Qt::Key_F1, 112}, {Qt::Key_F12, 123}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
      {Qt::Key_A, 65},   {Qt::Key_Z, 90},    {Qt::Key_5, 53},      {Qt::Key_Left, 37},
      {Qt::Key_Escape, 27}, {Qt::Key_NumLock, 144}, {Qt::Key_Space, 32}};
  for (auto c : cases) EXPECT_EQ(VirtualKeyOf(c.qt), c.vk) << c.qt;
  EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown), 0);
}

// What a course's key routine receives for the key events a keyboard gives:
// the shift word comes from the modifiers, so a shifted key must report the
// key it is on.
TEST(VirtualKeys, KeyEventsGiveTheCodesOfTheirKeys) {
  constexpr auto kKeypad = Qt::KeypadModifier;
  constexpr auto kShift = Qt::ShiftModifier;
  struct Case {
    int qt;
    Qt::KeyboardModifiers modifiers;
    int vk;
  } cases[] = {
      // The keypad's digits and operators have codes of their own; its other
      // keys (Enter, and the arrows without Num Lock) are the main keys'.
      {Qt::Key_0, kKeypad, 96}, {Qt::Key_5, kKeypad, 101}, {Qt::Key_9, kKeypad, 105},
      {Qt::Key_Asterisk, kKeypad, 106}, {Qt::Key_Plus, kKeypad, 107}, {Qt::Key_Minus, kKeypad, 109},
      {Qt::Key_Period, kKeypad, 110}, {Qt::Key_Comma, kKeypad, 110}, {Qt::Key_Slash, kKeypad, 111},
      {Qt::Key_Enter, kKeypad, 13}, {Qt::Key_Left, kKeypad, 37}, {Qt::Key_Home, kKeypad, 36},
      {Qt::Key_5, {}, 53}, {Qt::Key_Minus, {}, 189}, {Qt::Key_Slash, {}, 191},
      // Shifted digits and symbols: the key they are on (US layout).
      {Qt::Key_Exclam, kShift, '1'}, {Qt::Key_At, kShift, '2'}, {Qt::Key_Asterisk, kShift, '8'},
      {Qt::Key_ParenRight, kShift, '0'}, {Qt::Key_Underscore, kShift, 189}, {Qt::Key_Plus, kShift, 187},
      {Qt::Key_Colon, kShift, 186}, {Qt::Key_Less, kShift, 188}, {Qt::Key_Greater, kShift, 190},
      {Qt::Key_Question, kShift, 191}, {Qt::Key_AsciiTilde, kShift, 192},
      {Qt::Key_BraceLeft, kShift, 219}, {Qt::Key_Bar, kShift, 220}, {Qt::Key_QuoteDbl, kShift, 222},
      // Letters on keys of their own (German, Spanish, French, Norwegian),
      // in either case.
      {Qt::Key_Udiaeresis, {}, 186}, {Qt::Key_Odiaeresis, kShift, 192}, {Qt::Key_Adiaeresis, {}, 222},
      {Qt::Key_ssharp, {}, 219}, {Qt::Key_Ntilde, {}, 192}, {Qt::Key_Eacute, {}, '2'},
      {Qt::Key_Egrave, {}, '7'}, {Qt::Key_Ccedilla, {}, '9'}, {Qt::Key_Agrave, {}, '0'},
      {Qt::Key_Ugrave, {}, 192}, {Qt::Key_Aring, {}, 221}, {Qt::Key_Ooblique, {}, 192},
      {Qt::Key_AE, {}, 222},
      // Accent then letter: the plain letter's key, also beyond Latin-1.
      {Qt::Key_Aacute, {}, 'A'}, {Qt::Key_Ecircumflex, {}, 'E'}, {Qt::Key_Otilde, kShift, 'O'},
      {Qt::Key_ydiaeresis, {}, 'Y'}, {0x0150 /* Ő */, {}, 'O'},
      // No key: signs that only look like letters, and keys Qt cannot name.
      {Qt::Key_ordfeminine, {}, 0}, {Qt::Key_multiply, {}, 0}, {Qt::Key_unknown, {}, 0},
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyRelease, c.qt, c.modifiers);
    EXPECT_EQ(VirtualKeyOf(event), c.vk) << std::hex << c.qt << " modifiers " << c.modifiers.toInt();
  }
}

TEST(VirtualKeys, AnXKeysymIsNotTakenForAVirtualKeyCode) {
  // Under X the native code of the keypad's 5 is the keysym KP_5 (0xFFB5).
  const QKeyEvent event(QEvent::KeyRelease, Qt::Key_5, Qt::KeypadModifier, 84, 0xFFB5, 0, "5");
  EXPECT_EQ(VirtualKeyOf(event), 101);
}

TEST(VirtualKeys, EveryCodeMapsBackToAKeyWithTheSameCode) {
  for (int vk = 1; vk < 256; ++vk) {
    int qt = QtKeyOf(vk);
    if (qt != 0) {
      EXPECT_EQ(VirtualKeyOf(qt), vk);
    }
  }
  EXPECT_EQ(QtKeyOf(13), Qt::Key_Return);
}

}  // namespace
}  // namespace vork
