#pragma once

// A scripted stand-in for the window: answers come from queues the test fills, and every
// request is recorded so the test can check what the user would have seen.

#include "UserInterface.h"
#include "WindowLayout.h"

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The list's column widths as the form first lays them out.
inline std::map<int, int> DesignColumnWidthMap()
{
    std::map<int, int> widths;
    for (std::size_t column = 0; column < DesignColumnWidths.size(); ++column)
        widths[static_cast<int>(column)] = DesignColumnWidths[column];
    return widths;
}

class TFakeUserInterface : public IUserInterface
{
public:
    // Scripted answers, taken in order. Running out is a test failure.
    std::deque<TMessageButton> MessageAnswers;
    std::deque<std::optional<std::string>> OpenDialogAnswers;
    std::deque<std::optional<std::string>> SaveDialogAnswers;
    std::deque<std::optional<std::string>> CaptionAnswers;

    // What was asked for.
    std::vector<TMessage> Messages;
    std::vector<TFileDialogState> OpenDialogStates;
    std::vector<TFileDialogState> SaveDialogStates;
    std::vector<std::string> Stages;
    std::vector<std::string> Events; // "busy", "idle", "stage:<text>", "edit:<row>", ...
    std::vector<std::string> Clipboard;
    int Sounds = 0;
    int CloseRequests = 0;
    bool Busy = false;

    TBounds Bounds = DesignBounds;
    bool Normal = true;
    TBounds Area{0, 0, 1280, 1024};
    std::map<int, int> ColumnWidths = DesignColumnWidthMap();

    void ProcessBusy() override
    {
        Busy = true;
        Events.push_back("busy");
    }
    void ProcessIdle() override
    {
        Busy = false;
        Events.push_back("idle");
    }
    void ProcessStage(const std::string& text) override
    {
        Stages.push_back(text);
        Events.push_back("stage:" + text);
    }

    TMessageButton ShowMessage(const TMessage& message) override
    {
        Messages.push_back(message);
        Events.push_back("message:" + message.Caption);
        if (message.Buttons.size() == 1)
            return message.Buttons.front();
        return Take(MessageAnswers, "message box");
    }
    std::optional<std::string> RunOpenDialog(const TFileDialogState& state) override
    {
        OpenDialogStates.push_back(state);
        Events.push_back("open-dialog");
        return Take(OpenDialogAnswers, "open dialog");
    }
    std::optional<std::string> RunSaveDialog(const TFileDialogState& state) override
    {
        SaveDialogStates.push_back(state);
        Events.push_back("save-dialog");
        return Take(SaveDialogAnswers, "save dialog");
    }
    std::optional<std::string> AskCaption() override
    {
        Events.push_back("ask-caption");
        return Take(CaptionAnswers, "caption input");
    }
    void StartCaptionEdit(int row) override { Events.push_back("edit:" + std::to_string(row)); }
    void SetClipboardText(const std::string& text) override { Clipboard.push_back(text); }
    void PlayInformationSound() override { ++Sounds; }
    void CloseWindow() override { ++CloseRequests; }

    TBounds WindowBounds() const override { return Bounds; }
    void SetWindowBounds(const TBounds& bounds) override { Bounds = bounds; }
    bool IsWindowNormal() const override { return Normal; }
    TBounds AvailableArea(const TBounds&) const override { return Area; }
    int ColumnWidth(int column) const override { return ColumnWidths.at(column); }
    void SetColumnWidth(int column, int width) override { ColumnWidths[column] = width; }

private:
    template <typename T> static T Take(std::deque<T>& answers, const char* what)
    {
        if (answers.empty())
            throw std::logic_error(std::string("unexpected ") + what);
        T answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};
