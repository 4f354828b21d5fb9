#pragma once

#include <stdexcept>
#include <string>

// The one kind of error the program raises: a message for the user's error box, nothing more.
class EQuarnelError : public std::runtime_error
{
public:
    explicit EQuarnelError(const std::string& message) : std::runtime_error(message) {}
};
