#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// The tool bar's image list: every picture is drawn by code, so the program
// carries no image files of its own for its buttons and menus. Menu items
// refer to these pictures by index, so the indices are fixed.
enum class TToolImage : int {
    NewGame = 0,
    OpenGame = 1,
    SaveGame = 2,
    Undo = 3,
    Redo = 4,
    AutoMoves = 5,
    Rules = 6,
    Exit = 7,
    HighScores = 8,
    Statistics = 9,
    CheckMark = 10, // drawn for a checked menu item that has no image of its own
    Restart = 11,
    Redeal = 12,
    FullScreen = 13,
    Compact = 14,  // the layout toggle while Compact is in force
    Extended = 15, // the layout toggle while Extended is in force
    Hint = 16,
};

inline constexpr int ToolImageCount = 17;
inline constexpr int ToolImageSize = 16;

// One picture of the list at `size` x `size` pixels (ARGB32, transparent
// background).
QImage ToolImage(TToolImage image, int size = ToolImageSize);

// The same picture as an icon holding a normal and a greyed (disabled) form.
QIcon ToolIcon(TToolImage image, int size = ToolImageSize);

// A picture greyed the way disabled items show it.
QImage GreyedImage(const QImage& image);

// The 8 x 8 tile of the menus' left strip.
QImage StripPattern();

// The program's own icon: a small fan of cards, drawn afresh at each size
// (small sizes with bolder outlines and fewer details, so they stay crisp).
QImage ApplicationImage(int size);
// The sizes the desktop's icon theme is given.
inline constexpr int ApplicationIconSizes[] = {16, 22, 32, 48, 64, 128, 256};
QIcon ApplicationIcon();
