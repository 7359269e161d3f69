#pragma once

#include <vector>

#include <QImage>
#include <QPoint>
#include <QSize>

// Rotation and scaling of card pictures. Load a source once, then Render it
// as often as needed at different angles or sizes.
class TImageArray {
public:
    TImageArray() = default;
    explicit TImageArray(const QImage& source) { Load(source); }

    // Copies the source's pixels (any format; read as RGB).
    void Load(const QImage& source);

    // Replaces `target` with the source turned by `angle` radians and scaled
    // by `scale` (RGB32). Target pixels that map outside the source get white
    // when `fillWhite`, otherwise the source's bottom-left colour, so callers
    // can treat that colour as transparent. Returns where `centre` (a point
    // of the source) lands in the target.
    QPoint Render(QImage& target, QPoint centre, bool fillWhite, bool mirror, double scale,
                  double angle) const;

    int Width() const { return SourceWidth; }
    int Height() const { return SourceHeight; }
    QRgb BottomLeft() const { return BottomLeftColour; }

private:
    void RenderScaled(QImage& target, double scale, bool mirror) const;
    void RenderRotated(QImage& target, double scale, double angle, bool mirror, QRgb fill) const;

    std::vector<QRgb> Pixels;  // row-major, SourceWidth * SourceHeight
    int SourceWidth = 0;
    int SourceHeight = 0;
    QRgb BottomLeftColour = 0xFF000000u;
};

// The size of a picture of `source` size turned by `angle` and scaled by
// `scale`, and where `centre` (a point of the source) lands in it: exactly
// what Render makes, without making the picture. An empty size (one side 0)
// comes with centre 0, 0, as Render returns for it.
struct TTurnedGeometry {
    QSize Size;
    QPoint Centre;
};
TTurnedGeometry TurnedGeometry(QSize source, QPoint centre, double scale, double angle);

// Convenience for one-off use: the rendered picture, its size and centre.
struct TRenderedImage {
    QImage Image;
    QPoint Centre;
};
TRenderedImage RotatePicture(const QImage& source, double angle, bool fillWhite = false);
