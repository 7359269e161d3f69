// Status.Dat: the table saves and loads its own settings.
#include "cardtable/CardTable.h"

#include <QCoreApplication>

#include "cardtable/TableStatus.h"
#include "platform/FilePath.h"

namespace fs = std::filesystem;

namespace {

// Larger than any table's settings by far; a bigger file is not ours.
constexpr std::uintmax_t LargestStatusFile = 1 << 20;

fs::path StatusFile(const fs::path& folder)
{
    const fs::path base = folder.empty() ? fs::path(QCoreApplication::applicationDirPath().toStdString()) : folder;
    return base / "Status.Dat";
}

std::optional<std::string> ReadWhole(const fs::path& file, std::string* error)
{
    std::string why;
    auto bytes = platform::ReadWholeFile(file, LargestStatusFile, &why);
    if (!bytes && error != nullptr)
        *error = "it cannot be read (" + why + ")";
    return bytes;
}

} // namespace

bool TCardTable::SaveStatus(const fs::path& folder, std::string* error) const
{
    return platform::WriteFileAtomically(StatusFile(folder), tablestatus::WriteStatus(*this), error);
}

bool TCardTable::LoadStatus(const fs::path& folder, std::string* error)
{
    const fs::path file = StatusFile(folder);
    StatusNotice.clear();
    std::error_code ec;
    bool loaded = true;
    if (fs::exists(file, ec)) {
        std::string why;
        std::optional<tablestatus::TStatus> status;
        if (const auto bytes = ReadWhole(file, &why))
            status = tablestatus::ReadStatus(*bytes, &why);
        if (status) {
            const bool wasEnabled = PaintEnabled;
            PaintEnabled = false;
            DeferPainting = true;
            tablestatus::ApplyStatus(*this, *status);
            DeferPainting = false;
            PaintEnabled = wasEnabled;
        } else {
            loaded = false;
            if (error != nullptr)
                *error = file.string() + ": " + why;
        }
    }
    RefreshBackground();
    return loaded;
}
