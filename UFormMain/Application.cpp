#include "Application.h"

#include "UQuarnelApps.h"
#include "WindowLayout.h"

#include <algorithm>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The desktop shows the window's title on its task bar; the name and version are what
    // the rest of the system knows the program by, and the desktop entry ties the window to
    // its icon.
    const std::string title(FormCaption);
    const std::string name = TitleWithoutVersion(title);
    setApplicationName(QString::fromStdString(name));
    setApplicationVersion(
        QString::fromStdString(title.substr(std::min(name.size() + 1, title.size()))));
    setDesktopFileName(QStringLiteral("quarnel"));
}

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
