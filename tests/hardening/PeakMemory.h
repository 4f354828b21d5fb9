#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// How far the resident memory of this process rose above its level at construction. The kernel
// keeps one high-water mark per process; it is reset here so that what earlier tests allocated
// does not hide what the code under test allocates.
class TPeakMemory
{
public:
    TPeakMemory()
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
        clear.flush();
        FReset = clear.good();
        FStart = StatusBytes("VmRSS:");
    }

    bool Reset() const { return FReset; }
    std::int64_t Growth() const { return StatusBytes("VmHWM:") - FStart; }

    // Address space in use, mapped whether touched or not.
    static std::int64_t VirtualBytes() { return StatusBytes("VmSize:"); }

private:
    static std::int64_t StatusBytes(const std::string& field)
    {
        std::ifstream status("/proc/self/status");
        std::string name;
        while (status >> name) {
            if (name == field) {
                std::int64_t kilobytes = 0;
                status >> kilobytes;
                return kilobytes * 1024;
            }
            status.ignore(1 << 16, '\n');
        }
        return -1;
    }

    bool FReset = false;
    std::int64_t FStart = 0;
};
