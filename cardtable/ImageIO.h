#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <QImage>

// How JPEG pictures are decoded: the accurate integer transform or the fast
// one (visibly coarser, noticeably quicker on large backgrounds).
enum TJpegPerformance { jpBestQuality, jpBestSpeed };

// Pictures come back as RGB32. Every reader returns nullopt on failure and,
// when `error` is given, says why in a sentence naming the file.

// Windows bitmap files. Truncated files and files that are not BMP at all
// are refused rather than shown half-read.
std::optional<QImage> ReadBitmapFile(const std::filesystem::path& file, std::string* error = nullptr);
std::optional<QImage> DecodeBitmap(const std::string& bytes, std::string* error = nullptr);
// Writes a 24-bit BMP through a temporary file; false when it cannot.
bool WriteBitmapFile(const QImage& image, const std::filesystem::path& file);

// JPEG through libjpeg itself (never the toolkit's plugin).
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
