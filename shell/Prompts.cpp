#include "shell/Prompts.h"

#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

TPrompts MessageBoxPrompts(QWidget* owner)
{
    TPrompts prompts;
    prompts.AskYesNo = [owner](const QString& text) {
        return QMessageBox::question(owner, QStringLiteral("Confirm"), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes)
            == QMessageBox::Yes;
    };
    prompts.AskQuestion = [owner](const QString& caption, const QString& text) {
        return QMessageBox::question(owner, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
            == QMessageBox::Yes;
    };
    prompts.ShowError = [owner](const QString& caption, const QString& text) {
        QMessageBox::critical(owner, caption, text, QMessageBox::Ok);
    };
    prompts.ShowNotice = [owner](const QString& caption, const QString& text) {
        QMessageBox::information(owner, caption, text, QMessageBox::Ok);
    };
    prompts.RunModal = [](QDialog& dialog) {
        // Nobody could answer a dialog on the headless platform.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return int(QDialog::Rejected);
        return dialog.exec();
    };
    prompts.ChooseFile = [owner](const TFileRequest& request) {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            return QString();
        QFileDialog dialog(owner, request.Save ? QStringLiteral("Save Game") : QStringLiteral("Open Saved Game"),
                           request.Folder, QStringLiteral("Tessalyn games (*.tsg)"));
        dialog.setDefaultSuffix(QStringLiteral("tsg"));
        dialog.setAcceptMode(request.Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::ReadOnly, false);
        if (request.Save)
            dialog.selectFile(request.ProposedName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
    return prompts;
}

} // namespace

TPrompts CompletePrompts(TPrompts prompts, QWidget* owner)
{
    TPrompts completed = std::move(prompts);
    const TPrompts boxes = MessageBoxPrompts(owner);
    if (!completed.AskQuestion) {
        if (completed.AskYesNo)
            completed.AskQuestion = [ask = completed.AskYesNo](const QString&, const QString& text) {
                return ask(text);
            };
        else
            completed.AskQuestion = boxes.AskQuestion;
    }
    if (!completed.AskYesNo)
        completed.AskYesNo = boxes.AskYesNo;
    if (!completed.ShowError)
        completed.ShowError = boxes.ShowError;
    if (!completed.ShowNotice)
        completed.ShowNotice = boxes.ShowNotice;
    if (!completed.RunModal)
        completed.RunModal = boxes.RunModal;
    if (!completed.ChooseFile)
        completed.ChooseFile = boxes.ChooseFile;
    return completed;
}
