// One run of the batch tool through its entry function, with its streams captured. For the
// suites that link the tool's library.
#pragma once

#include "QuarnelCli.h"

#include <QStringList>
#include <sstream>
#include <string>

struct TRun
{
    int Status = -1;
    std::string Out;
    std::string Err;

    bool operator==(const TRun&) const = default;
};

// Runs the tool on these arguments (the program name is added) with `input` as standard input.
inline TRun RunTool(QStringList arguments, const std::string& input = {})
{
    arguments.prepend(QStringLiteral("quarnel-cli"));
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.Status = RunCli(arguments, in, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}
