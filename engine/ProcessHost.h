#pragma once

#include <string>

// Whatever runs a processing pass: it shows the stage texts and the busy state.
class IProcessHost
{
public:
    virtual ~IProcessHost() = default;
    virtual void ProcessBusy() = 0;
    virtual void ProcessIdle() = 0;
    virtual void ProcessStage(const std::string& text) = 0;
};
