#include "Application.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (FErrorHandler)
            FErrorHandler(error.what());
    } catch (...) {
        if (FErrorHandler)
            FErrorHandler("Unknown error");
    }
    return false;
}
