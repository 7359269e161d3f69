// Status.Dat: the table saves and loads its own settings.
#include "cardtable/CardTable.h"

#include <fstream>
#include <iterator>

#include <QCoreApplication>
#include <QSaveFile>

#include "cardtable/TableStatus.h"

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
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec || size > LargestStatusFile) {
        if (error != nullptr)
            *error = ec ? "it cannot be read" : "it is far too large";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error != nullptr)
            *error = "it cannot be read";
        return std::nullopt;
    }
    return bytes;
}

} // namespace

bool TCardTable::SaveStatus(const fs::path& folder) const
{
    const std::string bytes = tablestatus::WriteStatus(*this);
    QSaveFile file(QString::fromStdString(StatusFile(folder).string()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool TCardTable::LoadStatus(const fs::path& folder, std::string* error)
{
    const fs::path file = StatusFile(folder);
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
