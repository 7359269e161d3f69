#pragma once

#include <QImage>

// The start screen's own pictures, drawn from nothing but code and the
// fonts every installation has.

// The title strip: two 402 x 144 frames side by side, the program's name in
// two looks (gold on green baize, silver on a night sky).
QImage TitleStrip();

// The start screen's background, stretched over the window when shown.
QImage Backdrop();

// A dealt card table cut to its cards and scaled to the preview size.
QImage PreviewFromTable(const QImage& table);

inline constexpr int TitleFrameWidth = 402;
inline constexpr int TitleFrameHeight = 144;
inline constexpr int PreviewWidth = 400;
inline constexpr int PreviewHeight = 300;
