#pragma once

// Everything the window's logic needs from the screen, as one narrow interface: the window
// implements it with Qt, the tests with a scripted fake.

#include "Bounds.h"
#include "ProcessHost.h"

#include <optional>
#include <string>
#include <vector>

enum class TMessageIcon
{
    Information,
    Warning,
    Question,
    Error
};
enum class TMessageButton
{
    Ok,
    Yes,
    No,
    Cancel
};

struct TMessage
{
    std::string Caption;
    std::string Text; // line breaks are CR alone
    TMessageIcon Icon = TMessageIcon::Information;
    std::vector<TMessageButton> Buttons;
    TMessageButton Default = TMessageButton::Ok;

    bool operator==(const TMessage&) const = default;
};

// A file dialog that lives as long as the window: where it starts and what it proposes.
struct TFileDialogState
{
    std::string InitialDir; // no trailing "/" except for the root itself; empty: dialog's choice
    std::string FileName;
};

class IUserInterface : public IProcessHost
{
public:
    // Returns the button chosen; closing the box counts as the last button (Cancel or No).
    virtual TMessageButton ShowMessage(const TMessage& message) = 0;

    // The confirmed full path, or nothing when cancelled. The state is the dialog's own.
    virtual std::optional<std::string> RunOpenDialog(const TFileDialogState& state) = 0;
    virtual std::optional<std::string> RunSaveDialog(const TFileDialogState& state) = 0;

    // The one-line input of Add; nothing when cancelled.
    virtual std::optional<std::string> AskCaption() = 0;
    virtual void StartCaptionEdit(int row) = 0;

    virtual void SetClipboardText(const std::string& text) = 0;
    virtual void PlayInformationSound() = 0;
    virtual void CloseWindow() = 0;

    // The window's geometry, for the settings file.
    virtual TBounds WindowBounds() const = 0;
    virtual void SetWindowBounds(const TBounds& bounds) = 0;
    // Neither minimised nor maximised, nor on its way to either.
    virtual bool IsWindowNormal() const = 0;
    // The available area (without panels and docks) of the screen that holds these bounds.
    virtual TBounds AvailableArea(const TBounds& bounds) const = 0;
    virtual int ColumnWidth(int column) const = 0;
    virtual void SetColumnWidth(int column, int width) = 0;
};
