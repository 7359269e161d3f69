#pragma once

#include "shell/Starfield.h"

#include <QImage>
#include <QRegion>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFrame;
class QTableWidget;
class TMarquee;
struct TMenuItem;

// The preview picture: stretched over the box; a double click starts the game.
class TPictureBox : public QWidget {
    Q_OBJECT

public:
    explicit TPictureBox(QWidget* parent = nullptr);
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return Picture_; }
    std::function<void()> OnDblClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage Picture_;
};

// The black picture the stars fly over. Each frame repaints only the
// squares the stars touched.
class TStarView : public QWidget {
    Q_OBJECT

public:
    explicit TStarView(QWidget* parent = nullptr);
    // Black again, the stars scattered anew for the current size.
    void Restart();
    void Frame();
    const QImage& Surface() const { return Surface_; }
    TStarfield& Field() { return Field_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage Surface_;
    TStarfield Field_;
    QRegion FrameRegion; // what the last frame asked to repaint
};

// The filters of the second box, in its order.
enum TGameFilter { gfAllGames, gfNotPlayed, gfNotWon, gfWon };
bool KeepGameRow(TGameFilter filter, int played, int won);

struct TGameCounts {
    int Played = 0;
    int Won = 0;
};

// The start screen shown between games: the category and filter boxes, the
// game list with each game's counters, the preview picture, the scrolling
// text and the star field, over the background picture. It knows games
// only by name; the main window previews and starts them.
class QLabel;

class TStartScreen : public QWidget {
    Q_OBJECT

public:
    explicit TStartScreen(QWidget* parent = nullptr);

    // Where the list's games and their counters come from.
    std::function<const TMenuItem&()> GameTypeMenu;
    std::function<TGameCounts(const std::string& gameName)> GameCounts;
    // A row chosen for a look (preview) or for play (start); row > 0.
    std::function<void(int row)> OnPreviewRow;
    std::function<void(int row)> OnStartRow;
    // False while the list must ignore the player (the table is busy drawing).
    std::function<bool()> InputAllowed;
    // After the panels moved (the window's size changed).
    std::function<void()> OnRelayout;

    // The category box takes the " Game Type " captions in menu order.
    void SetCategories(const QStringList& captions);

    void FillStringGrid();
    void CategoryChange(); // ComboBox1Change
    void FilterChange();   // ComboBox2Change
    // A capital letter: the first game from row 1 down whose name begins
    // with it, then a look at the selected row.
    void JumpToLetter(char letter);

    int Row() const;
    void SelectRow(int row);
    int RowCount() const;
    std::string RowName(int row) const;
    const std::vector<std::string>& GameNameList() const { return GameNameList_; }
    QString Category() const;

    // Lays the panels out for the current size.
    void Relayout();
    // The window area the title show blends over: 10 pixels below the preview.
    QRect TitleArea() const;
    // The background as shown; the title show draws into it.
    QImage& Canvas() { return Canvas_; }
    // The background as it is without any show drawn on it.
    const QImage& CleanBackground() const { return Background_; }
    // Wipes whatever a show left in `area` of the canvas.
    void CleanArea(const QRect& area);
    void SetBackdrop(const QImage& picture);

    // The parts.
    QFrame* StarsPanel = nullptr; // Panel1
    TStarView* Image1 = nullptr;
    QFrame* MarqueePanel = nullptr; // Panel2
    TMarquee* Marquee = nullptr;
    QComboBox* CategoryBox = nullptr; // ComboBox1
    QComboBox* FilterBox = nullptr;   // ComboBox2
    QFrame* ListPanel = nullptr;      // Panel3
    QTableWidget* GameList = nullptr; // StringGrid1
    QFrame* PreviewPanel = nullptr;   // Panel4
    TPictureBox* Image2 = nullptr;
    // Under the picture: how often the game's deals can be won.
    QLabel* OddsLabel = nullptr;
    // Empty hides the line.
    void SetOddsText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildParts();
    void SetColumnWidths();
    void ResetGrid();
    void SetRow(int row, const std::string& name, const TGameCounts& counts);
    void PreviewRow(int row);
    void StartRow(int row);
    bool GridMouseDown(QMouseEvent* event);
    bool GridWheel(QWheelEvent* event);
    bool GridKeyDown(QKeyEvent* event);
    void RestretchCanvas();

    std::vector<std::string> GameNameList_;
    QImage Backdrop;
    QImage Background_;
    QImage Canvas_;
};

class QDate;

// The scrolling text of the start screen for the given day: the holiday
// blocks on their dates, the program's name, version and addresses, the
// quotations and the farewell.
QStringList StartScreenLines(const QDate& today);
