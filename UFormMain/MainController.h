#pragma once

// The window's logic without the window: document state, commands and their handlers, the
// life of the form. TFormMain forwards its events here and applies what comes back.

#include "CaptionDocument.h"
#include "CommandState.h"
#include "Engine.h"
#include "UserInterface.h"

#include <cstdint>
#include <string>

class TMainController
{
public:
    explicit TMainController(IUserInterface& ui);

    TCaptionDocument& Document() { return FDocument; }
    const TCaptionDocument& Document() const { return FDocument; }
    TAccEngine& Engine() { return FEngine; }

    // Shared application state: the settings file is named at program start, the title at
    // FormCreate.
    const std::string& AppTitle() const { return FAppTitle; }
    void SetIniFileName(std::string fileName) { FIniFileName = std::move(fileName); }

    // What the two file dialogs remember between uses.
    TFileDialogState FOpenDialog;
    TFileDialogState FSaveDialog;

    // The form's life.
    void FormCreate(std::string_view caption);
    void FormShow();
    bool FormCloseQuery();
    // Writes the settings. A refused write raises its error the first time; when the write is
    // refused again at the next close, the error is shown and the close goes ahead.
    void FormClose();
    void FormDestroy();
    bool IsLive() const { return FLive; }

    // Command state, title and position (the update handler of ActFileNew).
    TCommandState ActFileNewUpdate() const;
    bool IsEnabled(TCommandId id) const;
    // Runs the command's handler when the command is live and enabled; says whether it ran.
    // Errors travel to the caller, which shows them in the error box.
    bool Execute(TCommandId id);

    TMessage ErrorBox(const std::string& text) const;

    // Handlers.
    // The save-changes prompt; true when the user chose to drop the changes (No).
    bool ConfirmSave();
    void ActFileNewExecute();
    void ActFileOpenExecute();
    void ActFileOpenAccept(const std::string& fileName);
    void ActFileSaveExecute();
    void ActFileSaveAsExecute();
    void ActFileSaveAsBeforeExecute();
    void ActFileSaveAsAccept(const std::string& fileName);
    void ActFileProcessExecute();
    void ActFileExitExecute();
    void ActEditAddExecute();
    void ActEditEditExecute();
    void ActEditDeleteExecute();
    void ActEditSelectAllExecute();
    void ActEditClearExecute();
    void ActEditCopyExecute();
    void ActEditMoveUpExecute();
    void ActEditMoveDownExecute();
    void ActHelpAboutExecute();
    // The About message of the shared unit; a last year of 0 shows the first year alone.
    void ShowAboutBox(const std::string& description, std::uint16_t firstYear,
                      std::uint16_t lastYear);
    void ListView1ColumnClick(int column);

private:
    void ReadSettings();
    void WriteSettings();

    IUserInterface& FUi;
    std::string FAppTitle;
    std::string FIniFileName;
    TCaptionDocument FDocument;
    TAccEngine FEngine;
    bool FLive = false;            // the command table is suspended until the form is shown
    bool FSettingsRefused = false; // the last close could not write the settings
};

inline constexpr const char* AboutDescription = "An easy way to determine accelerator keys.";
inline constexpr int AboutFirstYear = 2003;

// Trims bytes of code 32 and below at both ends.
std::string TrimCaption(std::string_view text);
