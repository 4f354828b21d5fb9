#include "ProcessGuards.h"

#include <csignal>
#include <cstdlib>

TFileSizeLimit::TFileSizeLimit(const rlim_t bytes) : FOldHandler(std::signal(SIGXFSZ, SIG_IGN))
{
    getrlimit(RLIMIT_FSIZE, &FOldLimit);
    rlimit lowered = FOldLimit;
    lowered.rlim_cur = bytes;
    FActive = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
}

TFileSizeLimit::~TFileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &FOldLimit);
    std::signal(SIGXFSZ, FOldHandler);
}

TEnvVar::TEnvVar(const char* name, const std::optional<std::string>& value) : FName(name)
{
    if (const char* old = std::getenv(name))
        FOld = old;
    Apply(value);
}

TEnvVar::~TEnvVar()
{
    Apply(FOld);
}

void TEnvVar::Apply(const std::optional<std::string>& value) const
{
    if (value)
        ::setenv(FName.c_str(), value->c_str(), 1);
    else
        ::unsetenv(FName.c_str());
}
