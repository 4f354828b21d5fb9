#pragma once

#include <string>

// The system's text for an error number, without trailing blanks, control characters or periods,
// so that it can end a message of our own.
std::string SystemErrorText(int errorNumber);
