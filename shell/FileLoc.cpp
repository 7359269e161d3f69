#include "shell/FileLoc.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const char* const Explanation[] = {
    "Tessalyn by default will write data to the Tessalyn folder in My",
    "Documents directory.",
    "Recommended.",
    "",
    "Optionally it can be set to write files to the Tessalyn",
    "application directory.",
    "Depending upon its location and the operating system,",
    "administrative privilages may be required.",
};

QPlainTextEdit* ExplanationText(QWidget* parent)
{
    QStringList lines;
    for (const char* line : Explanation)
        lines << QString::fromLatin1(line);
    auto* text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), parent);
    text->setReadOnly(true);
    text->setFrameShape(QFrame::NoFrame);
    text->viewport()->setAutoFillBackground(false);
    text->setFocusPolicy(Qt::NoFocus);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (QFontDatabase::hasFamily(QStringLiteral("Calibri")))
        text->setFont(QFont(QStringLiteral("Calibri"), text->font().pointSize()));
    const QFontMetrics metrics(text->font());
    int width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    text->setFixedSize(width + 24, metrics.lineSpacing() * int(lines.size()) + 16);
    return text;
}

} // namespace

TFileLoc::TFileLoc(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Save Data Location"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint
                   | Qt::CustomizeWindowHint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ExplanationText(this));

    auto* group = new QGroupBox(QStringLiteral("Data File Location"), this);
    auto* choices = new QVBoxLayout(group);
    MyDocuments = new QRadioButton(QStringLiteral("My Documents"), group);
    ApplicationDirectory = new QRadioButton(QStringLiteral("Application Directory"), group);
    MyDocuments->setChecked(true);
    choices->addWidget(MyDocuments);
    choices->addWidget(ApplicationDirectory);
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFileLoc::SetLocation(int location) { (location == 1 ? ApplicationDirectory : MyDocuments)->setChecked(true); }

int TFileLoc::Location() const { return ApplicationDirectory->isChecked() ? 1 : 2; }
