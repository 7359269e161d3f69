// genpreviews: writes the start screen's pictures into the program folder.
//
//   genpreviews PROGRAM_FOLDER
//
// "GameImages/N.jpg" for every game number, each a deal of that game by the
// engine on a card table that is never shown, with the Standard card set
// found in PROGRAM_FOLDER/Cardsets; the title strip "qx3.jpg" and the
// background "backdrop.jpg"; and for the help pages
// "help/pictures/<help anchor>.jpg", every game's deal with the names of its
// places drawn on it. Each game is dealt from a seed of its own, so
// two runs give the same pictures.

#include "Labels.h"
#include "Pictures.h"

#include "cardtable/CardTable.h"
#include "cardtable/ImageIO.h"
#include "cardtable/Random.h"
#include "catalogue/GameDefinitions.h"
#include "engine/Engine.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int Quality = 85;

// Deals on the card table keep no score, play nothing and ask nothing.
class TPreviewHost : public TQuietHost {
public:
    bool ScoringOn() const override { return false; }
};

bool Write(const QImage& picture, const fs::path& file)
{
    if (WriteJpegFile(picture, file, Quality))
        return true;
    std::fprintf(stderr, "genpreviews: cannot write %s\n", file.c_str());
    return false;
}

bool WritePreviews(const fs::path& folder)
{
    TCardTable table(nullptr, folder / "Cardsets");
    table.SetTableSize(1400, 1000);
    table.SetColor(QColor(0, 110, 55)); // the baize green of a card table
    TPreviewHost host;
    TEngine engine(table, host);
    std::error_code error;
    fs::create_directories(folder / "GameImages", error);
    fs::create_directories(folder / "help" / "pictures", error);
    std::set<int> written;
    bool ok = true;
    for (const TGameDefinition& game : GameDefinitions()) {
        if (game.GameNumber <= 0)
            continue;
        SetRandSeed(std::uint32_t(game.GameNumber) * 2654435761u);
        engine.SelectGame(game.GameName);
        // Two games of one number share its preview: the first one draws it.
        if (written.insert(game.GameNumber).second) {
            const QImage preview = PreviewFromTable(table.SurfaceImage());
            ok = Write(preview, folder / "GameImages" / (std::to_string(game.GameNumber) + ".jpg")) && ok;
        }
        const QImage labelled = LabelledDeal(table.SurfaceImage(), PlacesOf(engine), QSize(640, 480));
        ok = Write(labelled, folder / "help" / "pictures" / (HelpAnchor(game.GameName) + ".jpg")) && ok;
        // A fresh game each time: the same game twice would not deal again.
        engine.Rules.GameName.clear();
        engine.LastGameName.clear();
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: genpreviews PROGRAM_FOLDER\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    try {
        bool ok = Write(TitleStrip(), folder / "qx3.jpg");
        ok = Write(Backdrop(), folder / "backdrop.jpg") && ok;
        ok = WritePreviews(folder) && ok;
        return ok ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "genpreviews: %s\n", failure.what());
        return 1;
    }
}
