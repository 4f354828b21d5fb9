// Guards that change something of the whole process for the life of a test and put it back.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>

// Stands in for a full disk: files of this process can't grow past `bytes` while the guard
// lives, and going past fails the write with EFBIG instead of raising SIGXFSZ. The old limit
// and signal handler come back when the guard goes.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes);
    ~TFileSizeLimit();
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    // Whether the lower limit took effect.
    bool Active() const { return FActive; }

private:
    rlimit FOldLimit = {};
    void (*FOldHandler)(int);
    bool FActive = false;
};

// Sets or unsets one environment variable for the life of the guard, then puts it back.
class TEnvVar
{
public:
    TEnvVar(const char* name, const std::optional<std::string>& value);
    ~TEnvVar();
    TEnvVar(const TEnvVar&) = delete;
    TEnvVar& operator=(const TEnvVar&) = delete;

private:
    void Apply(const std::optional<std::string>& value) const;

    const std::string FName;
    std::optional<std::string> FOld;
};

// The user "nobody", for files that must belong to someone other than the test.
inline constexpr uid_t NobodyId = 65534;

// Runs body in a child process and returns what it returns, or -1 when the child did not end
// normally. A root process runs it as nobody, so that file permissions bind it as they bind
// any user; files it is to write must then be nobody's.
int RunUnprivileged(const std::function<int()>& body);
