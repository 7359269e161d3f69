#include "cardtable/ImageIO.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/FilePath.h"

namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error != nullptr)
        *error = text;
}

std::uint32_t ReadU32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

std::uint16_t ReadU16(const std::string& bytes, std::size_t at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | (std::uint8_t(bytes[at + 1]) << 8));
}

// The toolkit's reader shows a truncated bitmap with its missing rows left
// blank; a card set must not load like that, so uncompressed files are
// checked against the size their header promises.
std::optional<std::string> BitmapShapeProblem(const std::string& bytes, const TPictureLimit& limit)
{
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return "it is not a BMP picture";
    const std::uint32_t offset = ReadU32(bytes, 10);
    const std::uint32_t headerSize = ReadU32(bytes, 14);
    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0;
    if (headerSize == 12) {
        width = ReadU16(bytes, 18);
        height = ReadU16(bytes, 20);
        bits = ReadU16(bytes, 24);
    } else {
        if (bytes.size() < 34)
            return "the file is truncated";
        width = std::int32_t(ReadU32(bytes, 18));
        height = std::int32_t(ReadU32(bytes, 22));
        bits = ReadU16(bytes, 28);
        compression = ReadU32(bytes, 30);
    }
    if (width <= 0 || height == 0 || bits == 0)
        return "its header is damaged";
    if (auto problem = PictureSizeProblem(width, height < 0 ? -height : height, limit))
        return problem;
    const bool uncompressed = compression == 0 || compression == 3;
    if (uncompressed) {
        const std::int64_t rowBytes = ((width * bits + 31) / 32) * 4;
        const std::int64_t needed = std::int64_t(offset) + rowBytes * (height < 0 ? -height : height);
        if (std::int64_t(bytes.size()) < needed)
            return "the file is truncated";
    }
    return std::nullopt;
}

std::string Quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

// --- libjpeg plumbing. libjpeg reports fatal errors through a callback that
// must not return; it jumps back to the decoder's frame, so nothing with a
// destructor may live in the C frames in between (there are none but
// libjpeg's own), and all state touched after setjmp lives on the heap.

struct JpegErrorManager {
    jpeg_error_mgr Base{};
    std::jmp_buf Jump{};
    char Message[JMSG_LENGTH_MAX]{};
    bool Truncated = false;
};

void JpegExit(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

void JpegQuiet(j_common_ptr) {}

// Warnings go unheard but one: a file that ends early, which libjpeg would
// fill with grey.
void JpegWarning(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<JpegErrorManager*>(info->err)->Truncated = true;
}

void InstallErrorManager(jpeg_common_struct& info, JpegErrorManager& manager)
{
    info.err = jpeg_std_error(&manager.Base);
    manager.Base.error_exit = JpegExit;
    manager.Base.output_message = JpegQuiet;
    manager.Base.emit_message = JpegWarning;
}

struct DecodeState {
    jpeg_decompress_struct Info{};
    JpegErrorManager Error;
    bool Created = false;
    QImage Image;
    std::vector<JSAMPLE> Row;
    ~DecodeState()
    {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
};

struct EncodeState {
    jpeg_compress_struct Info{};
    JpegErrorManager Error;
    bool Created = false;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    std::vector<JSAMPLE> Row;
    ~EncodeState()
    {
        if (Created)
            jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
};

void StoreRow(const DecodeState& state, QRgb* line)
{
    const int width = int(state.Info.output_width);
    const JSAMPLE* in = state.Row.data();
    if (state.Info.out_color_space == JCS_CMYK) {
        // Adobe writes CMYK inverted; multiply through to RGB.
        for (int x = 0; x < width; ++x, in += 4) {
            const int k = in[3];
            line[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
        }
        return;
    }
    for (int x = 0; x < width; ++x, in += 3)
        line[x] = qRgb(in[0], in[1], in[2]);
}

} // namespace

std::optional<std::string> PictureSizeProblem(std::int64_t width, std::int64_t height, const TPictureLimit& limit)
{
    if (width <= limit.Side && height <= limit.Side && width * height <= limit.Pixels)
        return std::nullopt;
    return "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the "
           + std::to_string(limit.Side) + " pixels a side and " + std::to_string(limit.Pixels / 1'000'000)
           + " million pixels a picture may have";
}

std::optional<QImage> DecodeBitmap(const std::string& bytes, std::string* error, const TPictureLimit& limit)
{
    if (const auto problem = BitmapShapeProblem(bytes, limit)) {
        SetError(error, *problem);
        return std::nullopt;
    }
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size()), "BMP")) {
        SetError(error, "it is not a readable BMP picture");
        return std::nullopt;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

std::optional<QImage> ReadBitmapFile(const std::filesystem::path& file, std::string* error,
                                     const TPictureLimit& limit)
{
    std::string why;
    const auto bytes = platform::ReadWholeFile(file, platform::PictureFileLimit, &why);
    if (!bytes) {
        SetError(error, "Cannot open " + Quoted(file) + ": " + why + ".");
        return std::nullopt;
    }
    std::string reason;
    auto image = DecodeBitmap(*bytes, &reason, limit);
    if (!image)
        SetError(error, "Cannot read " + Quoted(file) + ": " + reason + ".");
    return image;
}

bool WriteBitmapFile(const QImage& image, const std::filesystem::path& file)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"))
        return false;
    return platform::WriteFileAtomically(file, std::string_view(data.constData(), std::size_t(data.size())));
}

std::optional<QImage> DecodeJpeg(const std::string& bytes, TJpegPerformance performance, std::string* error)
{
    const auto state = std::make_unique<DecodeState>();
    InstallErrorManager(*reinterpret_cast<jpeg_common_struct*>(&state->Info), state->Error);
    if (setjmp(state->Error.Jump)) {
        SetError(error, std::string("it is not a readable JPEG picture (") + state->Error.Message + ")");
        return std::nullopt;
    }
    jpeg_create_decompress(&state->Info);
    state->Created = true;
    jpeg_mem_src(&state->Info, reinterpret_cast<const unsigned char*>(bytes.data()), (unsigned long)bytes.size());
    jpeg_read_header(&state->Info, TRUE);
    if (auto problem = PictureSizeProblem(state->Info.image_width, state->Info.image_height, AnyPicture)) {
        SetError(error, *problem);
        return std::nullopt;
    }
    const bool cmyk = state->Info.jpeg_color_space == JCS_CMYK || state->Info.jpeg_color_space == JCS_YCCK;
    state->Info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    state->Info.dct_method = performance == jpBestSpeed ? JDCT_IFAST : JDCT_ISLOW;
    state->Info.do_fancy_upsampling = performance == jpBestSpeed ? FALSE : TRUE;
    jpeg_start_decompress(&state->Info);
    state->Image = QImage(int(state->Info.output_width), int(state->Info.output_height), QImage::Format_RGB32);
    if (state->Image.isNull()) {
        SetError(error, "the picture is too large");
        return std::nullopt;
    }
    state->Row.resize(std::size_t(state->Info.output_width) * std::size_t(state->Info.output_components));
    while (state->Info.output_scanline < state->Info.output_height) {
        const int line = int(state->Info.output_scanline);
        JSAMPROW row = state->Row.data();
        jpeg_read_scanlines(&state->Info, &row, 1);
        StoreRow(*state, reinterpret_cast<QRgb*>(state->Image.scanLine(line)));
    }
    if (state->Error.Truncated) {
        SetError(error, "the file is truncated");
        return std::nullopt;
    }
    jpeg_finish_decompress(&state->Info);
    return std::move(state->Image);
}

std::optional<QImage> ReadJpegFile(const std::filesystem::path& file, TJpegPerformance performance,
                                   std::string* error)
{
    std::string why;
    const auto bytes = platform::ReadWholeFile(file, platform::PictureFileLimit, &why);
    if (!bytes) {
        SetError(error, "Cannot open " + Quoted(file) + ": " + why + ".");
        return std::nullopt;
    }
    std::string reason;
    auto image = DecodeJpeg(*bytes, performance, &reason);
    if (!image)
        SetError(error, "Cannot read " + Quoted(file) + ": " + reason + ".");
    return image;
}

std::optional<std::string> EncodeJpeg(const QImage& image, int quality)
{
    if (image.isNull())
        return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto state = std::make_unique<EncodeState>();
    InstallErrorManager(*reinterpret_cast<jpeg_common_struct*>(&state->Info), state->Error);
    if (setjmp(state->Error.Jump))
        return std::nullopt;
    jpeg_create_compress(&state->Info);
    state->Created = true;
    jpeg_mem_dest(&state->Info, &state->Buffer, &state->Size);
    state->Info.image_width = JDIMENSION(rgb.width());
    state->Info.image_height = JDIMENSION(rgb.height());
    state->Info.input_components = 3;
    state->Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&state->Info);
    jpeg_set_quality(&state->Info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&state->Info, TRUE);
    state->Row.resize(std::size_t(rgb.width()) * 3);
    while (state->Info.next_scanline < state->Info.image_height) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(state->Info.next_scanline)));
        for (int x = 0; x < rgb.width(); ++x) {
            state->Row[std::size_t(x) * 3] = JSAMPLE(qRed(line[x]));
            state->Row[std::size_t(x) * 3 + 1] = JSAMPLE(qGreen(line[x]));
            state->Row[std::size_t(x) * 3 + 2] = JSAMPLE(qBlue(line[x]));
        }
        JSAMPROW row = state->Row.data();
        jpeg_write_scanlines(&state->Info, &row, 1);
    }
    jpeg_finish_compress(&state->Info);
    return std::string(reinterpret_cast<const char*>(state->Buffer), state->Size);
}

bool WriteJpegFile(const QImage& image, const std::filesystem::path& file, int quality)
{
    const auto bytes = EncodeJpeg(image, quality);
    return bytes && platform::WriteFileAtomically(file, *bytes);
}

bool IsJpegName(const std::filesystem::path& file)
{
    const std::string extension = file.extension().string();
    return platform::SameName(extension, ".jpg") || platform::SameName(extension, ".jpeg");
}

std::optional<QImage> ReadPictureFile(const std::filesystem::path& file, TJpegPerformance performance,
                                      std::string* error)
{
    return IsJpegName(file) ? ReadJpegFile(file, performance, error) : ReadBitmapFile(file, error);
}
