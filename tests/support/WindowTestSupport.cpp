#include "WindowTestSupport.h"

#include <QEventLoop>
#include <QTimer>

void RunIdlePass()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}
