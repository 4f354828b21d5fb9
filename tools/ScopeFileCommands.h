#pragma once

// check and fix for files whose captions live in scopes (menus, dialogs): any format with a
// reader and an encoder behind ICaptionFormat. Keys follow the Unicode rule and the marker is
// the format's own ("&" for Windows and Qt, "_" for GTK and gettext).

#include "CaptionFile.h"
#include "FindingReport.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class TKeyPreference;

struct RScopeFileOptions
{
    bool Strict = false;     // check: warnings count for the exit status
    bool Explain = false;    // check: why a scope cannot get distinct keys at all
    bool AddMissing = false; // fix: captions that may stay without a key get one too
    bool Diff = false;       // fix: print a unified diff instead of writing
    bool DryRun = false;     // fix: write nothing, say what would change
    // Linguist translations read in the scopes of their forms (--forms); none: each context
    // as one scope.
    const ICaptionFormat* Translations = nullptr;
    // gettext catalogues read in the scopes of their builder files (--builder); none: each
    // message alone.
    const ICaptionFormat* Catalogues = nullptr;
    // fix: keys a designer would choose (--prefer guidelines); none: the first that fit.
    const TKeyPreference* Prefer = nullptr;
};

// What one file gives: its standard output and error text, and its exit status; check gives
// its findings as data, for the caller to print in the format asked for.
struct RFileReport
{
    int Status = 0;
    std::string Out;
    std::string Err;
    std::vector<RCheckFinding> Findings;
};

// The format that reads a file of this name, by its extension (and, for .ui, by the root element
// that tells GTK from Qt); nullptr for none.
const ICaptionFormat* ScopeFormatFor(const std::string& fileName,
                                     const RScopeFileOptions& options = {});

RFileReport CheckScopeFile(const std::string& fileName, const ICaptionFormat& format,
                           const RScopeFileOptions& options);
RFileReport FixScopeFile(const std::string& fileName, const ICaptionFormat& format,
                         const RScopeFileOptions& options);

// Checks files of known formats on several threads; reports in the order of the files.
// progress(done, total) is called now and then from the calling thread.
std::vector<RFileReport>
CheckScopeFiles(const std::vector<std::string>& fileNames, const RScopeFileOptions& options,
                const std::function<void(std::size_t, std::size_t)>& progress = {});
