#pragma once
// Marks that developer mode draws over the sprites: a cross at each visible
// sprite's centre, its bounds dotted, and in view style 2 rings around the
// sprite that holds the mouse.

class QPainter;

namespace vork {

class TSprite;
class TSpriteList;

// `held` is the sprite that received the press of the buttons still held, or
// nullptr; it gets rings only in view style 2.
void DrawDeveloperMarks(QPainter& painter, const TSpriteList& sprites, int view_style,
                        const TSprite* held);

}  // namespace vork
