#include "shell/StartScreen.h"

#include "catalogue/MenuTree.h"
#include "platform/Trace.h"
#include "shell/Marquee.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int Margin = 10;
constexpr int BoxRowHeight = 30; // the boxes' row between the strip's top and the list
constexpr int PreviewWidth = 402;
constexpr int TitleWidth = 402;
constexpr int TitleHeight = 144;
constexpr int GridRowHeight = 22;

const char* const Filters[] = {"All Games", "Games Not Played", "Games Not Won", "Games Won"};
const char* const Headings[] = {"GAME NAME", "PLAYED", "WON"};

} // namespace

bool KeepGameRow(TGameFilter filter, int played, int won)
{
    switch (filter) {
    case gfAllGames:
        return true;
    case gfNotPlayed:
        return played == 0;
    case gfNotWon:
        return won == 0;
    case gfWon:
        return won >= 1;
    }
    return true;
}

// ---------------------------------------------------------------------------

TStartScreen::TStartScreen(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("StartScreen"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    BuildParts();
    Relayout();
}

void TStartScreen::BuildParts()
{
    const auto panel = [this](const char* name) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setFrameShape(QFrame::Panel);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setLineWidth(1);
        frame->setAutoFillBackground(true);
        return frame;
    };
    StarsPanel = panel("StarsPanel");
    Image1 = new TStarView(StarsPanel);
    Image1->setObjectName(QStringLiteral("Image1"));
    MarqueePanel = panel("MarqueePanel");
    Marquee = new TMarquee(MarqueePanel);
    Marquee->setObjectName(QStringLiteral("Marquee"));
    QFont marqueeFont = Marquee->font();
    marqueeFont.setPointSize(12);
    Marquee->setFont(marqueeFont);
    QPalette marqueeColours = Marquee->palette();
    marqueeColours.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    Marquee->setPalette(marqueeColours);

    CategoryBox = new QComboBox(this);
    CategoryBox->setObjectName(QStringLiteral("CategoryBox"));
    FilterBox = new QComboBox(this);
    FilterBox->setObjectName(QStringLiteral("FilterBox"));
    for (const char* filter : Filters)
        FilterBox->addItem(QString::fromLatin1(filter));
    connect(CategoryBox, &QComboBox::activated, this, [this] { CategoryChange(); });
    connect(FilterBox, &QComboBox::activated, this, [this] { FilterChange(); });

    ListPanel = panel("ListPanel");
    GameList = new QTableWidget(ListPanel);
    GameList->setObjectName(QStringLiteral("GameList"));
    GameList->setColumnCount(3);
    // The headings stay put above the rows as they scroll: the header shows
    // them, and row 0 keeps them only for the row numbers, hidden, so that
    // no key can move onto it.
    QHeaderView* headings = GameList->horizontalHeader();
    headings->setSectionsClickable(false);
    headings->setHighlightSections(false);
    headings->setSectionResizeMode(QHeaderView::Fixed);
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont boldHeadings = headings->font();
    boldHeadings.setBold(true);
    headings->setFont(boldHeadings);
    GameList->setHorizontalHeaderLabels(
        {QString::fromLatin1(Headings[0]), QString::fromLatin1(Headings[1]), QString::fromLatin1(Headings[2])});
    GameList->verticalHeader()->hide();
    GameList->verticalHeader()->setDefaultSectionSize(GridRowHeight);
    GameList->setSelectionBehavior(QAbstractItemView::SelectRows);
    GameList->setSelectionMode(QAbstractItemView::SingleSelection);
    GameList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GameList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    GameList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GameList->setTabKeyNavigation(false);
    GameList->setToolTip(QStringLiteral("Double click to select game to play."));
    if (QFontDatabase::families().contains(QStringLiteral("Calibri"))) {
        QFont calibri(QStringLiteral("Calibri"));
        calibri.setPointSize(GameList->font().pointSize() + 2);
        GameList->setFont(calibri);
        calibri.setBold(true);
        headings->setFont(calibri);
    }
    GameList->viewport()->installEventFilter(this);
    GameList->installEventFilter(this);
    ResetGrid();

    PreviewPanel = panel("PreviewPanel");
    Image2 = new TPictureBox(PreviewPanel);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->OnDblClick = [this] { StartRow(Row()); };
    OddsLabel = new QLabel(PreviewPanel);
    OddsLabel->setObjectName(QStringLiteral("OddsLabel"));
    OddsLabel->setAlignment(Qt::AlignCenter);
    OddsLabel->setWordWrap(true); // the longest line is wider than a small preview
    OddsLabel->setAutoFillBackground(true);
    OddsLabel->hide();
}

void TStartScreen::SetOddsText(const QString& text)
{
    OddsLabel->setText(text);
    OddsLabel->setToolTip(text);
    OddsLabel->setVisible(!text.isEmpty());
    Relayout();
}

void TStartScreen::SetCategories(const QStringList& captions)
{
    CategoryBox->clear();
    CategoryBox->addItems(captions);
    CategoryBox->setCurrentIndex(captions.isEmpty() ? -1 : 0);
    FilterBox->setCurrentIndex(0);
    GameNameList_.clear();
}

QString TStartScreen::Category() const { return CategoryBox->currentText(); }

// ---------------------------------------------------------------------------
// Layout

void TStartScreen::Relayout()
{
    const int w = width();
    const int h = height();
    const int stripTop = Margin;
    const int listTop = stripTop + BoxRowHeight;
    const int listWidth = std::clamp(w * 3 / 10, 290, 380);
    ListPanel->setGeometry(Margin, listTop, listWidth, std::max(60, h - Margin - listTop));
    GameList->setGeometry(ListPanel->contentsRect());

    const int previewLeft = ListPanel->geometry().right() + 1 + 5;
    const int previewWidth = std::clamp(w - previewLeft - Margin - 200, 160, PreviewWidth);
    PreviewPanel->setGeometry(previewLeft, listTop, previewWidth, previewWidth * 3 / 4);
    // The odds, when the survey knows the game, take a line or two under the picture.
    const QRect inside = PreviewPanel->contentsRect();
    const int oddsHeight = OddsLabel->isHidden() ? 0 : OddsLabel->heightForWidth(inside.width()) + 4;
    Image2->setGeometry(inside.adjusted(0, 0, 0, -oddsHeight));
    OddsLabel->setGeometry(inside.left(), inside.bottom() + 1 - oddsHeight, inside.width(), oddsHeight);

    const int starsLeft = PreviewPanel->geometry().right() + 1 + Margin;
    const int starsWidth = std::max(40, w - Margin - starsLeft);
    const int stripHeight = std::clamp(h / 5, 110, 190);
    MarqueePanel->setGeometry(starsLeft, stripTop, starsWidth, stripHeight);
    Marquee->setGeometry(MarqueePanel->contentsRect().adjusted(2, 2, -2, -2));
    const int starsTop = stripTop + stripHeight + Margin;
    StarsPanel->setGeometry(starsLeft, starsTop, starsWidth, std::max(40, h - Margin - starsTop));
    Image1->setGeometry(StarsPanel->contentsRect());

    SetColumnWidths();
    const QList<int> widths{GameList->columnWidth(0), GameList->columnWidth(1) + GameList->columnWidth(2)};
    CategoryBox->setGeometry(Margin, stripTop, widths[0], CategoryBox->sizeHint().height());
    FilterBox->setGeometry(Margin + widths[0] + 4, stripTop, widths[1], FilterBox->sizeHint().height());
}

void TStartScreen::SetColumnWidths()
{
    const int scrollBar = GameList->verticalScrollBar()->sizeHint().width();
    const int gridWidth = GameList->width() - 2 * GameList->frameWidth() - scrollBar;
    GameList->setColumnWidth(0, gridWidth / 2 + 4);
    GameList->setColumnWidth(1, gridWidth / 4 - 2);
    GameList->setColumnWidth(2, gridWidth / 4 - 2);
}

QRect TStartScreen::TitleArea() const
{
    // On a small screen the title shrinks to the preview's width rather than
    // slide under the star field.
    const QRect preview = PreviewPanel->geometry();
    const int width = std::min(TitleWidth, preview.width());
    return {preview.left(), preview.bottom() + 1 + Margin, width, TitleHeight * width / TitleWidth};
}

void TStartScreen::SetBackdrop(const QImage& picture)
{
    Backdrop = picture;
    RestretchCanvas();
}

void TStartScreen::RestretchCanvas()
{
    const QSize area = size().expandedTo(QSize(1, 1));
    if (Backdrop.isNull()) {
        Background_ = QImage(area, QImage::Format_RGB32);
        Background_.fill(palette().color(QPalette::Window));
    } else {
        Background_ = Backdrop.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_RGB32);
    }
    Canvas_ = Background_.copy();
    update();
}

void TStartScreen::CleanArea(const QRect& area)
{
    const QRect clipped = area & Canvas_.rect();
    if (clipped.isEmpty())
        return;
    QPainter(&Canvas_).drawImage(clipped.topLeft(), Background_, clipped);
    update(clipped);
}

void TStartScreen::resizeEvent(QResizeEvent*)
{
    Relayout();
    RestretchCanvas();
    if (OnRelayout)
        OnRelayout();
}

void TStartScreen::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (const QRect& rect : event->region())
        painter.drawImage(rect.topLeft(), Canvas_, rect);
}

// ---------------------------------------------------------------------------
// The list

void TStartScreen::ResetGrid()
{
    GameList->clearContents();
    GameList->setRowCount(1);
    GameList->setRowHidden(0, true);
    for (int column = 0; column < 3; ++column) {
        auto* heading = new QTableWidgetItem(QString::fromLatin1(Headings[column]));
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = GameList->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setBackground(palette().color(QPalette::Button));
        GameList->setItem(0, column, heading);
    }
    GameList->setCurrentItem(nullptr);
}

void TStartScreen::SetRow(int row, const std::string& name, const TGameCounts& counts)
{
    const QString cells[] = {QString::fromStdString(name), QString::number(counts.Played), QString::number(counts.Won)};
    for (int column = 0; column < 3; ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        GameList->setItem(row, column, item);
    }
}

int TStartScreen::Row() const { return std::max(0, GameList->currentRow()); }

int TStartScreen::RowCount() const { return GameList->rowCount(); }

void TStartScreen::SelectRow(int row)
{
    if (row > 0 && row < RowCount())
        GameList->setCurrentCell(row, 0);
}

std::string TStartScreen::RowName(int row) const
{
    if (row <= 0 || row >= RowCount() || GameList->item(row, 0) == nullptr)
        return {};
    return GameList->item(row, 0)->text().toStdString();
}

void TStartScreen::FillStringGrid()
{
    platform::Trace("[ FillStringGrid entered. ]");
    platform::Trace("  Selected = " + std::to_string(Row()));
    const int remembered = Row();
    if (GameNameList_.empty() && GameTypeMenu) {
        platform::Trace("  Calling GetMenuItems");
        if (const TMenuItem* category = GetMenuItem(GameTypeMenu(), Category().toStdString(), false))
            GetMenuItems(*category, GameNameList_);
        platform::Trace("  Returned from GetMenuItems.");
    }
    GameList->setUpdatesEnabled(false);
    ResetGrid();
    platform::Trace("  GameNames count = " + std::to_string(GameNameList_.size()));
    platform::Trace("  Try finally block ]");
    const auto filter = TGameFilter(std::max(0, FilterBox->currentIndex()));
    std::vector<std::pair<std::string, TGameCounts>> kept;
    for (const std::string& name : GameNameList_) {
        const TGameCounts counts = GameCounts ? GameCounts(name) : TGameCounts{};
        if (KeepGameRow(filter, counts.Played, counts.Won))
            kept.emplace_back(name, counts);
    }
    GameList->setRowCount(1 + int(kept.size()));
    for (std::size_t i = 0; i < kept.size(); ++i)
        SetRow(int(i) + 1, kept[i].first, kept[i].second);
    platform::Trace("  Try block ended.");
    // Like any list with a heading row, it has a game selected whenever it
    // has games.
    SelectRow(remembered > 0 && remembered < RowCount() ? remembered : 1);
    GameList->setUpdatesEnabled(true);
    platform::Trace("[ FillStringGrid completed. ]");
}

void TStartScreen::CategoryChange()
{
    platform::Trace("[ CategoryChange entered. ]");
    GameNameList_.clear();
    FillStringGrid();
    platform::Trace(" FillStringGrid ok.");
    if (RowCount() <= 1) {
        platform::Trace("[ Exit due RowCount < 1. ]");
        return;
    }
    SelectRow(1);
    PreviewRow(1);
    if (isVisible())
        GameList->setFocus();
    platform::Trace("[ CategoryChange completed ok. ]");
}

void TStartScreen::FilterChange()
{
    FillStringGrid();
    if (RowCount() <= 1)
        return;
    SelectRow(1);
    PreviewRow(1);
    if (isVisible())
        GameList->setFocus();
}

void TStartScreen::JumpToLetter(char letter)
{
    for (int row = 1; row < RowCount(); ++row) {
        const std::string name = RowName(row);
        if (!name.empty() && name.front() == letter) {
            SelectRow(row);
            break;
        }
    }
    PreviewRow(Row());
}

void TStartScreen::PreviewRow(int row)
{
    if (row > 0 && row < RowCount() && OnPreviewRow)
        OnPreviewRow(row);
}

void TStartScreen::StartRow(int row)
{
    if (row > 0 && row < RowCount() && OnStartRow)
        OnStartRow(row);
}

// ---------------------------------------------------------------------------
// Input on the list

bool TStartScreen::eventFilter(QObject* watched, QEvent* event)
{
    const bool onList = watched == GameList || watched == GameList->viewport();
    if (!onList)
        return QWidget::eventFilter(watched, event);
    const bool input = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick
        || event->type() == QEvent::Wheel || event->type() == QEvent::KeyPress;
    if (input && InputAllowed && !InputAllowed())
        return true;
    if (watched == GameList->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return GridMouseDown(static_cast<QMouseEvent*>(event));
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                StartRow(Row());
            return true;
        case QEvent::Wheel:
            return GridWheel(static_cast<QWheelEvent*>(event));
        default:
            break;
        }
    } else if (event->type() == QEvent::KeyPress) {
        return GridKeyDown(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TStartScreen::GridMouseDown(QMouseEvent* event)
{
    const int row = GameList->rowAt(int(event->position().y()));
    if (row <= 0)
        return true;
    SelectRow(row);
    GameList->setFocus();
    if (event->button() == Qt::MiddleButton)
        StartRow(row);
    else
        PreviewRow(row);
    return true;
}

bool TStartScreen::GridWheel(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta < 0 && Row() < RowCount() - 1) {
        SelectRow(Row() + 1);
        PreviewRow(Row());
    } else if (delta > 0 && Row() > 1) {
        SelectRow(Row() - 1);
        PreviewRow(Row());
    }
    return true;
}

bool TStartScreen::GridKeyDown(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down) {
        if (Row() < RowCount() - 1) {
            SelectRow(Row() + 1);
            PreviewRow(Row());
        }
        return true;
    }
    if (event->key() == Qt::Key_Up) {
        if (Row() > 1) {
            SelectRow(Row() - 1);
            PreviewRow(Row());
        }
        return true;
    }
    return false;
}
