#pragma once

#include <QImage>
#include <string>
#include <vector>

struct TPicture {
    std::string FileName;
    QImage Image;
};

// The table's background textures, each tiling without a seam.
std::vector<TPicture> Textures();

// The win show's strip: eight frames of FrameWidth x FrameHeight side by side.
inline constexpr int FrameWidth = 320;
inline constexpr int FrameHeight = 480;
inline constexpr int FrameCount = 8;
QImage WinStrip();
