// genpictures: writes the program's own pictures into its folder: the
// table's background textures ("Textures") and the win show's strip
// ("Big.jpg").
//
//   genpictures PROGRAM_FOLDER
//
// The output depends on nothing but this program, so two runs give the same bytes.
#include "Pictures.h"

#include "cardtable/ImageIO.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool Write(const QImage& image, const fs::path& file)
{
    if (WriteJpegFile(image, file, 92))
        return true;
    std::fprintf(stderr, "genpictures: cannot write %s\n", file.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: genpictures PROGRAM_FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder / "Textures", error);
    bool ok = !error;
    for (const TPicture& texture : Textures())
        ok = Write(texture.Image, folder / "Textures" / texture.FileName) && ok;
    ok = Write(WinStrip(), folder / "Big.jpg") && ok;
    return ok ? 0 : 1;
}
