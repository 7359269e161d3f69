#include "persistence/SavedGames.h"

#include "platform/FilePath.h"

#include <QLocale>

#include <system_error>

namespace persistence {

namespace {

// The long time format without its time-zone part, which the desktop's
// locales add but a file name does not need.
QString LongTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

bool IsSavedGame(const std::filesystem::path& file)
{
    return platform::SameName(file.extension().string(), ".tsg");
}

} // namespace

std::string ProposedSaveName(const std::string& gameName, const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    QString stamp = locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ')
                    + locale.toString(when.time(), LongTimeFormat(locale));
    stamp.replace(QLatin1Char('/'), QLatin1Char('-'));
    stamp.replace(QLatin1Char(':'), QLatin1Char('-'));
    return gameName + " " + stamp.toStdString();
}

int DeleteFiles(const std::filesystem::path& dataRoot, const std::string& folder)
{
    const std::optional<std::filesystem::path> root = platform::FindPath(dataRoot, folder);
    if (!root)
        return 0;
    int deleted = 0;
    std::error_code error;
    std::filesystem::recursive_directory_iterator entry(*root, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        if (entry->is_regular_file(ignored) && IsSavedGame(entry->path())
            && std::filesystem::remove(entry->path(), ignored))
            ++deleted;
    }
    return deleted;
}

} // namespace persistence
