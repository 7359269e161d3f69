#include "shell/MergePic.h"

#include "cardtable/ImageIO.h"

#include <QTimer>

#include <algorithm>

TMergePic::TMergePic(QObject* parent) : QObject(parent) {}

bool TMergePic::LoadFromFile(const std::filesystem::path& file)
{
    const std::optional<QImage> strip = ReadJpegFile(file, jpBestQuality);
    if (!strip) {
        Picture = QImage();
        return false;
    }
    SetPicture(*strip);
    return true;
}

void TMergePic::SetPicture(const QImage& strip)
{
    Picture = strip.convertToFormat(QImage::Format_RGB32);
    CurrentFrame_ = 0;
    ScaledFor = -1;
}

void TMergePic::SetFrames(int frames)
{
    if (frames > 0) {
        Frames_ = frames;
        ScaledFor = -1;
    }
}

void TMergePic::SetInterval(int milliseconds)
{
    if (milliseconds > 0)
        Interval_ = milliseconds;
}

void TMergePic::SetBlendsPerFrame(int blends)
{
    if (blends > 0)
        BlendsPerFrame_ = blends;
}

void TMergePic::Start(QImage& canvas, int height, int width, int top, int left, TRefresh refresh)
{
    if (Picture.isNull())
        return;
    if (Timer == nullptr) {
        Timer = new QTimer(this);
        connect(Timer, &QTimer::timeout, this, &TMergePic::Tick);
    }
    Canvas = &canvas;
    Target = QRect(left, top, width, height);
    Refresh = std::move(refresh);
    ScaledFor = -1;
    BlendCount = 0;
    Running_ = true;
    Timer->start(Interval_);
}

void TMergePic::Stop()
{
    BlendCount = 0;
    CurrentFrame_ = 0;
    if (Timer != nullptr)
        Timer->stop();
    Running_ = false;
}

QImage TMergePic::ScaledFrame(int frame) const
{
    const int frameWidth = FrameWidth();
    const QImage part = Picture.copy(frame * frameWidth, 0, frameWidth, Picture.height());
    if (part.size() == Target.size())
        return part;
    return part.scaled(Target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

void TMergePic::Tick()
{
    if (!Running_ || Canvas == nullptr)
        return;
    if (ScaledFor != CurrentFrame_) {
        CurrentScaled = ScaledFrame(CurrentFrame_);
        ScaledFor = CurrentFrame_;
    }
    BlendConstant(*Canvas, CurrentScaled, Target.x(), Target.y(), BlendAlpha);
    if (++BlendCount >= BlendsPerFrame_) {
        BlendCount = 0;
        if (CurrentFrame_ + 1 < Frames_) {
            ++CurrentFrame_;
        } else {
            // The last frame ends the show, drawn opaque.
            BlendConstant(*Canvas, CurrentScaled, Target.x(), Target.y(), 255);
            Stop();
            if (Refresh)
                Refresh(Target);
            emit Finished();
            return;
        }
    }
    if (Refresh)
        Refresh(Target);
}

void TMergePic::BlendConstant(QImage& target, const QImage& source, int x, int y, int alpha)
{
    const QRect area = QRect(x, y, source.width(), source.height()).intersected(target.rect());
    if (area.isEmpty())
        return;
    const int keep = 255 - alpha;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        auto* out = reinterpret_cast<QRgb*>(target.scanLine(row)) + area.left();
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row - y)) + (area.left() - x);
        for (int i = 0; i < area.width(); ++i) {
            const QRgb s = in[i];
            const QRgb d = out[i];
            out[i] = qRgb((qRed(s) * alpha + qRed(d) * keep) / 255, (qGreen(s) * alpha + qGreen(d) * keep) / 255,
                          (qBlue(s) * alpha + qBlue(d) * keep) / 255);
        }
    }
}
