#pragma once

#include <filesystem>
#include <string>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include "cardtable/CardSet.h"
#include "cardtable/ImageIO.h"

// Small card sets written into a temporary folder, so the loading tests do
// not depend on the generated sets and can damage their files at will.
// Every face is one flat colour that tells which card (and which root) it
// came from.
namespace cardsetfixture {

inline constexpr int Width = 10;
inline constexpr int Height = 14;

inline QRgb FaceColour(int suit, int value, int tag = 0)
{
    return qRgb(10 + suit * 50, 10 + value * 15, tag);
}

inline QRgb BackColour(int number) { return qRgb(200, 200, number * 20); }

inline QImage Flat(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline void Write(const std::filesystem::path& file, const QImage& image)
{
    std::filesystem::create_directories(file.parent_path());
    if (!WriteBitmapFile(image, file))
        throw std::runtime_error("cannot write test picture " + file.string());
}

// A complete set: 52 faces, both jokers, `backs` backs, mask, shadows, bases.
inline void WriteSet(const std::filesystem::path& folder, int backs = 6, int width = Width, int height = Height)
{
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            Write(folder / FaceFileName(suit, value), Flat(width, height, FaceColour(suit, value)));
    Write(folder / "01joker.bmp", Flat(width, height, FaceColour(4, 0)));
    Write(folder / "02joker.bmp", Flat(width, height, FaceColour(4, 1)));
    for (int n = 1; n <= backs; ++n)
        Write(folder / BackFileName(n), Flat(width, height, BackColour(n)));
    QImage mask = Flat(width, height, qRgb(0, 0, 0));
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    Write(folder / "CardMask.bmp", mask);
    for (const char* name : {"Shadow00.bmp", "Shadow00M.bmp", "Shadow00IM.bmp"})
        Write(folder / name, Flat(width, 3, qRgb(128, 128, 128)));
    for (const char* name : {"Shadow01.bmp", "Shadow01M.bmp", "Shadow01IM.bmp"})
        Write(folder / name, Flat(3, height, qRgb(128, 128, 128)));
    int digit = 0;
    for (const char* name : {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp",
                             "Bottom07.bmp", "Shade.bmp"})
        Write(folder / name, Flat(width, height, qRgb(100, 100, 10 * ++digit)));
}

struct TempSets {
    QTemporaryDir Dir;
    std::filesystem::path Root() const { return Dir.path().toStdString(); }
    std::filesystem::path Cardsets() const { return Root() / "Cardsets"; }
};

} // namespace cardsetfixture
