#include "MainController.h"

#include "PathParts.h"
#include "QuarnelError.h"
#include "UQuarnelApps.h"
#include "WindowLayout.h"

#include <exception>

TMainController::TMainController(IUserInterface& ui) : FUi(ui) {}

void TMainController::FormCreate(std::string_view caption)
{
    FAppTitle = std::string(caption);
    FEngine.ClearPosResults();
    FDocument.NewDocument();
    FEngine.FAccChar = DefaultAccChar;
}

void TMainController::FormShow()
{
    FLive = true;
    ReadSettings();
}

bool TMainController::FormCloseQuery()
{
    ConfirmSave();
    return !FDocument.Modified();
}

void TMainController::FormClose()
{
    try {
        WriteSettings();
        FSettingsRefused = false;
    } catch (const std::exception& error) {
        // The first refusal keeps the window open, so the user can make room or fix the file.
        // A second one means the settings cannot be written now: the window still closes, or
        // nothing short of a kill would end the program.
        if (!FSettingsRefused) {
            FSettingsRefused = true;
            throw;
        }
        FUi.ShowMessage(ErrorBox(error.what()));
    }
}

void TMainController::FormDestroy()
{
    FEngine.ClearPosResults();
}

TCommandState TMainController::ActFileNewUpdate() const
{
    const TDocumentState state{FDocument.Count(), FDocument.SelectionFacts(), FDocument.Modified(),
                               FDocument.FileName()};
    return ComputeCommandState(state, FAppTitle);
}

bool TMainController::IsEnabled(TCommandId id) const
{
    return FLive && ActFileNewUpdate().IsEnabled(id);
}

bool TMainController::Execute(TCommandId id)
{
    if (!IsEnabled(id))
        return false;
    (this->*CommandInfo(id).Execute)();
    return true;
}

TMessage TMainController::ErrorBox(const std::string& text) const
{
    return {std::string(ErrorBoxCaption),
            text,
            TMessageIcon::Error,
            {TMessageButton::Ok},
            TMessageButton::Ok};
}

bool TMainController::ConfirmSave()
{
    if (!FDocument.Modified())
        return false;
    const TMessage prompt{"Warning",
                          "\"" + FDocument.FileName() + "\" has been modified.\r\rSave changes?",
                          TMessageIcon::Warning,
                          {TMessageButton::Yes, TMessageButton::No, TMessageButton::Cancel},
                          TMessageButton::Yes};
    switch (FUi.ShowMessage(prompt)) {
    case TMessageButton::Yes:
        Execute(TCommandId::FileSave);
        return false;
    case TMessageButton::No:
        FDocument.MarkUnmodified();
        return true;
    default:
        return false;
    }
}

void TMainController::ActFileNewExecute()
{
    ConfirmSave();
    if (FDocument.Modified())
        return;
    FDocument.NewDocument();
}

void TMainController::ActFileOpenExecute()
{
    const std::optional<std::string> fileName = FUi.RunOpenDialog(FOpenDialog);
    if (!fileName)
        return;
    FOpenDialog.FileName = *fileName;
    ActFileOpenAccept(*fileName);
}

void TMainController::ActFileOpenAccept(const std::string& fileName)
{
    const bool setAside = ConfirmSave();
    if (FDocument.Modified())
        return;
    try {
        FDocument.LoadCaptionFile(fileName);
    } catch (...) {
        // The edits the user agreed to lose are still in the window: they stay guarded.
        if (setAside)
            FDocument.MarkModified();
        throw;
    }
    FOpenDialog.InitialDir = DialogFolder(FolderPart(fileName));
}

void TMainController::ActFileSaveExecute()
{
    if (FDocument.FileName() != UntitledFileName)
        FDocument.SaveCaptionFile(FDocument.FileName());
    else
        Execute(TCommandId::FileSaveAs);
}

void TMainController::ActFileSaveAsExecute()
{
    ActFileSaveAsBeforeExecute();
    // A saved document's path names its folder too: the dialog starts beside that file, so
    // confirming the proposal replaces the very file the title names. The folder the dialog
    // remembers is left as it is.
    TFileDialogState shown = FSaveDialog;
    if (const std::string folder = FolderPart(FSaveDialog.FileName); !folder.empty())
        shown.InitialDir = DialogFolder(folder);
    const std::optional<std::string> fileName = FUi.RunSaveDialog(shown);
    if (!fileName)
        return;
    FSaveDialog.FileName = *fileName;
    ActFileSaveAsAccept(*fileName);
}

void TMainController::ActFileSaveAsBeforeExecute()
{
    FSaveDialog.FileName = FDocument.FileName();
}

void TMainController::ActFileSaveAsAccept(const std::string& fileName)
{
    FDocument.SaveCaptionFile(fileName);
    FSaveDialog.InitialDir = DialogFolder(FolderPart(fileName));
}

void TMainController::ActFileProcessExecute()
{
    FDocument.Process(FEngine, FUi);
}

void TMainController::ActFileExitExecute()
{
    FUi.CloseWindow();
}

void TMainController::ActEditAddExecute()
{
    const std::optional<std::string> answer = FUi.AskCaption();
    if (!answer)
        return;
    std::string caption = TrimCaption(*answer);
    if (!FEngine.IsValidCaption(caption))
        throw EQuarnelError("Invalid caption \"" + caption + "\".");
    FDocument.AddCaption(std::move(caption));
}

void TMainController::ActEditEditExecute()
{
    const int row = FDocument.SelectionFacts().FirstSelected;
    if (row >= 0)
        FUi.StartCaptionEdit(row);
}

void TMainController::ActEditDeleteExecute()
{
    FDocument.DeleteFirstSelected();
}

void TMainController::ActEditSelectAllExecute()
{
    FDocument.SelectAll();
}

void TMainController::ActEditClearExecute()
{
    const TMessage question{"Confirm",
                            "Are you sure to clear?",
                            TMessageIcon::Question,
                            {TMessageButton::Yes, TMessageButton::No},
                            TMessageButton::No};
    if (FUi.ShowMessage(question) == TMessageButton::Yes)
        FDocument.ClearEntries();
}

void TMainController::ActEditCopyExecute()
{
    FUi.SetClipboardText(FDocument.FirstSelectedAccelerated());
    FUi.PlayInformationSound();
}

void TMainController::ActEditMoveUpExecute()
{
    FDocument.MoveSelectedUp();
}

void TMainController::ActEditMoveDownExecute()
{
    FDocument.MoveSelectedDown();
}

void TMainController::ActHelpAboutExecute()
{
    ShowAboutBox(AboutDescription, AboutFirstYear, 0);
}

void TMainController::ShowAboutBox(const std::string& description, const std::uint16_t firstYear,
                                   const std::uint16_t lastYear)
{
    FUi.ShowMessage({"About",
                     AboutMessage(FAppTitle, description, firstYear, lastYear),
                     TMessageIcon::Information,
                     {TMessageButton::Ok},
                     TMessageButton::Ok});
}

void TMainController::ListView1ColumnClick(int column)
{
    if (!FLive)
        return;
    FDocument.SortByColumn(column);
}

std::string TrimCaption(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}
