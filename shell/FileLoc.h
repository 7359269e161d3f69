#pragma once

#include <QDialog>

class QRadioButton;

// "Save Data Location": asks whether the player's data goes to the documents
// folder (recommended) or to the program's own folder.
class TFileLoc : public QDialog {
    Q_OBJECT

public:
    explicit TFileLoc(QWidget* parent = nullptr);

    // 1 = the program folder, 2 = the documents folder.
    void SetLocation(int location);
    int Location() const;

    QRadioButton* MyDocuments = nullptr;
    QRadioButton* ApplicationDirectory = nullptr;
};
