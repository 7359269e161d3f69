// The card table on its own: a fan of cards, a stock, a few drop points.
// Every drop on a shaded drop point is accepted there, every other drop is
// refused; a click on a face-down card (or a right click on any) flips it.
//
// Options, for screenshots: --set NAME, --step N (card size -2..5),
// --background gradient|colour|FILE, --stretch, --drag (hold a card in
// mid-drag over a drop point), --shadow original, --lift, --liftflip,
// --dialog deck|back|folder (open that dialog once the window shows).
#include <algorithm>
#include <cstdlib>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>

#include "cardtable/CardSetDialogs.h"
#include "cardtable/CardTable.h"

namespace {

constexpr int PileCount = 4;

class TViewer : public QMainWindow {
public:
    TViewer()
    {
        setWindowTitle(QStringLiteral("Tessalyn table viewer"));
        Table = new TCardTable(this);
        setCentralWidget(Table);
        Table->SetMinWidth(400);
        Table->SetMinHeight(300);
        Table->SetDragAndDrop(true);
        Table->SetDragFromDeck(true);
        Table->SetPlaceDeckOffset(7);
        Table->SetColor(QColor(0, 110, 50));
        Table->OnCardDropEvent = [this](TCard* card, int x, int y, int relX, int relY, int index) {
            Dropped(card, x, y, relX, relY, index);
        };
        Table->OnCardClickEvent = [this](TCard* card, Qt::MouseButton button) { Clicked(card, button); };
        BuildMenus();
        resize(900, 640);
    }

    TCardTable& CardTable() { return *Table; }

    // Stock top left, four piles along the top, a fan of seven columns.
    void Deal()
    {
        Table->PaintEnabled = false;
        Table->ResetTable();
        Table->ClearBottoms();
        TCardDeck& deck = Table->CardDeck();
        deck.Shuffle();
        const int w = deck.CardWidth;
        const int h = deck.CardHeight;
        Step = std::max(12, h / 5);
        Piles.assign(PileCount, {});
        for (int i = 0; i < PileCount; ++i)
            Table->PlaceBottom(1, PileX(i), 10, i + 1);
        for (int column = 0; column < 7; ++column) {
            Table->PlaceBottom(0, 10 + column * (w + 12), h + 40, column + 1);
            for (int row = 0; row <= column % 4; ++row) {
                TCard* card = Table->NextCard();
                card->FaceUp = row == column % 4;
                Table->PlaceCard(card, 10 + column * (w + 12), h + 40 + row * Step);
                if (column == 6 && row == 2)
                    Table->RotateCard(card, 0.35f);
            }
        }
        Table->PlaceDeck(10, 10);
        Table->PaintEnabled = true;
        Table->repaint();
        UpdateDropPoints();
    }

    // Presses on the first face-up fan card and drags it over pile 1.
    void HoldDrag()
    {
        const auto& cards = Table->ZList();
        const auto faceUp = std::find_if(cards.begin(), cards.end(), [](const TCard* c) { return c->FaceUp; });
        if (faceUp == cards.end())
            return;
        TCard* card = *faceUp;
        SendMouse(QEvent::MouseButtonPress, card->X + 20, card->Y + 20);
        for (int i = 1; i <= 10; ++i)
            SendMouse(QEvent::MouseMove, card->X + 20 + (PileX(1) + 30 - card->X) * i / 10,
                      card->Y + 20 + (40 - card->Y) * i / 10);
    }

private:
    int PileX(int i) const { return 10 + (i + 2) * (Table->CardDeck().CardWidth + 12); }

    void SendMouse(QEvent::Type type, int x, int y)
    {
        const QPointF at(x, y);
        QMouseEvent event(type, at, Table->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Table, &event);
    }

    void UpdateDropPoints()
    {
        TDropPoints points;
        for (int i = 0; i < PileCount; ++i)
            points.push_back(QPoint(PileX(i), 10));
        Table->SetDropPoints(points);
    }

    void Dropped(TCard* card, int, int, int, int, int index)
    {
        if (index < 0) {
            statusBar()->showMessage(QStringLiteral("Refused: no drop point shaded"), 2000);
            Table->RestoreCard();
            return;
        }
        Table->DropCard(PileX(index), 10, true);
        Piles[std::size_t(index)].push_back(card);
        statusBar()->showMessage(QStringLiteral("Dropped on pile %1").arg(index + 1), 2000);
    }

    void Clicked(TCard* card, Qt::MouseButton button)
    {
        if (Table->Dragging())
            return;
        if ((!card->FaceUp && card->Status == 1) || button == Qt::RightButton)
            Table->TurnCard(card);
    }

    void BuildMenus()
    {
        QMenu* table = menuBar()->addMenu(QStringLiteral("&Table"));
        table->addAction(QStringLiteral("Deal again"), [this] { Deal(); });
        table->addAction(QStringLiteral("Colour..."), [this] {
            const QColor colour = QColorDialog::getColor(Table->Color(), this);
            if (colour.isValid())
                Table->SetColor(colour);
        });
        table->addAction(QStringLiteral("Gradient"), [this] { ShowGradient(); });
        table->addAction(QStringLiteral("Picture..."), [this] { Table->ChooseBackgroundPicture(); });
        QAction* stretch = table->addAction(QStringLiteral("Stretch picture"));
        stretch->setCheckable(true);
        connect(stretch, &QAction::toggled, [this](bool on) { Table->SetStretchBackground(on); });
        table->addSeparator();
        table->addAction(QStringLiteral("Zoom a card"), [this] {
            if (!Table->ZList().empty())
                Table->Sprite.Zoom(Table->ZList().back(), 450, 0.01f, true);
        });
        table->addAction(QStringLiteral("Spin a card"), [this] {
            if (!Table->ZList().empty())
                Table->Sprite.Spin(Table->ZList().back(), 2000, -3.14159265f / 24);
        });
        table->addSeparator();
        table->addAction(QStringLiteral("Quit"), [this] { close(); });

        QMenu* cards = menuBar()->addMenu(QStringLiteral("&Cards"));
        cards->addAction(QStringLiteral("Card set..."), [this] {
            Table->ChooseDeck();
            Deal();
        });
        cards->addAction(QStringLiteral("Card back..."), [this] { Table->ChooseCardBack(); });
        cards->addAction(QStringLiteral("Larger"), [this] { Resize(+1); });
        cards->addAction(QStringLiteral("Smaller"), [this] { Resize(-1); });
        QAction* lift = cards->addAction(QStringLiteral("Lift while dragging"));
        lift->setCheckable(true);
        connect(lift, &QAction::toggled, [this](bool on) { Table->SetLiftOffset(on); });
        QAction* liftFlip = cards->addAction(QStringLiteral("Lift when turning"));
        liftFlip->setCheckable(true);
        connect(liftFlip, &QAction::toggled, [this](bool on) { Table->SetTurnOverAnimationLift(on); });
    }

public:
    void ShowGradient()
    {
        TBackdrop& backdrop = Table->BackDrop();
        backdrop.SetNewMode(true);
        backdrop.SetNewColorFrom(QColor(0, 60, 20));
        backdrop.SetNewColorTo(QColor(30, 150, 90));
        backdrop.SetNewType(gsDiagonalLeftRight);
        backdrop.SetEnabled(true);
    }

    void Resize(int change)
    {
        TCardDeck& deck = Table->CardDeck();
        const int step = std::clamp((deck.ScaleStep() == 0 ? 1 : deck.ScaleStep()) + change, -2, 5);
        Table->ClearTable();
        try {
            deck.SetScaleStep(step == 0 ? 1 : step);
        } catch (const ECardTableError& error) {
            QMessageBox::warning(this, QStringLiteral("Card size"), QString::fromStdString(error.what()));
        }
        Deal();
    }

private:
    TCardTable* Table = nullptr;
    std::vector<std::vector<TCard*>> Piles;
    int Step = 20;
};

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_XCB_GL_INTEGRATION") == nullptr)
        setenv("QT_XCB_GL_INTEGRATION", "none", 1);
    QApplication app(argc, argv);
    std::unique_ptr<TViewer> viewer;
    try {
        viewer = std::make_unique<TViewer>();
    } catch (const ECardTableError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessalyn table viewer"), QString::fromStdString(error.what()));
        return 1;
    }
    const QStringList args = app.arguments();
    bool drag = false;
    QString dialog;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (arg == "--set") {
            viewer->CardTable().CardDeck().SetDeckName(next.toStdString());
            ++i;
        } else if (arg == "--step") {
            viewer->CardTable().CardDeck().SetScaleStep(next.toInt());
            ++i;
        } else if (arg == "--background") {
            if (next == "gradient")
                viewer->ShowGradient();
            else if (next != "colour")
                viewer->CardTable().SetBackgroundPicture(next.toStdString());
            ++i;
        } else if (arg == "--stretch") {
            viewer->CardTable().SetStretchBackground(true);
        } else if (arg == "--shadow") {
            viewer->CardTable().SetShadowMode(next == "original" ? smOriginal : smDarken);
            ++i;
        } else if (arg == "--lift") {
            viewer->CardTable().SetLiftOffset(true);
        } else if (arg == "--liftflip") {
            viewer->CardTable().SetTurnOverAnimationLift(true);
        } else if (arg == "--drag") {
            drag = true;
        } else if (arg == "--dialog") {
            dialog = next;
            ++i;
        }
    }
    viewer->show();
    viewer->Deal();
    if (drag)
        QTimer::singleShot(300, [&] { viewer->HoldDrag(); });
    if (dialog == "deck")
        QTimer::singleShot(300, [&] { viewer->CardTable().ChooseDeck(); });
    else if (dialog == "back")
        QTimer::singleShot(300, [&] { viewer->CardTable().ChooseCardBack(); });
    else if (dialog == "folder")
        QTimer::singleShot(300, [&] { RunFolderPrompt(viewer.get()); });
    return app.exec();
}
