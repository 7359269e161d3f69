#include "cardtable/CardSet.h"

#include <cstdlib>
#include <system_error>

#include <QCoreApplication>

#include "cardtable/ImageArrayUnit.h"
#include "cardtable/ImageIO.h"
#include "platform/FilePath.h"

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::optional<fs::path>& path)
{
    std::error_code error;
    return path && fs::is_directory(*path, error);
}

bool IsFile(const std::optional<fs::path>& path)
{
    std::error_code error;
    return path && fs::is_regular_file(*path, error);
}

// "<root>/Cardsets" when it holds a Standard set.
std::optional<fs::path> CardsetsBelow(const fs::path& root)
{
    if (root.empty())
        return std::nullopt;
    const auto folder = platform::FindPath(root, "Cardsets");
    if (IsFolder(folder) && HoldsStandardSet(*folder))
        return folder;
    return std::nullopt;
}

std::string FirstLine(const std::string& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    std::string line = text.substr(0, end);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    return line;
}

// Relative names in Config.txt or typed at the prompt are taken from the
// working directory, where Config.txt itself lives.

// The folder named in Config.txt: found (holds Standard), absent, or named
// but unusable (which ends the automatic search).
enum class ConfigOutcome { Absent, Unusable, Found };

ConfigOutcome ReadConfig(const fs::path& workingDirectory, fs::path& found)
{
    const auto config = platform::FindEntry(workingDirectory, "Config.txt");
    if (!IsFile(config))
        return ConfigOutcome::Absent;
    const auto text = platform::ReadWholeFile(*config);
    const std::string candidate = text ? FirstLine(*text) : std::string();
    if (candidate.empty() || !HoldsStandardSet(workingDirectory / candidate))
        return ConfigOutcome::Unusable;
    found = workingDirectory / candidate;
    return ConfigOutcome::Found;
}

std::optional<fs::path> SearchPathEntries(const std::string& searchPath)
{
    for (const fs::path& entry : platform::SplitSearchPath(searchPath))
        if (auto folder = CardsetsBelow(entry))
            return folder;
    return std::nullopt;
}

void RememberTypedFolder(const fs::path& workingDirectory, const std::string& typed)
{
    const fs::path config = platform::ResolvePath(workingDirectory, "Config.txt");
    // Losing the note only means being asked again next time.
    platform::WriteFileAtomically(config, typed + "\r\n");
}

QImage Scaled(QImage picture, float scale) { return scale == 1.0f ? picture : ScalePicture(picture, scale); }

// Every picture of a set but the faces and backs comes from one root: the
// per-user one when it has this set's shadow masks.
fs::path OtherFilesRoot(const TCardSetFolders& folders, const std::string& set)
{
    if (!folders.User.empty() && IsFile(platform::FindPath(folders.User, set + "/Shadow00M.bmp")))
        return folders.User;
    return folders.Cardsets;
}

QImage LoadRequired(const fs::path& root, const std::string& set, const std::string& file)
{
    const auto path = platform::FindPath(root, set + "/" + file);
    if (!IsFile(path))
        throw ECardTableError("The card set \"" + set + "\" has no picture \"" + file + "\".");
    return LoadSetPicture(*path);
}

QImage LoadFace(const TCardSetFolders& folders, const std::string& set, const std::string& file)
{
    const auto path = FindSetFile(folders, set, file);
    if (!path)
        throw ECardTableError("The card set \"" + set + "\" has no picture \"" + file + "\".");
    return LoadSetPicture(*path);
}

// Pictures of the wrong size would make the table's masked drawing read
// past their edges, so they are refused here with the file's name.
void RequireSize(const QImage& picture, QSize size, const std::string& set, const std::string& file)
{
    if (picture.size() != size)
        throw ECardTableError("The picture \"" + file + "\" of the card set \"" + set + "\" is " +
                              std::to_string(picture.width()) + " x " + std::to_string(picture.height()) +
                              " pixels, not the card size " + std::to_string(size.width()) + " x " +
                              std::to_string(size.height()) + ".");
}

constexpr const char* BaseFiles[7] = {"Bottom01.bmp", "Bottom02.bmp", "Bottom04.bmp", "Bottom05.bmp",
                                      "Bottom06.bmp", "Bottom07.bmp", "Shade.bmp"};

} // namespace

TCardsetsSearch CurrentCardsetsSearch()
{
    TCardsetsSearch search;
    std::error_code error;
    search.WorkingDirectory = fs::current_path(error);
    if (QCoreApplication::instance() != nullptr)
        search.ProgramDirectory = QCoreApplication::applicationDirPath().toStdString();
    if (const char* path = std::getenv("PATH"))
        search.SearchPath = path;
    return search;
}

bool HoldsStandardSet(const fs::path& folder)
{
    return !folder.empty() && IsFolder(platform::FindPath(folder, "Standard"));
}

fs::path LocateCardsetsFolder(const TCardsetsSearch& search)
{
    if (auto folder = CardsetsBelow(search.WorkingDirectory))
        return *folder;
    if (auto folder = CardsetsBelow(search.ProgramDirectory))
        return *folder;
    fs::path configured;
    const ConfigOutcome config = ReadConfig(search.WorkingDirectory, configured);
    if (config == ConfigOutcome::Found)
        return configured;
    if (config == ConfigOutcome::Absent)
        if (auto folder = SearchPathEntries(search.SearchPath))
            return *folder;
    if (search.Prompt) {
        const std::optional<std::string> typed = search.Prompt();
        if (typed && !typed->empty() && HoldsStandardSet(search.WorkingDirectory / *typed)) {
            RememberTypedFolder(search.WorkingDirectory, *typed);
            return search.WorkingDirectory / *typed;
        }
    }
    throw ECardTableError(CardsetsNotFoundMessage);
}

std::string FaceFileName(int suit, int value)
{
    if (suit == 4)
        return (value % 2 == 0 ? "01" : "02") + std::string("joker.bmp");
    static constexpr char Suits[] = {'c', 'd', 'h', 's'};
    const int number = value + 1;
    return (number < 10 ? "0" : "") + std::to_string(number) + Suits[suit & 3] + ".bmp";
}

std::string BackFileName(int number) { return "Back" + std::to_string(number) + ".bmp"; }

std::optional<fs::path> FindSetFile(const TCardSetFolders& folders, const std::string& set, const std::string& file)
{
    const std::string relative = set + "/" + file;
    if (!folders.User.empty())
        if (auto path = platform::FindPath(folders.User, relative); IsFile(path))
            return path;
    if (auto path = platform::FindPath(folders.Cardsets, relative); IsFile(path))
        return path;
    return std::nullopt;
}

bool SetExists(const TCardSetFolders& folders, const std::string& set)
{
    if (set.empty())
        return false;
    return IsFolder(platform::FindPath(folders.Cardsets, set)) ||
           (!folders.User.empty() && IsFolder(platform::FindPath(folders.User, set)));
}

int CountBacks(const TCardSetFolders& folders, const std::string& set)
{
    int n = 0;
    while (n < 9 && FindSetFile(folders, set, BackFileName(n + 1)))
        ++n;
    return n;
}

QImage LoadSetPicture(const fs::path& file)
{
    std::string error;
    auto picture = ReadBitmapFile(file, &error, CardPicture);
    if (!picture)
        throw ECardTableError(error);
    return *picture;
}

int FaceIndex(int suit, int value) { return suit == 4 ? 52 + value % 2 : suit * 13 + value; }

std::pair<QImage, int> LoadBackPicture(const TCardSetFolders& folders, const std::string& set, int number,
                                       float scale)
{
    std::optional<fs::path> path = number >= 1 ? FindSetFile(folders, set, BackFileName(number)) : std::nullopt;
    if (!path) {
        number = 1;
        path = FindSetFile(folders, set, BackFileName(1));
    }
    if (!path)
        throw ECardTableError(NoCardBacksMessage);
    return {Scaled(LoadSetPicture(*path), scale), number};
}

TCardSetImages LoadCardSetImages(const TCardSetFolders& folders, const std::string& set, bool withJokers,
                                 int backNumber, float scale)
{
    if (!SetExists(folders, set))
        throw ECardTableError("The card set \"" + set + "\" was not found.");
    TCardSetImages images;
    images.BackCount = CountBacks(folders, set);
    if (images.BackCount == 0)
        throw ECardTableError(NoCardBacksMessage);

    // Sizes are checked on the pictures as stored, before scaling.
    auto [back, number] = LoadBackPicture(folders, set, backNumber, 1.0f);
    const QSize cardSize = back.size();
    images.BackNumber = number;

    images.Faces.resize(54);
    auto loadFace = [&](int suit, int value) {
        const std::string file = FaceFileName(suit, value);
        QImage face = LoadFace(folders, set, file);
        RequireSize(face, cardSize, set, file);
        images.Faces[std::size_t(FaceIndex(suit, value))] = Scaled(std::move(face), scale);
    };
    for (int suit = 0; suit < 4; ++suit)
        for (int value = 0; value < 13; ++value)
            loadFace(suit, value);
    if (withJokers) {
        loadFace(4, 0);
        loadFace(4, 1);
    }

    const fs::path root = OtherFilesRoot(folders, set);
    auto load = [&](const char* file) { return LoadRequired(root, set, file); };
    QImage mask = load("CardMask.bmp");
    RequireSize(mask, cardSize, set, "CardMask.bmp");
    for (std::size_t kind = 0; kind < images.BaseImages.size(); ++kind) {
        QImage base = load(BaseFiles[kind]);
        RequireSize(base, cardSize, set, BaseFiles[kind]);
        images.BaseImages[kind] = Scaled(std::move(base), scale);
    }
    QImage shadow00 = load("Shadow00.bmp");
    QImage shadow01 = load("Shadow01.bmp");
    QImage shadow00M = load("Shadow00M.bmp");
    QImage shadow00IM = load("Shadow00IM.bmp");
    QImage shadow01M = load("Shadow01M.bmp");
    QImage shadow01IM = load("Shadow01IM.bmp");
    RequireSize(shadow00M, shadow00.size(), set, "Shadow00M.bmp");
    RequireSize(shadow00IM, shadow00.size(), set, "Shadow00IM.bmp");
    RequireSize(shadow01M, shadow01.size(), set, "Shadow01M.bmp");
    RequireSize(shadow01IM, shadow01.size(), set, "Shadow01IM.bmp");
    const bool ownShade = set == "C_1" || set == "C_2";
    QImage shadow02 = ownShade ? load("Shadow02.bmp") : images.BaseImages[6];

    images.Back = Scaled(std::move(back), scale);
    images.Mask = Scaled(std::move(mask), scale);
    images.InverseMask = InvertedPicture(images.Mask);
    images.Shadow00 = Scaled(std::move(shadow00), scale);
    images.Shadow01 = Scaled(std::move(shadow01), scale);
    images.Shadow00M = Scaled(std::move(shadow00M), scale);
    images.Shadow00IM = Scaled(std::move(shadow00IM), scale);
    images.Shadow01M = Scaled(std::move(shadow01M), scale);
    images.Shadow01IM = Scaled(std::move(shadow01IM), scale);
    images.Shadow02 = ownShade ? Scaled(std::move(shadow02), scale) : shadow02.copy();
    return images;
}

QImage ScalePicture(const QImage& source, float scale)
{
    QImage target;
    TImageArray(source).Render(target, QPoint(source.width() / 2, source.height() / 2), false, false, scale, 0.0);
    return target;
}

QImage InvertedPicture(const QImage& source)
{
    QImage inverse = source.convertToFormat(QImage::Format_RGB32);
    inverse.invertPixels(QImage::InvertRgb);
    return inverse;
}
