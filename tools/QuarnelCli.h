#pragma once

// The batch tool's whole behaviour, apart from the process around it: arguments in (the first
// one being the program's name), streams for input and output, exit status back. Arguments are
// bytes, as the system hands them over, one character per byte (QString::fromLatin1): a file
// name that is not UTF-8 then reaches the file system, and every message, unchanged.

#include <QStringList>
#include <iosfwd>

inline constexpr int CliExitSuccess = 0;
inline constexpr int CliExitNoCombination = 1;
inline constexpr int CliExitBadInput = 2;

int RunCli(const QStringList& arguments, std::istream& in, std::ostream& out, std::ostream& err);
