#pragma once

#include <QTextBrowser>
#include <QWidget>

#include <filesystem>
#include <string>

class QLabel;

// The help pages beside the program: help/index.htm, the contents, and
// help/html/tsly<code>.htm, one page per help code.
namespace help {
std::filesystem::path ContentsFile(const std::filesystem::path& programFolder);
std::filesystem::path PageFile(const std::filesystem::path& programFolder, const std::string& helpCode);
} // namespace help

// Shows the help pages. Pictures are decoded by the program's own picture
// reader, so a page shows the same previews the start screen shows.
class THelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl& name) override;
};

// The help window: one per main window, raised again on every request.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(std::filesystem::path programFolder, QWidget* parent = nullptr);

    void ShowContents();
    // The page of a help code, scrolled to `anchor` when one is given; a
    // missing page is reported in the window.
    void ShowPage(const std::string& helpCode, const std::string& anchor = {});

    // The file on show, empty when none (a missing page).
    std::filesystem::path CurrentFile() const;
    THelpBrowser* Browser() const { return Browser_; }

private:
    void Open(const std::filesystem::path& file, const std::string& anchor = {});
    void Present();

    std::filesystem::path ProgramFolder;
    THelpBrowser* Browser_ = nullptr;
};
