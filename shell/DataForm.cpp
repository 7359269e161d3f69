#include "shell/DataForm.h"

#include "persistence/Player.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int ClientWidth = 304;
constexpr int ClientHeight = 325;
constexpr int GridRows = 21;
constexpr int GridRowHeight = 20;
const QColor SkyBlue(166, 202, 240);
const char* const Headings[] = {"NAME", "DATE", "POINTS"};

QLabel* AddLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

bool HaveCalibri() { return QFontDatabase::hasFamily(QStringLiteral("Calibri")); }

} // namespace

TDataForm::TDataForm(QWidget* parent, TRunModal runModal) : QDialog(parent), RunModal(std::move(runModal))
{
    setWindowTitle(QStringLiteral("Statistics and High Scores."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    GameNameLabel = AddLabel(this, QString(), QRect(8, 4, ClientWidth - 16, 20));
    GameNameLabel->setAlignment(Qt::AlignCenter);
    QFont title = GameNameLabel->font();
    title.setBold(true);
    GameNameLabel->setFont(title);

    Pages = new QTabWidget(this);
    Pages->setTabPosition(QTabWidget::South);
    Pages->setGeometry(0, 28, ClientWidth, ClientHeight - 28);
    StatisticsTab = BuildStatisticsPage();
    HighScoresTab = BuildHighScoresPage();
    NewEntryTab = BuildNewEntryPage();
    Pages->addTab(StatisticsTab, QStringLiteral("Statistics"));
    Pages->addTab(HighScoresTab, QStringLiteral("High_Scores"));
    Pages->addTab(NewEntryTab, QStringLiteral("New Entry"));
    ShowPages(false);
}

QWidget* TDataForm::BuildStatisticsPage()
{
    auto* page = new QWidget;
    PlayedLabel = AddLabel(page, QStringLiteral("Played: 0"), QRect(10, 6, 130, 18));
    WonLabel = AddLabel(page, QStringLiteral("Won: 0"), QRect(160, 6, 130, 18));
    Image1 = new QLabel(page);
    Image1->setGeometry(10, 28, 281, 201);
    LostPercentLabel = AddLabel(page, QStringLiteral("Lost: 0%"), QRect(10, 234, 140, 18));
    WonPercentLabel = AddLabel(page, QStringLiteral("Won: 0%"), QRect(170, 234, 130, 18));
    Image1->setPixmap(QPixmap::fromImage(BarChart(Image1->size(), 0, 0)));
    return page;
}

QWidget* TDataForm::BuildHighScoresPage()
{
    auto* page = new QWidget;
    HighScoresGrid = new QTableWidget(GridRows, 3, page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(HighScoresGrid);
    HighScoresGrid->horizontalHeader()->hide();
    // Each column a third of the grid's width, whatever that width is.
    HighScoresGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    HighScoresGrid->verticalHeader()->hide();
    HighScoresGrid->verticalHeader()->setDefaultSectionSize(GridRowHeight);
    HighScoresGrid->verticalHeader()->setMinimumSectionSize(GridRowHeight);
    HighScoresGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Twenty rows of 20 pixels are more than the window's height: without a
    // scroll bar the lower half of the table could never be seen.
    HighScoresGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    HighScoresGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    HighScoresGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    HighScoresGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (HaveCalibri())
        HighScoresGrid->setFont(QFont(QStringLiteral("Calibri"), HighScoresGrid->font().pointSize() + 1));
    for (int row = 0; row < GridRows; ++row)
        for (int column = 0; column < 3; ++column)
            HighScoresGrid->setItem(row, column, new QTableWidgetItem);
    ApplyGridLayout();
    return page;
}

QWidget* TDataForm::BuildNewEntryPage()
{
    auto* page = new QWidget;
    auto* congratulations = AddLabel(page, QStringLiteral("CONGRATULATIONS"), QRect(0, 30, ClientWidth, 30));
    QFont big = congratulations->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    congratulations->setFont(big);
    congratulations->setAlignment(Qt::AlignCenter);
    auto* newHigh = AddLabel(page, QStringLiteral("New High Score"), QRect(0, 66, ClientWidth, 22));
    newHigh->setAlignment(Qt::AlignCenter);
    EntryPointsLabel = AddLabel(page, QStringLiteral("Points: "), QRect(40, 110, 220, 20));
    EntryPositionLabel = AddLabel(page, QStringLiteral("Position: "), QRect(40, 134, 220, 20));
    Edit1 = new QLineEdit(page);
    Edit1->setGeometry(40, 170, ClientWidth - 80, 28);
    Edit1->setMaxLength(40);
    if (HaveCalibri())
        Edit1->setFont(QFont(QStringLiteral("Calibri"), Edit1->font().pointSize() + 2));
    connect(Edit1, &QLineEdit::returnPressed, this, &QDialog::accept);
    return page;
}

// Headings in sky blue, the first entry selected.
void TDataForm::ApplyGridLayout()
{
    for (int column = 0; column < 3; ++column) {
        QTableWidgetItem* heading = HighScoresGrid->item(0, column);
        heading->setText(QString::fromLatin1(Headings[column]));
        heading->setBackground(SkyBlue);
        heading->setFlags(Qt::ItemIsEnabled);
    }
    HighScoresGrid->selectRow(1);
}

void TDataForm::ShowPages(bool newEntry)
{
    Pages->setTabVisible(Pages->indexOf(StatisticsTab), !newEntry);
    Pages->setTabVisible(Pages->indexOf(HighScoresTab), !newEntry);
    Pages->setTabVisible(Pages->indexOf(NewEntryTab), newEntry);
}

void TDataForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ApplyGridLayout();
    if (parentWidget() != nullptr)
        move(parentWidget()->window()->geometry().center() - rect().center());
}

QString TDataForm::Percentage(double value)
{
    const QLocale locale = QLocale::system();
    QString text = locale.toString(value, 'f', 4);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

QImage TDataForm::BarChart(QSize size, double lost, double won)
{
    QImage chart(size, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    const int h = size.height();
    const auto bar = [&](int left, int right, double percent, const QColor& colour) {
        const int top = h - int(std::lround((h - 10) * percent / 100.0));
        painter.setPen(Qt::black);
        painter.setBrush(colour);
        // Drawn like the desktop's rectangles: the right and bottom edges lie outside.
        painter.drawRect(QRect(QPoint(left, top), QPoint(right - 1, h - 1)));
    };
    bar(20, 100, lost, Qt::red);
    bar(180, 260, won, SkyBlue);
    return chart;
}

void TDataForm::ShowStats(const persistence::TGameStats& stats)
{
    for (int e = 0; e < persistence::HighScoreEntries; ++e) {
        const persistence::THighScore& entry = stats.Scores[std::size_t(e)];
        HighScoresGrid->item(e + 1, 0)->setText(QString::fromStdString(entry.Name));
        HighScoresGrid->item(e + 1, 1)->setText(QString::fromStdString(entry.Date));
        HighScoresGrid->item(e + 1, 2)->setText(QString::number(entry.Points));
    }
    PlayedLabel->setText(QStringLiteral("Played: %1").arg(stats.Played));
    WonLabel->setText(QStringLiteral("Won: %1").arg(stats.Won));
    double lost = 0;
    double won = 0;
    if (stats.Played != 0) {
        lost = double(stats.Played - stats.Won) / stats.Played * 100.0;
        won = double(stats.Won) / stats.Played * 100.0;
    }
    LostPercentLabel->setText(QStringLiteral("Lost: ") + Percentage(lost) + QStringLiteral("%"));
    WonPercentLabel->setText(QStringLiteral("Won: ") + Percentage(won) + QStringLiteral("%"));
    Image1->setPixmap(QPixmap::fromImage(BarChart(Image1->size(), lost, won)));
}

void TDataForm::ShowStatistics(const std::string& gameName, TPage page, const std::filesystem::path& dataRoot)
{
    ShowPages(false);
    Pages->setCurrentWidget(page == HighScoresPage ? HighScoresTab : StatisticsTab);
    if (PlayCue)
        PlayCue("applause3.wav");
    GameNameLabel->setText(QString::fromStdString(gameName));
    ShowStats(persistence::LoadGameStats(gameName, dataRoot));
    RunModal(*this);
}

std::string TDataForm::EnterHighScore(int position, int points, const std::filesystem::path& dataRoot)
{
    ShowPages(true);
    Pages->setCurrentWidget(NewEntryTab);
    const std::string defaultName = persistence::ReadPlayerName(dataRoot);
    Edit1->setText(QString::fromStdString(defaultName));
    EntryPointsLabel->setText(QStringLiteral("Points: %1").arg(points));
    EntryPositionLabel->setText(QStringLiteral("Position: %1").arg(position));
    if (PlayCue)
        PlayCue("fanfare_x.wav");
    Edit1->setFocus();
    Edit1->selectAll();
    RunModal(*this);
    const std::string name = Edit1->text().toStdString();
    if (name != defaultName)
        persistence::WritePlayerName(dataRoot, name);
    ShowPages(false);
    return name;
}
