#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

// "Edit Favourites Menu": every game on the left, the favourites on the
// right, buttons to move a selection across. Nothing changes until OK.
class TFavouritesDialog : public QDialog { // TForm4
    Q_OBJECT

public:
    explicit TFavouritesDialog(QWidget* parent = nullptr);

    void SetGames(const std::vector<std::string>& games);
    void SetFavourites(const std::vector<std::string>& favourites);
    std::vector<std::string> FavouriteNames() const;

    // Add: the selected games join the favourites (each once).
    void BitBtn3Click();
    // Remove: the selected favourites leave.
    void BitBtn4Click();

    QListWidget* ListBox1 = nullptr; // "Games"
    QListWidget* ListBox2 = nullptr; // "Favourites"
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
};
