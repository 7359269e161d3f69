#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

// The questions and messages the window puts to the player. Tests replace
// them so that nothing modal ever blocks; the program uses message boxes.
struct TFileRequest {
    bool Save = false;    // a save dialog (else an open dialog)
    QString Folder;       // where it starts
    QString ProposedName; // the file name offered when saving
};

struct TPrompts {
    std::function<bool(const QString& text)> AskYesNo;
    // A Yes/No question under a caption of its own; when only AskYesNo is
    // given, that one answers.
    std::function<bool(const QString& caption, const QString& text)> AskQuestion;
    std::function<void(const QString& caption, const QString& text)> ShowError;
    std::function<void(const QString& caption, const QString& text)> ShowNotice;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog& dialog)> RunModal;
    // The open and save file dialogs: the chosen file, or empty for Cancel.
    std::function<QString(const TFileRequest& request)> ChooseFile;
};

// Every prompt left empty in `prompts` answered by a message box or dialog over `owner`.
TPrompts CompletePrompts(TPrompts prompts, QWidget* owner);
