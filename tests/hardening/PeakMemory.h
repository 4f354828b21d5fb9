#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <sys/resource.h>

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

// Caps the address space of this process a little above what it uses now, so that a load
// needing much more meets a failed allocation here instead of the machine's memory running
// out; the old cap comes back when the guard goes.
class TAddressSpaceCap
{
public:
    explicit TAddressSpaceCap(std::int64_t headroom)
    {
        ::getrlimit(RLIMIT_AS, &FOld);
        rlimit cap = FOld;
        cap.rlim_cur = static_cast<rlim_t>(TPeakMemory::VirtualBytes() + headroom);
        FActive = ::setrlimit(RLIMIT_AS, &cap) == 0;
    }
    ~TAddressSpaceCap() { ::setrlimit(RLIMIT_AS, &FOld); }
    TAddressSpaceCap(const TAddressSpaceCap&) = delete;
    TAddressSpaceCap& operator=(const TAddressSpaceCap&) = delete;

    bool Active() const { return FActive; }

private:
    rlimit FOld = {};
    bool FActive = false;
};
