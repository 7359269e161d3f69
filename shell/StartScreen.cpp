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
    Panel1 = panel("Panel1");
    Image1 = new TStarView(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Panel2 = panel("Panel2");
    Marquee = new TMarquee(Panel2);
    Marquee->setObjectName(QStringLiteral("Marquee"));
    QFont marqueeFont = Marquee->font();
    marqueeFont.setPointSize(12);
    Marquee->setFont(marqueeFont);
    QPalette marqueeColours = Marquee->palette();
    marqueeColours.setColor(QPalette::WindowText, palette().color(QPalette::Highlight));
    Marquee->setPalette(marqueeColours);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    for (const char* filter : Filters)
        ComboBox2->addItem(QString::fromLatin1(filter));
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });

    Panel3 = panel("Panel3");
    StringGrid1 = new QTableWidget(Panel3);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColumnCount(3);
    // The headings stay put above the rows as they scroll: the header shows
    // them, and row 0 keeps them only for the row numbers, hidden, so that
    // no key can move onto it.
    QHeaderView* headings = StringGrid1->horizontalHeader();
    headings->setSectionsClickable(false);
    headings->setHighlightSections(false);
    headings->setSectionResizeMode(QHeaderView::Fixed);
    headings->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont boldHeadings = headings->font();
    boldHeadings.setBold(true);
    headings->setFont(boldHeadings);
    StringGrid1->setHorizontalHeaderLabels({QString::fromLatin1(Headings[0]), QString::fromLatin1(Headings[1]),
                                            QString::fromLatin1(Headings[2])});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(GridRowHeight);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setToolTip(QStringLiteral("Double click to select game to play."));
    if (QFontDatabase::families().contains(QStringLiteral("Calibri"))) {
        QFont calibri(QStringLiteral("Calibri"));
        calibri.setPointSize(StringGrid1->font().pointSize() + 2);
        StringGrid1->setFont(calibri);
        calibri.setBold(true);
        headings->setFont(calibri);
    }
    StringGrid1->viewport()->installEventFilter(this);
    StringGrid1->installEventFilter(this);
    ResetGrid();

    Panel4 = panel("Panel4");
    Image2 = new TPictureBox(Panel4);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->OnDblClick = [this] { StartRow(Row()); };
    OddsLabel = new QLabel(Panel4);
    OddsLabel->setObjectName(QStringLiteral("OddsLabel"));
    OddsLabel->setAlignment(Qt::AlignCenter);
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
    ComboBox1->clear();
    ComboBox1->addItems(captions);
    ComboBox1->setCurrentIndex(captions.isEmpty() ? -1 : 0);
    ComboBox2->setCurrentIndex(0);
    GameNameList_.clear();
}

QString TStartScreen::Category() const { return ComboBox1->currentText(); }

// ---------------------------------------------------------------------------
// Layout

void TStartScreen::Relayout()
{
    const int w = width();
    const int h = height();
    const int stripTop = Margin;
    const int listTop = stripTop + BoxRowHeight;
    const int listWidth = std::clamp(w * 3 / 10, 290, 380);
    Panel3->setGeometry(Margin, listTop, listWidth, std::max(60, h - Margin - listTop));
    StringGrid1->setGeometry(Panel3->contentsRect());

    const int previewLeft = Panel3->geometry().right() + 1 + 5;
    const int previewWidth = std::clamp(w - previewLeft - Margin - 200, 160, PreviewWidth);
    Panel4->setGeometry(previewLeft, listTop, previewWidth, previewWidth * 3 / 4);
    // The odds, when the survey knows the game, take a line under the picture.
    const QRect inside = Panel4->contentsRect();
    const int oddsHeight = OddsLabel->isHidden() ? 0 : OddsLabel->sizeHint().height() + 4;
    Image2->setGeometry(inside.adjusted(0, 0, 0, -oddsHeight));
    OddsLabel->setGeometry(inside.left(), inside.bottom() + 1 - oddsHeight, inside.width(), oddsHeight);

    const int starsLeft = Panel4->geometry().right() + 1 + Margin;
    const int starsWidth = std::max(40, w - Margin - starsLeft);
    const int stripHeight = std::clamp(h / 5, 110, 190);
    Panel2->setGeometry(starsLeft, stripTop, starsWidth, stripHeight);
    Marquee->setGeometry(Panel2->contentsRect().adjusted(2, 2, -2, -2));
    const int starsTop = stripTop + stripHeight + Margin;
    Panel1->setGeometry(starsLeft, starsTop, starsWidth, std::max(40, h - Margin - starsTop));
    Image1->setGeometry(Panel1->contentsRect());

    SetColumnWidths();
    const QList<int> widths{StringGrid1->columnWidth(0), StringGrid1->columnWidth(1) + StringGrid1->columnWidth(2)};
    ComboBox1->setGeometry(Margin, stripTop, widths[0], ComboBox1->sizeHint().height());
    ComboBox2->setGeometry(Margin + widths[0] + 4, stripTop, widths[1], ComboBox2->sizeHint().height());
}

void TStartScreen::SetColumnWidths()
{
    const int scrollBar = StringGrid1->verticalScrollBar()->sizeHint().width();
    const int gridWidth = StringGrid1->width() - 2 * StringGrid1->frameWidth() - scrollBar;
    StringGrid1->setColumnWidth(0, gridWidth / 2 + 4);
    StringGrid1->setColumnWidth(1, gridWidth / 4 - 2);
    StringGrid1->setColumnWidth(2, gridWidth / 4 - 2);
}

QRect TStartScreen::TitleArea() const
{
    // On a small screen the title shrinks to the preview's width rather than
    // slide under the star field.
    const QRect preview = Panel4->geometry();
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
    StringGrid1->clearContents();
    StringGrid1->setRowCount(1);
    StringGrid1->setRowHidden(0, true);
    for (int column = 0; column < 3; ++column) {
        auto* heading = new QTableWidgetItem(QString::fromLatin1(Headings[column]));
        heading->setFlags(Qt::ItemIsEnabled);
        QFont bold = StringGrid1->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setBackground(palette().color(QPalette::Button));
        StringGrid1->setItem(0, column, heading);
    }
    StringGrid1->setCurrentItem(nullptr);
}

void TStartScreen::SetRow(int row, const std::string& name, const TGameCounts& counts)
{
    const QString cells[] = {QString::fromStdString(name), QString::number(counts.Played),
                             QString::number(counts.Won)};
    for (int column = 0; column < 3; ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        StringGrid1->setItem(row, column, item);
    }
}

int TStartScreen::Row() const { return std::max(0, StringGrid1->currentRow()); }

int TStartScreen::RowCount() const { return StringGrid1->rowCount(); }

void TStartScreen::SelectRow(int row)
{
    if (row > 0 && row < RowCount())
        StringGrid1->setCurrentCell(row, 0);
}

std::string TStartScreen::RowName(int row) const
{
    if (row <= 0 || row >= RowCount() || StringGrid1->item(row, 0) == nullptr)
        return {};
    return StringGrid1->item(row, 0)->text().toStdString();
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
    StringGrid1->setUpdatesEnabled(false);
    ResetGrid();
    platform::Trace("  GameNames count = " + std::to_string(GameNameList_.size()));
    platform::Trace("  Try finally block ]");
    const auto filter = TGameFilter(std::max(0, ComboBox2->currentIndex()));
    std::vector<std::pair<std::string, TGameCounts>> kept;
    for (const std::string& name : GameNameList_) {
        const TGameCounts counts = GameCounts ? GameCounts(name) : TGameCounts{};
        if (KeepGameRow(filter, counts.Played, counts.Won))
            kept.emplace_back(name, counts);
    }
    StringGrid1->setRowCount(1 + int(kept.size()));
    for (std::size_t i = 0; i < kept.size(); ++i)
        SetRow(int(i) + 1, kept[i].first, kept[i].second);
    platform::Trace("  Try block ended.");
    // Like any list with a heading row, it has a game selected whenever it
    // has games.
    SelectRow(remembered > 0 && remembered < RowCount() ? remembered : 1);
    StringGrid1->setUpdatesEnabled(true);
    platform::Trace("[ FillStringGrid completed. ]");
}

void TStartScreen::ComboBox1Change()
{
    platform::Trace("[ ComboBox1Change entered. ]");
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
        StringGrid1->setFocus();
    platform::Trace("[ ComboBox1Change completed ok. ]");
}

void TStartScreen::ComboBox2Change()
{
    FillStringGrid();
    if (RowCount() <= 1)
        return;
    SelectRow(1);
    PreviewRow(1);
    if (isVisible())
        StringGrid1->setFocus();
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
    const bool onList = watched == StringGrid1 || watched == StringGrid1->viewport();
    if (!onList)
        return QWidget::eventFilter(watched, event);
    const bool input = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick
        || event->type() == QEvent::Wheel || event->type() == QEvent::KeyPress;
    if (input && InputAllowed && !InputAllowed())
        return true;
    if (watched == StringGrid1->viewport()) {
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
    const int row = StringGrid1->rowAt(int(event->position().y()));
    if (row <= 0)
        return true;
    SelectRow(row);
    StringGrid1->setFocus();
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
