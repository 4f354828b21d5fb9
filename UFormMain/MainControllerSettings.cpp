// Reading and writing the window's sections of the shared settings file.
#include "MainController.h"

void TMainController::ReadSettings() {}

void TMainController::WriteSettings() {}
