#include "CaptionDocument.h"

#include "Engine.h"
#include "ListFile.h"
#include "QuarnelError.h"
#include "SystemError.h"

#include <cerrno>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace {

// Whether `bytes` of address space are to be had now. Mapped and unmapped rather than taken from
// the heap, which a compiler may leave out when nothing uses the memory.
bool CanAllocate(std::size_t bytes)
{
    if (bytes == 0)
        return true;
    void* const probe =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED)
        return false;
    ::munmap(probe, bytes);
    return true;
}

} // namespace

TCaptionDocument::TCaptionDocument(QObject* parent) : QObject(parent), FSelection(&FModel)
{
    connect(&FModel, &TEntryModel::captionEdited, this, [this] { MarkModified(); });
    // The facts are derived from the selection and the rows; any change to either drops them.
    connect(&FSelection, &QItemSelectionModel::selectionChanged, this,
            &TCaptionDocument::InvalidateSelectionFacts);
    connect(&FModel, &QAbstractItemModel::modelReset, this,
            &TCaptionDocument::InvalidateSelectionFacts);
    connect(&FModel, &QAbstractItemModel::rowsInserted, this,
            &TCaptionDocument::InvalidateSelectionFacts);
    connect(&FModel, &QAbstractItemModel::rowsRemoved, this,
            &TCaptionDocument::InvalidateSelectionFacts);
    connect(&FModel, &QAbstractItemModel::layoutChanged, this,
            &TCaptionDocument::InvalidateSelectionFacts);
}

void TCaptionDocument::LoadCaptionFile(const std::string& fileName)
{
    // Entries are built straight from the file's bytes: a million-line list would otherwise
    // pass through a second array of lines, and the page faults of filling it cost more than
    // the splitting itself.
    std::vector<TEntry> entries;
    try {
        {
            const std::string text = ReadCaptionFileText(fileName);
            entries.reserve(CountCaptionLines(text));
            AdviseLargeBuffer(entries.data(), entries.capacity() * sizeof(TEntry));
            ForEachCaptionLine(text, [&entries](std::string_view line) {
                entries.push_back({std::string(line), {}, 0});
            });
        }
        // The view's rows come next, once the file's text is gone; Qt cannot report their
        // allocation failing, so the load is refused while it still can be.
        if (entries.size() > std::numeric_limits<std::size_t>::max() / (FViewBytesPerRow + 1) ||
            !CanAllocate(entries.size() * FViewBytesPerRow))
            throw std::bad_alloc();
    } catch (const std::bad_alloc&) {
        // A list too big for memory is a file this program cannot read: the user gets the
        // message of any other unreadable file, and the failed attempt's memory is free again.
        throw EQuarnelError("Cannot open file \"" + fileName + "\". " + SystemErrorText(ENOMEM));
    }
    FModel.ReplaceAll(std::move(entries));
    FFileName = fileName;
    FModified = false;
}

void TCaptionDocument::SaveCaptionFile(const std::string& fileName)
{
    std::vector<std::string_view> captions;
    captions.reserve(FModel.Entries().size());
    for (const TEntry& entry : FModel.Entries())
        captions.emplace_back(entry.Original);
    WriteCaptionFile(fileName, captions);
    FFileName = fileName;
    FModified = false;
}

void TCaptionDocument::NewDocument()
{
    FModel.ReplaceAll({});
    FFileName = UntitledFileName;
    FModified = false;
}

void TCaptionDocument::Process(TAccEngine& engine, IProcessHost& host)
{
    const std::vector<TEntry>& entries = FModel.Entries();
    std::vector<RAccelerated> results = engine.Process(
        entries.size(),
        [&entries](std::size_t i) -> const std::string& { return entries[i].Original; }, host);
    std::vector<std::pair<std::string, char>> columns;
    columns.reserve(results.size());
    for (RAccelerated& result : results)
        columns.emplace_back(std::move(result.Caption), result.Key);
    FModel.SetResults(std::move(columns));
}

TSelectionFacts TCaptionDocument::SelectionFacts() const
{
    if (FFactsValid)
        return FFacts;
    TSelectionFacts facts;
    const int count = FModel.Count();
    if (count > 0) {
        // One pass over one copy of the ranges: Qt copies them all again for every row asked
        // about, which a hundred thousand scattered ranges make felt on each idle pass.
        bool lastRowTouched = false;
        for (const QItemSelectionRange& range : FSelection.selection()) {
            if (!range.isValid())
                continue;
            if (facts.FirstSelected < 0 || range.top() < facts.FirstSelected)
                facts.FirstSelected = range.top();
            if (range.bottom() >= count - 1) {
                if (range.left() == 0 && range.right() >= TEntryModel::ColumnCount - 1)
                    facts.LastRowSelected = true;
                else
                    lastRowTouched = true;
            }
        }
        facts.FirstRowSelected = facts.FirstSelected == 0;
        if (!facts.LastRowSelected && lastRowTouched)
            facts.LastRowSelected = IsRowSelected(count - 1);
    }
    FFacts = facts;
    FFactsValid = true;
    return facts;
}

bool TCaptionDocument::IsRowSelected(int row) const
{
    return FSelection.isRowSelected(row, QModelIndex());
}

void TCaptionDocument::SelectRows(int first, int last)
{
    if (first > last || FModel.Count() == 0)
        return;
    FSelection.select(
        QItemSelection(FModel.index(first, 0), FModel.index(last, TEntryModel::ColumnCount - 1)),
        QItemSelectionModel::Select);
}
