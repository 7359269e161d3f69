#pragma once

#include <filesystem>
#include <memory>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include "cardtable/CardSet.h"
#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"

// A card set of real card proportions written once per test run: rounded
// outline (mask white in the corners), every face a flat colour of its own,
// black outside the outline, a 4-pixel shadow. Pixel tests compare against
// these colours.
namespace tabletest {

inline constexpr int CardW = 71;
inline constexpr int CardH = 96;
inline constexpr int Thickness = 4;

inline QRgb FaceColour(int suit, int value) { return qRgb(40 + suit * 50, 20 + value * 17, 90); }
inline QRgb BackColour(int number) { return qRgb(30, 60 + number * 20, 200); }

inline bool InOutline(int x, int y)
{
    // Three-pixel corners are outside the card.
    const bool left = x < 3, right = x >= CardW - 3, top = y < 3, bottom = y >= CardH - 3;
    return !((left || right) && (top || bottom));
}

inline QImage CardPicture(QRgb colour)
{
    QImage image(CardW, CardH, QImage::Format_RGB32);
    for (int y = 0; y < CardH; ++y)
        for (int x = 0; x < CardW; ++x)
            image.setPixel(x, y, InOutline(x, y) ? colour : qRgb(0, 0, 0));
    // A black pip in the middle: black ink must stay black, even turned.
    for (int y = 40; y < 56; ++y)
        for (int x = 28; x < 44; ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

inline QImage Flat(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline void Write(const std::filesystem::path& file, const QImage& image)
{
    std::filesystem::create_directories(file.parent_path());
    if (!WriteBitmapFile(image, file))
        throw std::runtime_error("cannot write " + file.string());
}

inline void WriteSet(const std::filesystem::path& folder, int backs)
{
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            Write(folder / FaceFileName(suit, value), CardPicture(FaceColour(suit, value)));
    Write(folder / "01joker.bmp", CardPicture(qRgb(250, 250, 0)));
    Write(folder / "02joker.bmp", CardPicture(qRgb(250, 0, 250)));
    for (int n = 1; n <= backs; ++n)
        Write(folder / BackFileName(n), CardPicture(BackColour(n)));
    QImage mask(CardW, CardH, QImage::Format_RGB32);
    for (int y = 0; y < CardH; ++y)
        for (int x = 0; x < CardW; ++x)
            mask.setPixel(x, y, InOutline(x, y) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    Write(folder / "CardMask.bmp", mask);
    const QRgb grey = qRgb(128, 128, 128);
    Write(folder / "Shadow00.bmp", Flat(CardW, Thickness, grey));
    Write(folder / "Shadow00M.bmp", Flat(CardW, Thickness, qRgb(0, 0, 0)));
    Write(folder / "Shadow00IM.bmp", Flat(CardW, Thickness, qRgb(255, 255, 255)));
    Write(folder / "Shadow01.bmp", Flat(Thickness, CardH - Thickness, grey));
    Write(folder / "Shadow01M.bmp", Flat(Thickness, CardH - Thickness, qRgb(0, 0, 0)));
    Write(folder / "Shadow01IM.bmp", Flat(Thickness, CardH - Thickness, qRgb(255, 255, 255)));
    int digit = 0;
    for (const char* name : {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp", "Bottom06.bmp",
                             "Bottom07.bmp", "Shade.bmp"})
        Write(folder / name, Flat(CardW, CardH, qRgb(200, 200, 150 + 10 * ++digit)));
}

// The folder holding "Standard" (three backs) and "Other" (two backs).
inline const std::filesystem::path& Cardsets()
{
    static QTemporaryDir dir;
    static const std::filesystem::path root = [] {
        const std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "Cardsets";
        WriteSet(folder / "Standard", 3);
        WriteSet(folder / "Other", 2);
        return folder;
    }();
    return root;
}

inline const QColor TableColour(0, 100, 0);

inline QRgb PatternAt(int x, int y) { return qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256); }

// A 50 x 37 picture with no two neighbouring pixels alike, so a pixel put
// back in the wrong place shows.
inline const std::filesystem::path& PatternPicture()
{
    static const std::filesystem::path file = [] {
        QImage image(50, 37, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, PatternAt(x, y));
        const std::filesystem::path path = Cardsets().parent_path() / "Pattern.bmp";
        Write(path, image);
        return path;
    }();
    return file;
}

// A hidden table (not drawing) of the given size on the tiled pattern.
inline std::unique_ptr<TCardTable> MakeTable(int width = 640, int height = 480, bool pattern = true)
{
    auto table = std::make_unique<TCardTable>(nullptr, Cardsets());
    table->SetMinWidth(0);
    table->SetMinHeight(0);
    table->SetTableSize(width, height);
    table->SetColor(TableColour);
    if (pattern)
        table->SetBackgroundPicture(PatternPicture().string());
    return table;
}

// The pack's card of that suit and value (any state).
inline TCard* Find(TCardTable& table, TCardSuit suit, TCardValue value)
{
    TCardDeck& deck = table.CardDeck();
    for (int i = 1; i <= deck.Count(); ++i)
        if (deck.Cards[std::size_t(i)]->Suit == suit && deck.Cards[std::size_t(i)]->Value == value)
            return deck.Cards[std::size_t(i)];
    return nullptr;
}

// Deals the next card face up onto the table.
inline TCard* Deal(TCardTable& table, int x, int y, bool faceUp = true)
{
    TCard* card = table.NextCard();
    card->FaceUp = faceUp;
    table.PlaceCard(card, x, y);
    return card;
}

inline void Mouse(TCardTable& table, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    const QPointF at(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, table.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&table, &event);
}
inline void Press(TCardTable& t, int x, int y, Qt::MouseButton b = Qt::LeftButton) { Mouse(t, QEvent::MouseButtonPress, x, y, b); }
inline void MoveTo(TCardTable& t, int x, int y) { Mouse(t, QEvent::MouseMove, x, y); }
inline void Release(TCardTable& t, int x, int y, Qt::MouseButton b = Qt::LeftButton) { Mouse(t, QEvent::MouseButtonRelease, x, y, b); }

// The part of the surface at `rect`, for exact before/after comparisons.
inline QImage Region(const TCardTable& table, const QRect& rect) { return table.SurfaceImage().copy(rect); }

} // namespace tabletest
