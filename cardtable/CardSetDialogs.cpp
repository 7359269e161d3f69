#include "cardtable/CardSetDialogs.h"

#include <map>

#include <QDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include "cardtable/CardTable.h"
#include "cardtable/MyGrphx.h"

namespace {

constexpr Qt::WindowFlags FixedDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint;

void CentreOn(QWidget* dialog, QWidget* owner)
{
    if (owner == nullptr)
        return;
    const QWidget* window = owner->window();
    const QPoint centre = window->mapToGlobal(window->rect().center());
    dialog->move(centre - QPoint(dialog->width() / 2, dialog->height() / 2));
}

// ------------------------------------------------------------ Card Deck Selector

class TDeckSelector {
public:
    TDeckSelector(QWidget* owner, const TCardDeck& deck)
        : Dialog(owner, FixedDialogFlags)
    {
        Dialog.setWindowTitle(QStringLiteral("Card Deck Selector."));
        SetVistaFont(&Dialog);
        Dialog.setFixedSize(560, 320);
        BuildList(deck);
        BuildPreview(deck);
        auto* ok = new QPushButton(QStringLiteral("OK"), &Dialog);
        ok->setGeometry(Dialog.width() - 100, Dialog.height() - 45, 80, 30);
        ok->setDefault(true);
        QObject::connect(ok, &QPushButton::clicked, &Dialog, &QDialog::accept);
        QObject::connect(List, &QListWidget::itemActivated, &Dialog, &QDialog::accept);
        QObject::connect(List, &QListWidget::currentRowChanged, [this](int) { ShowSelected(); });
        SelectInitial(deck.DeckName());
        // The preview table set the dialog's minimum size as its owner.
        Dialog.setFixedSize(Dialog.size());
        CentreOn(&Dialog, owner);
    }

    std::optional<std::string> Run()
    {
        if (Dialog.exec() != QDialog::Accepted || List->currentItem() == nullptr)
            return std::nullopt;
        return List->currentItem()->text().toStdString();
    }

private:
    void BuildList(const TCardDeck& deck)
    {
        List = new QListWidget(&Dialog);
        List->setGeometry(5, 5, 220, Dialog.height() - 10);
        QFont font = List->font();
        if (QFontDatabase::families().contains(QStringLiteral("Calibri")))
            font.setFamily(QStringLiteral("Calibri"));
        font.setPixelSize(19);
        List->setFont(font);
        for (const std::string& name : deck.AvailableDeckNames()) {
            auto* item = new QListWidgetItem(QString::fromStdString(name), List);
            item->setSizeHint(QSize(0, 24));
        }
    }

    void BuildPreview(const TCardDeck& deck)
    {
        Preview = new TCardTable(&Dialog, deck.CardsetsFolder());
        Preview->CardDeck().SetUserCardsetsFolder(deck.UserCardsetsFolder().string());
        Preview->SetMinWidth(0);
        Preview->SetMinHeight(0);
        Preview->move(232, 5);
        Preview->SetTableSize(Dialog.width() - 250, Dialog.height() - 60);
        Preview->SetColor(Dialog.palette().color(QPalette::Button));
        Message = new QLabel(&Dialog);
        Message->setGeometry(232, Dialog.height() - 50, Dialog.width() - 350, 40);
        Message->setWordWrap(true);
    }

    void SelectInitial(const std::string& current)
    {
        QList<QListWidgetItem*> found = List->findItems(QString::fromStdString(current), Qt::MatchExactly);
        if (found.isEmpty())
            found = List->findItems(QStringLiteral("Standard"), Qt::MatchExactly);
        if (!found.isEmpty())
            List->setCurrentItem(found.first());
        ShowSelected();
    }

    // The Six and the King of spades of the selected set, face up.
    void ShowSelected()
    {
        if (List->currentItem() == nullptr)
            return;
        Message->clear();
        Preview->ClearTable();
        try {
            Preview->CardDeck().SetDeckName(List->currentItem()->text().toStdString());
        } catch (const ECardTableError& error) {
            Message->setText(QString::fromStdString(error.what()));
        }
        Preview->RefreshBackground();
        TCard* card = nullptr;
        for (int i = 0; i < 24; ++i)
            card = Preview->NextCard();
        if (card != nullptr) {
            card->FaceUp = true;
            Preview->PlaceCard(card, 10, 20);
        }
        for (int i = 0; i < 28; ++i)
            card = Preview->NextCard();
        if (card != nullptr) {
            card->FaceUp = true;
            Preview->PlaceCard(card, 155, 20);
        }
    }

    QDialog Dialog;
    QListWidget* List = nullptr;
    TCardTable* Preview = nullptr;
    QLabel* Message = nullptr;
};

// ------------------------------------------------------------ Card Back Selector

class TBackSelector {
public:
    TBackSelector(QWidget* owner, const TCardDeck& deck)
        : Dialog(owner, FixedDialogFlags | Qt::WindowStaysOnTopHint)
    {
        Dialog.setWindowTitle(QStringLiteral("Card Back Selector."));
        SetVistaFont(&Dialog);
        QPalette palette = Dialog.palette();
        palette.setColor(QPalette::Window, Silver);
        Dialog.setPalette(palette);
        Dialog.setAutoFillBackground(true);
        Preview = new TCardTable(&Dialog, deck.CardsetsFolder());
        TCardDeck& own = Preview->CardDeck();
        own.SetUserCardsetsFolder(deck.UserCardsetsFolder().string());
        own.SetDeckName(deck.DeckName());
        Preview->SetMinWidth(0);
        Preview->SetMinHeight(0);
        Preview->move(5, 10);
        Preview->SetTableSize(3 * own.CardWidth + 10, 3 * own.CardHeight + 24);
        Preview->SetColor(Silver);
        Dialog.setFixedSize(Preview->width() + 10, Preview->height() + 20);
        ShowBacks();
        Preview->OnCardClickEvent = [this](TCard* card, Qt::MouseButton) {
            const auto number = Numbers.find(card);
            if (number != Numbers.end()) {
                Chosen = number->second;
                Dialog.accept();
            }
        };
        CentreOn(&Dialog, owner);
    }

    std::optional<int> Run()
    {
        Preview->show();
        if (Dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Chosen;
    }

private:
    // Every face-down card shows the deck's current back, so each card is
    // drawn while its own back is the selected one.
    void ShowBacks()
    {
        TCardDeck& own = Preview->CardDeck();
        for (int b = 1; b <= 9; ++b) {
            TCard* card = Preview->NextCard();
            if (card == nullptr)
                break;
            card->FaceUp = false;
            Numbers[card] = b;
            if (own.CardBack() == b) {
                const int row = (b - 1) / 3;
                const int column = (b - 1) % 3;
                Preview->PlaceCard(card, 8 + column * own.CardWidth, 8 + row * own.CardHeight);
            }
            try {
                own.SetCardBack(b + 1);
            } catch (const ECardTableError&) {
                break;  // a damaged back ends the row of choices; the others stay
            }
        }
    }

    const QColor Silver = QColor(192, 192, 192);
    QDialog Dialog;
    TCardTable* Preview = nullptr;
    std::map<const TCard*, int> Numbers;
    std::optional<int> Chosen;
};

// ------------------------------------------------------------ folder prompt

class TFolderPromptDialog {
public:
    explicit TFolderPromptDialog(QWidget* owner)
        : Dialog(owner, FixedDialogFlags)
    {
        Dialog.setWindowTitle(QStringLiteral("CardTable Configuration."));
        Dialog.setFixedSize(380, 140);
        auto* label = new QLabel(QStringLiteral("Enter the path of the Cardsets directory:"), &Dialog);
        label->setGeometry(12, 10, 356, 20);
        Edit = new QLineEdit(&Dialog);
        Edit->setGeometry(12, 34, 356, 24);
        auto* example = new QLabel(QStringLiteral("Eg: C:\\Cardsets"), &Dialog);
        QFont italic = example->font();
        italic.setItalic(true);
        example->setFont(italic);
        example->setGeometry(12, 62, 356, 20);
        auto* ok = new QPushButton(QStringLiteral("Ok"), &Dialog);
        ok->setGeometry(196, 98, 80, 28);
        ok->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), &Dialog);
        cancel->setGeometry(288, 98, 80, 28);
        QObject::connect(ok, &QPushButton::clicked, &Dialog, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, &Dialog, &QDialog::reject);
        QObject::connect(Edit, &QLineEdit::returnPressed, &Dialog, &QDialog::accept);
        CentreOn(&Dialog, owner);
    }

    std::optional<std::string> Run()
    {
        if (Dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return Edit->text().trimmed().toStdString();
    }

private:
    QDialog Dialog;
    QLineEdit* Edit = nullptr;
};

} // namespace

bool DialogsPossible()
{
    const QString platform = QGuiApplication::platformName();
    return QGuiApplication::instance() != nullptr && platform != QLatin1String("offscreen") &&
           platform != QLatin1String("minimal");
}

std::optional<std::string> RunFolderPrompt(QWidget* owner)
{
    if (!DialogsPossible())
        return std::nullopt;
    TFolderPromptDialog dialog(owner);
    return dialog.Run();
}

TFolderPrompt MakeFolderPrompt(QWidget* owner)
{
    return [owner]() { return RunFolderPrompt(owner); };
}

std::optional<std::string> RunCardDeckSelector(QWidget* owner, const TCardDeck& deck)
{
    if (!DialogsPossible())
        return std::nullopt;
    try {
        TDeckSelector selector(owner, deck);
        return selector.Run();
    } catch (const ECardTableError& error) {
        QMessageBox::warning(owner, QStringLiteral("Card Deck Selector."), QString::fromStdString(error.what()));
        return std::nullopt;
    }
}

std::optional<int> RunCardBackSelector(QWidget* owner, const TCardDeck& deck)
{
    if (!DialogsPossible())
        return std::nullopt;
    try {
        TBackSelector selector(owner, deck);
        return selector.Run();
    } catch (const ECardTableError& error) {
        QMessageBox::warning(owner, QStringLiteral("Card Back Selector."), QString::fromStdString(error.what()));
        return std::nullopt;
    }
}
