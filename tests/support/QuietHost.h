// A process host that shows nothing, for passes run where no window is watching. Header-only,
// for the suites and benchmarks that link the engine.
#pragma once

#include "ProcessHost.h"

#include <string>

class TQuietHost : public IProcessHost
{
public:
    void ProcessBusy() override {}
    void ProcessIdle() override {}
    void ProcessStage(const std::string&) override {}
};
