#pragma once

#include "EntryModel.h"
#include "SelectionFacts.h"

#include <QItemSelectionModel>
#include <QObject>
#include <cstddef>
#include <string>

class TAccEngine;
class IProcessHost;

inline constexpr const char* UntitledFileName = "Untitled.lst";

// The caption list with its file name and modified flag. The entries are held by the model
// and the selection by the selection model; everything here works through those two.
class TCaptionDocument : public QObject
{
    Q_OBJECT

public:
    explicit TCaptionDocument(QObject* parent = nullptr);

    TEntryModel& Model() { return FModel; }
    const TEntryModel& Model() const { return FModel; }
    QItemSelectionModel& Selection() { return FSelection; }
    int Count() const { return FModel.Count(); }

    // The file the list was last read from or written to, and whether it has changed since.
    const std::string& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    void SetFileName(std::string fileName) { FFileName = std::move(fileName); }
    void MarkModified() { FModified = true; }
    // The user chose to let the changes go; the entries stay as they are.
    void MarkUnmodified() { FModified = false; }

    // Leave the document untouched when they throw.
    void LoadCaptionFile(const std::string& fileName);
    // What a view of the list allocates per row once it is handed a new list. A load that would
    // leave less than that to be had is refused as a list too big for memory.
    void SetViewBytesPerRow(std::size_t bytes) { FViewBytesPerRow = bytes; }
    void SaveCaptionFile(const std::string& fileName);

    void NewDocument();
    // A processing pass; results land in the entries only when it succeeds.
    void Process(TAccEngine& engine, IProcessHost& host);

    TSelectionFacts SelectionFacts() const;
    bool IsRowSelected(int row) const;
    void SelectRows(int first, int last);
    // Replaces the selection by these rows in one step; any order, duplicates allowed.
    void SelectOnlyRows(std::vector<int> rows);

    // Editing.
    void AddCaption(std::string caption);
    void DeleteFirstSelected();
    void SelectAll();
    void ClearEntries();
    void MoveSelectedUp();
    void MoveSelectedDown();
    void SortByColumn(int column);
    std::string FirstSelectedAccelerated() const;

private:
    void InvalidateSelectionFacts() { FFactsValid = false; }

    std::string FFileName = UntitledFileName;
    bool FModified = false;
    TEntryModel FModel;
    QItemSelectionModel FSelection;
    mutable TSelectionFacts FFacts;
    mutable bool FFactsValid = false;
    std::size_t FViewBytesPerRow = 0;
};
