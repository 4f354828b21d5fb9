// Owns a POSIX file descriptor and closes it when it goes.
#pragma once

#include <unistd.h>

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int fd) : FFd(fd) {}
    ~TFileDescriptor()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    // -1 when the open that made it failed.
    int Get() const { return FFd; }

private:
    const int FFd;
};
