#pragma once

#include <QApplication>
#include <functional>
#include <string>

// The application object. The window's handlers catch their own errors; an error that still
// escapes an event handler (one of Qt's own widgets, say) ends that handler and goes to the
// error box instead of tearing down the event loop.
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    void SetErrorHandler(std::function<void(const std::string&)> handler)
    {
        FErrorHandler = std::move(handler);
    }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::function<void(const std::string&)> FErrorHandler;
};
