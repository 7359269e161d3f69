// Writes the help pages into the program folder: help/index.htm and
// help/html/tsly<code>.htm for every help code of the catalogue.
#include "tools/genhelp/HelpPages.h"

#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <filesystem>

namespace {

bool WriteText(const std::filesystem::path& file, const std::string& text)
{
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(text.data(), qint64(text.size()));
    return out.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: genhelp <program folder> [odds.tsv]\n");
        return 2;
    }
    const std::filesystem::path help = std::filesystem::path(argv[1]) / "help";
    std::filesystem::create_directories(help / "html");
    // Without the survey the pages simply leave the odds out.
    const TOddsTable odds = argc == 3 ? ReadOdds(argv[2]) : TOddsTable{};
    bool ok = WriteText(help / "index.htm", ContentsPage(StandardGameTypeMenu(), odds));
    for (const auto& [code, games] : GamesByHelpCode())
        ok = WriteText(help / "html" / PageFileName(code), HelpPage(code, games, "../pictures/", odds)) && ok;
    if (!ok) {
        std::fprintf(stderr, "genhelp: could not write every page into %s\n", help.string().c_str());
        return 1;
    }
    return 0;
}
