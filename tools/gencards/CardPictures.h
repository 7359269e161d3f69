#pragma once

#include <QImage>

#include "CardSetLayout.h"

// Every picture of a card set, drawn from scratch. All pictures are RGB32 and
// deterministic: the same layout always gives the same pixels.
//
// The table draws an upright card by AND-ing CardMask into the table and then
// OR-ing the face or back, so a card picture must be black exactly where the
// mask is white. Rotated cards are drawn with their bottom-left pixel (black)
// as the transparent colour, so nothing inside the outline may be pure black.

// True when the pixel (x, y) lies inside the rounded card outline.
bool InsideOutline(const TCardSetLayout& layout, int x, int y);

// Black inside the outline, white outside.
QImage CardMaskImage(const TCardSetLayout& layout);

// suit 0..3 = clubs, diamonds, hearts, spades; value 0..12 = Ace .. King.
QImage FaceImage(const TCardSetLayout& layout, int suit, int value);

// which: 1 for 01joker.bmp, 2 for 02joker.bmp.
QImage JokerImage(const TCardSetLayout& layout, int which);

// design: 1 .. BackDesignCount().
QImage BackImage(const TCardSetLayout& layout, int design);

// Drop shadow strips: the bottom one (Shadow00, CardWidth x T) and the right
// one (Shadow01, T x CardHeight - T). The picture is dotted grey on white;
// the mask is black where the shadow falls, its inverse white there.
QImage ShadowStrip(const TCardSetLayout& layout, bool rightStrip);
QImage ShadowMask(const TCardSetLayout& layout, bool rightStrip, bool inverse);

// Pile base pictures, combined into the table with AND, so white leaves the
// table unchanged. digit is one of 1, 2, 4, 5, 6, 7 (Bottom0<digit>.bmp).
QImage BaseImage(const TCardSetLayout& layout, int digit);

// The drop shade: a dotted card outline shown on the pile a dragged card would land on.
QImage ShadeImage(const TCardSetLayout& layout);

// Turns a drawing on a white card into a finished card picture: a grey edge
// along the outline, black outside it, no pure black inside it.
void FinishCardPicture(const TCardSetLayout& layout, QImage& picture);
