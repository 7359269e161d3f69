#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <QImage>

// How JPEG pictures are decoded: the accurate integer transform or the fast
// one (visibly coarser, noticeably quicker on large backgrounds).
enum TJpegPerformance { jpBestQuality, jpBestSpeed };

// Pictures come back as RGB32. Every reader returns nullopt on failure and,
// when `error` is given, says why in a sentence naming the file.

// The largest picture a reader decodes. The size a file declares is checked
// before any pixel is allocated: a forged header of 65500 x 65500 would
// otherwise ask for 17 GB.
struct TPictureLimit {
    int Side = 0;            // pixels, either way
    std::int64_t Pixels = 0; // width x height
};
// Any picture: up to 16384 pixels a side and 40 million pixels in all (an
// 8K background is 33 million).
inline constexpr TPictureLimit AnyPicture{16384, 40'000'000};
// One picture of a card set (a face, a back, a pile base, a shadow mask).
inline constexpr TPictureLimit CardPicture{1000, 1'000'000};

// Why a picture of `width` x `height` is refused under `limit`, or nullopt.
std::optional<std::string> PictureSizeProblem(std::int64_t width, std::int64_t height, const TPictureLimit& limit);

// Windows bitmap files. Truncated files and files that are not BMP at all
// are refused rather than shown half-read.
std::optional<QImage> ReadBitmapFile(const std::filesystem::path& file, std::string* error = nullptr,
                                     const TPictureLimit& limit = AnyPicture);
std::optional<QImage> DecodeBitmap(const std::string& bytes, std::string* error = nullptr,
                                   const TPictureLimit& limit = AnyPicture);
// Writes a 24-bit BMP through a temporary file; false when it cannot.
bool WriteBitmapFile(const QImage& image, const std::filesystem::path& file);

// JPEG through libjpeg itself (never the toolkit's plugin). A file that ends
// before its last row is refused, not drawn with grey rows.
std::optional<QImage> DecodeJpeg(const std::string& bytes, TJpegPerformance performance,
                                 std::string* error = nullptr);
std::optional<QImage> ReadJpegFile(const std::filesystem::path& file, TJpegPerformance performance,
                                   std::string* error = nullptr);
// Quality 1..100; nullopt when encoding fails.
std::optional<std::string> EncodeJpeg(const QImage& image, int quality = 90);
bool WriteJpegFile(const QImage& image, const std::filesystem::path& file, int quality = 90);

// True for a name ending in ".jpg" or ".jpeg", any letter case.
bool IsJpegName(const std::filesystem::path& file);

// A BMP or JPEG picture chosen by the file's extension.
std::optional<QImage> ReadPictureFile(const std::filesystem::path& file, TJpegPerformance performance,
                                      std::string* error = nullptr);
