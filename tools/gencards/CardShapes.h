#pragma once

#include <QPainterPath>
#include <QRectF>

// Vector outlines of our own for everything printed on a card, so that the
// pictures never depend on which fonts a machine has.

// The four suits in the pack's suit order: clubs, diamonds, hearts, spades.
enum class TSuitShape { Club, Diamond, Heart, Spade };

// A suit symbol filling a square of side `size` centred on `centre`;
// `upsideDown` turns it by half a turn, as pips in the lower half of a card are.
QPainterPath SuitPath(TSuitShape suit, QPointF centre, double size, bool upsideDown = false);

// Filled outline of one character ('0'-'9', 'A', 'J', 'Q', 'K', 'O', 'E', 'R')
// written into `box` with strokes `stroke` pixels wide. An unknown character
// gives an empty path.
QPainterPath GlyphPath(char glyph, const QRectF& box, double stroke);

// Filled outline of a rank index: "A", "2" .. "10", "J", "Q", "K" for values 0..12.
// "10" is set as two narrower glyphs inside the same box height.
QPainterPath RankPath(int value, const QRectF& box, double stroke);
