// What the window lends the controller: message boxes, file dialogs, the Add dialog, the
// in-place editor, the clipboard and the sound.
#include "CaptionEditor.h"
#include "DisplayText.h"
#include "FormMain.h"
#include "PathParts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

namespace {

// Message texts break lines with CR alone; only the screen wants real line breaks.
QString MessageText(const std::string& text)
{
    return ToDisplayText(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QMessageBox::StandardButton ToStandardButton(TMessageButton button)
{
    switch (button) {
    case TMessageButton::Yes:
        return QMessageBox::Yes;
    case TMessageButton::No:
        return QMessageBox::No;
    case TMessageButton::Cancel:
        return QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon ToMessageIcon(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Warning:
        return QMessageBox::Warning;
    case TMessageIcon::Question:
        return QMessageBox::Question;
    case TMessageIcon::Error:
        return QMessageBox::Critical;
    default:
        return QMessageBox::Information;
    }
}

} // namespace

TMessageButton TFormMain::ShowMessage(const TMessage& message)
{
    QMessageBox box(ToMessageIcon(message.Icon), ToDisplayText(message.Caption),
                    MessageText(message.Text), QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("MessageBox"));
    for (const TMessageButton button : message.Buttons)
        box.addButton(ToStandardButton(button));
    box.setDefaultButton(ToStandardButton(message.Default));
    if (!message.Buttons.empty())
        box.setEscapeButton(ToStandardButton(message.Buttons.back()));
    const int result = box.exec();
    for (const TMessageButton button : message.Buttons)
        if (result == ToStandardButton(button))
            return button;
    return message.Buttons.empty() ? TMessageButton::Ok : message.Buttons.back();
}

std::optional<std::string> TFormMain::RunFileDialog(QFileDialog* dialog,
                                                    const TFileDialogState& state)
{
    // Paths are bytes to the rest of the program; the file system's own encoding keeps them so.
    const QString initialDir = QFile::decodeName(QByteArray::fromStdString(state.InitialDir));
    // A folder that has gone since it was remembered is no place to start: the dialog's own
    // choice is better than an empty view.
    if (!initialDir.isEmpty() && QFileInfo(initialDir).isDir())
        dialog->setDirectory(initialDir);
    // Only the name: a full path would make the dialog start in that path's folder instead.
    dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(FileNamePart(state.FileName))));
    const bool confirmed = dialog->exec() == QDialog::Accepted;
    // The name field's completer may still be reading a folder the user typed; when it is
    // done it would pop up over the window with the dialog gone and take the keyboard.
    if (const auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit && edit->completer()) {
        edit->completer()->setCompletionPrefix(QString());
        edit->completer()->popup()->hide();
    }
    // The dialog is kept for next time; without this the keyboard would still talk to it.
    FListView1->setFocus();
    if (!confirmed || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog->selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> TFormMain::RunOpenDialog(const TFileDialogState& state)
{
    return RunFileDialog(FOpenDialog, state);
}

std::optional<std::string> TFormMain::RunSaveDialog(const TFileDialogState& state)
{
    return RunFileDialog(FSaveDialog, state);
}

std::optional<std::string> TFormMain::AskCaption()
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("AddDialog"));
    dialog.setWindowTitle(QStringLiteral("Add"));
    dialog.setLabelText(QStringLiteral("Caption:"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Cancel"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(MaxCaptionInputLength);
        edit->setValidator(new TOneLineValidator(edit));
    }
    dialog.adjustSize();
    if (const QScreen* screen = this->screen()) {
        QRect frame = dialog.frameGeometry();
        frame.moveCenter(screen->geometry().center());
        dialog.move(frame.topLeft());
    }
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    FListView1->setFocus();
    if (!confirmed)
        return std::nullopt;
    return dialog.textValue().toStdString();
}

void TFormMain::StartCaptionEdit(int row)
{
    const QModelIndex index = FController.Document().Model().index(row, TEntryModel::ColOriginal);
    FListView1->scrollTo(index);
    FListView1->setFocus();
    FListView1->edit(index);
}

void TFormMain::SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(ToDisplayText(text));
}

void TFormMain::PlayInformationSound()
{
    QApplication::beep();
}
