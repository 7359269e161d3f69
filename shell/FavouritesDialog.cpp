#include "shell/FavouritesDialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The lists keep alphabetical order without regard to letter case.
class TNameItem : public QListWidgetItem {
public:
    using QListWidgetItem::QListWidgetItem;
    bool operator<(const QListWidgetItem& other) const override
    {
        return text().compare(other.text(), Qt::CaseInsensitive) < 0;
    }
};

QListWidget* SortedList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(true);
    return list;
}

void Fill(QListWidget* list, const std::vector<std::string>& names)
{
    list->clear();
    for (const std::string& name : names)
        list->addItem(new TNameItem(QString::fromStdString(name)));
}

bool Holds(const QListWidget* list, const QString& name)
{
    return !list->findItems(name, Qt::MatchFixedString).isEmpty();
}

QVBoxLayout* Titled(const char* title, QListWidget* list)
{
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(QString::fromLatin1(title)));
    column->addWidget(list);
    return column;
}

} // namespace

TFavouritesDialog::TFavouritesDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Edit Favourites Menu"));
    ListBox1 = SortedList(this, "ListBox1");
    ListBox2 = SortedList(this, "ListBox2");
    if (QFontDatabase::families().contains(QStringLiteral("Calibri"))) {
        QFont calibri(QStringLiteral("Calibri"));
        calibri.setPointSize(ListBox1->font().pointSize() + 2);
        ListBox1->setFont(calibri);
    }
    BitBtn3 = new QPushButton(QStringLiteral(">"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setToolTip(QStringLiteral("Add to Favourites"));
    BitBtn4 = new QPushButton(QStringLiteral("<"), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setToolTip(QStringLiteral("Remove from Favourites"));
    OkButton = new QPushButton(QStringLiteral("OK"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(BitBtn3, &QPushButton::clicked, this, &TFavouritesDialog::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFavouritesDialog::BitBtn4Click);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn4);
    buttons->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addLayout(Titled("Games", ListBox1));
    lists->addLayout(buttons);
    lists->addLayout(Titled("Favourites", ListBox2));
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(OkButton);
    closing->addWidget(CancelButton);
    auto* all = new QVBoxLayout(this);
    all->addLayout(lists);
    all->addLayout(closing);
    resize(520, 420);
}

void TFavouritesDialog::SetGames(const std::vector<std::string>& games) { Fill(ListBox1, games); }

void TFavouritesDialog::SetFavourites(const std::vector<std::string>& favourites) { Fill(ListBox2, favourites); }

std::vector<std::string> TFavouritesDialog::FavouriteNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < ListBox2->count(); ++i)
        names.push_back(ListBox2->item(i)->text().toStdString());
    return names;
}

void TFavouritesDialog::BitBtn3Click()
{
    for (int i = 0; i < ListBox1->count(); ++i) {
        const QListWidgetItem* game = ListBox1->item(i);
        if (game->isSelected() && !Holds(ListBox2, game->text()))
            ListBox2->addItem(new TNameItem(game->text()));
    }
}

void TFavouritesDialog::BitBtn4Click()
{
    for (QListWidgetItem* favourite : ListBox2->selectedItems())
        delete ListBox2->takeItem(ListBox2->row(favourite));
}
