// One run of the batch tool through its entry function, with its streams captured. For the
// suites that link the tool's library.
#pragma once

#include "QuarnelCli.h"

#include <QStringList>
#include <sstream>
#include <string>
#include <vector>

struct TRun
{
    int Status = -1;
    std::string Out;
    std::string Err;

    bool operator==(const TRun&) const = default;
};

// Runs the tool on arguments given as the system gives them, bytes (the program name is added),
// with `input` as standard input.
inline TRun RunToolOnBytes(const std::vector<std::string>& arguments, const std::string& input = {})
{
    QStringList list{QStringLiteral("quarnel-cli")};
    for (const std::string& argument : arguments)
        list.append(QString::fromLatin1(argument.data(), static_cast<qsizetype>(argument.size())));
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.Status = RunCli(list, in, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

// The same with arguments as text, passed on as a UTF-8 terminal would pass them.
inline TRun RunTool(const QStringList& arguments, const std::string& input = {})
{
    std::vector<std::string> bytes;
    for (const QString& argument : arguments)
        bytes.push_back(argument.toStdString());
    return RunToolOnBytes(bytes, input);
}
