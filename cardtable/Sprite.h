#pragma once

#include <functional>

#include <QImage>
#include <QRect>

#include "cardtable/ImageArrayUnit.h"

class TCard;
class TCardTable;

// A turned and scaled copy of a card's face drawn over the table for effects.
// It saves the table pixels under it and puts them back when hidden, so it
// must be hidden before the cards under it change.
class TSprite {
public:
    explicit TSprite(TCardTable* table);

    // Renders Source at Angle and Scale about its centre, keeping the centre
    // over the card position X, Y, and shows it.
    void Draw();
    // Restores the table under the sprite.
    void Hide();
    // Grows a copy of the card's face for `duration` ms by `step` per frame;
    // with returnBack shrinks it again (never below 1.0); always ends hidden.
    void Zoom(const TCard* card, int duration, float step, bool returnBack);
    // Spins a copy of the card's face for `duration` ms by `step` radians.
    void Spin(const TCard* card, int duration, float step);
    // Marks a card by showing a copy of its face at `scale` over it until
    // Hide; nothing under it may change meanwhile.
    void Highlight(const TCard* card, float scale);
    // After the table rebuilt its Surface: draw again over the new picture.
    void Redraw();

    int X = 0;
    int Y = 0;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int CentreX = 0;
    int CentreY = 0;
    float Angle = 0.0f;
    float Scale = 1.0f;
    QImage Saved;
    QImage Source;
    QImage Rendered;
    QImage RenderedMask;  // the card outline turned and scaled with the picture
    bool Shown = false;

    // Called after every Draw with the scale and angle drawn (tests, viewer).
    std::function<void(float scale, float angle)> OnDrawn;

private:
    QRect Rect() const { return QRect(Left, Top, Width, Height); }
    void TakeCard(const TCard* card);

    TCardTable* Table;
    TImageArray SourceArray;
    TImageArray MaskArray;
};
