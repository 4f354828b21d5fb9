#pragma once

// The one way this program replaces a file.

#include <optional>
#include <string>
#include <string_view>

// Why a replacement failed: at which step, and the system's error number for it.
struct RReplaceFailure
{
    enum class EStep
    {
        Create, // nothing was written; the old file is untouched
        Write   // the new contents could not be written out whole
    };

    EStep Step = EStep::Create;
    int ErrorNumber = 0;

    // The system's text for ErrorNumber, ready to end a message.
    std::string Reason() const;
};

// Makes `bytes` the whole contents of the file at `path` (the name's bytes, as the system takes
// them), or reports why not. The new contents go to a file of their own beside the old one and
// take its place only once they are complete, so a failure at any step leaves the old file as it
// was. Beyond that:
// - Anything other than a regular file at path, or a symbolic link to one, is never replaced:
//   a directory fails with EISDIR, a device, FIFO or socket with EINVAL.
// - A replaced file keeps its permissions, and its owner and group where the process may set
//   them.
// - When the folder does not let us create a file but the file itself is writable, the file is
//   overwritten in place. That is the one case where a failure can leave the file cut short.
std::optional<RReplaceFailure> ReplaceFile(const std::string& path, std::string_view bytes);

// For a program's start: a write past the file size limit (RLIMIT_FSIZE) then fails with EFBIG,
// as on a full disk, instead of SIGXFSZ ending the process and the user's unsaved work with it.
void IgnoreFileSizeSignal();
