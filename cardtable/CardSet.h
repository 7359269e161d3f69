#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QImage>

// Raised for card sets that cannot be used. The messages for a missing card
// sets folder and a set without backs are fixed texts the user sees.
class ECardTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* CardsetsNotFoundMessage = "Cardsets directory not found.";
inline constexpr const char* NoCardBacksMessage = "No CardBacks Found.";

// The two roots a set is searched in; the per-user one (may be empty) wins
// file by file for faces and backs.
struct TCardSetFolders {
    std::filesystem::path Cardsets;
    std::filesystem::path User;
};

// Where the card sets folder search looks, in order.
struct TCardsetsSearch {
    std::filesystem::path WorkingDirectory;
    std::filesystem::path ProgramDirectory;
    std::string SearchPath;                               // the PATH variable, ":"-separated
    std::function<std::optional<std::string>()> Prompt;   // asked last; may be empty
};

// The search inputs of this process: current directory, program folder, $PATH.
TCardsetsSearch CurrentCardsetsSearch();

// The card sets folder: the first candidate that holds a "Standard" set.
// A Config.txt naming a folder without "Standard" skips the PATH search. A
// folder typed at the prompt is remembered in the working directory's
// Config.txt. Throws ECardTableError(CardsetsNotFoundMessage).
std::filesystem::path LocateCardsetsFolder(const TCardsetsSearch& search);

// True when `folder` holds a "Standard" subfolder (any letter case).
bool HoldsStandardSet(const std::filesystem::path& folder);

// "01c.bmp" .. "13s.bmp"; jokers (suit 4) "01joker.bmp" for values 0 and 2,
// "02joker.bmp" for 1 and 3.
std::string FaceFileName(int suit, int value);

// "Back<n>.bmp".
std::string BackFileName(int number);

// The set folder in the per-user root if it exists there, else in the card
// sets root; nullopt when neither has it.
std::optional<std::filesystem::path> FindSetFile(const TCardSetFolders& folders,
                                                 const std::string& set, const std::string& file);

// True when the set has a folder in either root.
bool SetExists(const TCardSetFolders& folders, const std::string& set);

// Number of contiguous backs Back1..Back9 found in either root (0..9).
int CountBacks(const TCardSetFolders& folders, const std::string& set);

// Reads one bitmap as RGB32; throws ECardTableError naming the file when it
// is missing, unreadable or not a BMP.
QImage LoadSetPicture(const std::filesystem::path& file);

// Every picture of one set, already scaled; what the deck takes over when a
// load succeeds.
struct TCardSetImages {
    // Faces in (suit, value) order: index suit * 13 + value for the 52 cards,
    // 52 for "01joker.bmp", 53 for "02joker.bmp" (only loaded when asked).
    std::vector<QImage> Faces;
    QImage Back;
    int BackNumber = 1;
    int BackCount = 0;
    QImage Mask;
    QImage InverseMask;
    QImage Shadow00, Shadow01, Shadow02;
    QImage Shadow00M, Shadow00IM, Shadow01M, Shadow01IM;
    std::array<QImage, 7> BaseImages;
};

// Index into TCardSetImages::Faces for a card.
int FaceIndex(int suit, int value);

// Loads the whole set at `scale` with back `backNumber` (back 1 when that
// one is missing). `withJokers` loads the two joker faces too. Throws
// ECardTableError with a message naming the set or the file.
TCardSetImages LoadCardSetImages(const TCardSetFolders& folders, const std::string& set,
                                 bool withJokers, int backNumber, float scale);

// Loads back `number` (back 1 when missing) at `scale`; returns the picture
// and the number actually loaded.
std::pair<QImage, int> LoadBackPicture(const TCardSetFolders& folders, const std::string& set,
                                       int number, float scale);

// Scales with the rotation routine at angle 0, as every set picture is.
QImage ScalePicture(const QImage& source, float scale);

// Each pixel's colour bits inverted (the mask's inverse).
QImage InvertedPicture(const QImage& source);
