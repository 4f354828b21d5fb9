#include "ProcessGuards.h"

#include <csignal>
#include <cstdlib>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

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

int RunUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0))
            ::_exit(125);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
