#pragma once

#include <QImage>
#include <QObject>
#include <QRect>

#include <filesystem>
#include <functional>

class QTimer;

// A strip of equal frames side by side, shown one after another by blending
// each frame half-transparently over a rectangle of a canvas again and again,
// so that one picture melts into the next. The last frame is left opaque.
class TMergePic : public QObject {
    Q_OBJECT

public:
    // Called after each blend with the rectangle of the canvas that changed.
    using TRefresh = std::function<void(const QRect& changed)>;

    explicit TMergePic(QObject* parent = nullptr);

    // Decodes the JPEG strip; false (and no picture) when it cannot be read.
    bool LoadFromFile(const std::filesystem::path& file);
    void SetPicture(const QImage& strip);

    // Starts the show over the rectangle (top, left, height, width) of
    // `canvas`; nothing without a picture. The canvas must outlive the show.
    void Start(QImage& canvas, int height, int width, int top, int left, TRefresh refresh);
    void Stop();

    void SetFrames(int frames);
    void SetInterval(int milliseconds);
    void SetBlendsPerFrame(int blends);
    int Frames() const { return Frames_; }
    int Interval() const { return Interval_; }
    int BlendsPerFrame() const { return BlendsPerFrame_; }
    int CurrentFrame() const { return CurrentFrame_; }
    bool Running() const { return Running_; }
    bool HasPicture() const { return !Picture.isNull(); }
    int FrameWidth() const { return Frames_ > 0 ? Picture.width() / Frames_ : 0; }
    int FrameHeight() const { return Picture.height(); }

    // One timer step; public so a caller with no event loop can drive it.
    void Tick();

    // Blends `source` over `target` at (x, y) with a constant alpha of
    // `alpha` out of 255; both 32-bit RGB. Clipped to the target.
    static void BlendConstant(QImage& target, const QImage& source, int x, int y, int alpha);

    // The constant alpha of every blend.
    static constexpr int BlendAlpha = 127;

signals:
    void Finished();

private:
    QImage ScaledFrame(int frame) const;

    QImage Picture;
    QImage CurrentScaled;
    int ScaledFor = -1;
    int Frames_ = 1;
    int Interval_ = 80;
    int BlendsPerFrame_ = 20;
    int CurrentFrame_ = 0;
    int BlendCount = 0;
    bool Running_ = false;
    QImage* Canvas = nullptr;
    QRect Target;
    TRefresh Refresh;
    QTimer* Timer = nullptr;
};
