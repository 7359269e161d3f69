#include "shell/HelpWindow.h"

#include "cardtable/ImageIO.h"

#include <QAction>
#include <QShortcut>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace help {

std::filesystem::path ContentsFile(const std::filesystem::path& programFolder)
{
    return programFolder / "help" / "index.htm";
}

std::filesystem::path PageFile(const std::filesystem::path& programFolder, const std::string& helpCode)
{
    return programFolder / "help" / "html" / ("tsly" + helpCode + ".htm");
}

} // namespace help

QVariant THelpBrowser::loadResource(int type, const QUrl& name)
{
    if (type == QTextDocument::ImageResource && name.isLocalFile()) {
        const std::filesystem::path file = name.toLocalFile().toStdString();
        if (IsJpegName(file)) {
            if (auto image = ReadPictureFile(file, jpBestQuality))
                return *image;
            // A page without its picture reads well enough; a broken-picture
            // sign would only distract.
            QImage nothing(1, 1, QImage::Format_ARGB32);
            nothing.fill(Qt::transparent);
            return nothing;
        }
    }
    return QTextBrowser::loadResource(type, name);
}

THelpWindow::THelpWindow(std::filesystem::path programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ProgramFolder(std::move(programFolder))
{
    setWindowTitle(QStringLiteral("Tessalyn Help"));
    resize(760, 680);
    Browser_ = new THelpBrowser(this);
    Browser_->setObjectName(QStringLiteral("HelpBrowser"));
    Browser_->setOpenExternalLinks(true);
    auto* bar = new QToolBar(this);
    bar->addAction(QStringLiteral("Contents"), this, [this] { ShowContents(); });
    QAction* back = bar->addAction(QStringLiteral("Back"), Browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QStringLiteral("Forward"), Browser_, &QTextBrowser::forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(Browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(Browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    // The caption names the page on show, as a browser's does.
    connect(Browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = Browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Tessalyn Help") : title);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(Browser_);
    new QShortcut(QKeySequence(Qt::Key_F1), this, [this] { ShowContents(); });
}

void THelpWindow::ShowContents() { Open(help::ContentsFile(ProgramFolder)); }

void THelpWindow::ShowPage(const std::string& helpCode, const std::string& anchor)
{
    Open(help::PageFile(ProgramFolder, helpCode), anchor);
}

std::filesystem::path THelpWindow::CurrentFile() const
{
    const QUrl source = Browser_->source();
    if (!source.isLocalFile())
        return {};
    return source.toLocalFile().toStdString();
}

void THelpWindow::Open(const std::filesystem::path& file, const std::string& anchor)
{
    if (std::filesystem::exists(file)) {
        QUrl page = QUrl::fromLocalFile(QString::fromStdString(file.string()));
        if (!anchor.empty())
            page.setFragment(QString::fromStdString(anchor));
        Browser_->setSource(page);
    } else {
        Browser_->setSource(QUrl());
        setWindowTitle(QStringLiteral("Tessalyn Help"));
        Browser_->setHtml(QStringLiteral("<h2>Page not found</h2><p>The help page <tt>%1</tt> is missing.</p>")
                              .arg(QString::fromStdString(file.string()).toHtmlEscaped()));
    }
    Present();
}

void THelpWindow::Present()
{
    show();
    raise();
    activateWindow();
}
