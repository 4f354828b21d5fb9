#include "SystemError.h"

#include <cstring>

std::string SystemErrorText(int errorNumber)
{
    std::string text = std::strerror(errorNumber);
    while (!text.empty()) {
        const auto last = static_cast<unsigned char>(text.back());
        if (last > ' ' && last != '.')
            break;
        text.pop_back();
    }
    return text;
}
