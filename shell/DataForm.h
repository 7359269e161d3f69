#pragma once

#include "persistence/Data.h"

#include <QDialog>
#include <QImage>

#include <filesystem>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QTabWidget;
class QTableWidget;
class QWidget;

// "Statistics and High Scores.": a game's counters with a bar chart of lost
// and won games, its table of the twenty best scores, and the page that takes
// the name for a new high score.
class TDataForm : public QDialog {
    Q_OBJECT

public:
    // `runModal` shows the window modally and returns its result; tests
    // answer without blocking.
    using TRunModal = std::function<int(QDialog&)>;

    explicit TDataForm(QWidget* parent, TRunModal runModal);

    enum TPage { StatisticsPage = 0, HighScoresPage = 1 };

    // Shows the game's statistics and high scores on `page`.
    void ShowStatistics(const std::string& gameName, TPage page, const std::filesystem::path& dataRoot);
    // Asks the name for a new high score; the name last typed is offered and
    // remembered in Player.dat when it changes.
    std::string EnterHighScore(int position, int points, const std::filesystem::path& dataRoot);

    // Fills the pages from `stats` (the counters, the percentages, the chart, the grid).
    void ShowStats(const persistence::TGameStats& stats);

    // "Lost: " / "Won: " figures: a percentage to four decimals without
    // trailing zeros, in the desktop's number format.
    static QString Percentage(double value);
    // The bar chart of lost and won games, in percent, on a picture of `size`.
    static QImage BarChart(QSize size, double lost, double won);

    QLabel* GameNameLabel = nullptr;        // Label1: the game's name
    QLabel* PlayedLabel = nullptr;          // Label2: played
    QLabel* WonLabel = nullptr;             // Label3: won
    QLabel* EntryPointsLabel = nullptr;     // Label6: new entry: points
    QLabel* EntryPositionLabel = nullptr;   // Label7: new entry: position
    QLabel* LostPercentLabel = nullptr;     // Label8: lost percentage
    QLabel* WonPercentLabel = nullptr;      // Label9: won percentage
    QLabel* Image1 = nullptr;               // the bar chart
    QTableWidget* HighScoresGrid = nullptr; // StringGrid1
    QLineEdit* Edit1 = nullptr;
    QTabWidget* Pages = nullptr; // PageControl1
    QWidget* StatisticsTab = nullptr;
    QWidget* HighScoresTab = nullptr;
    QWidget* NewEntryTab = nullptr;

    // Called when the window opens a page: the sound the window plays.
    std::function<void(const std::string& cue)> PlayCue;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildStatisticsPage();
    QWidget* BuildHighScoresPage();
    QWidget* BuildNewEntryPage();
    void ApplyGridLayout();
    void ShowPages(bool newEntry);

    TRunModal RunModal;
};
