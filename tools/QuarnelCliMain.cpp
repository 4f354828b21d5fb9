#include "AtomicFile.h"
#include "QuarnelCli.h"

#include <QCoreApplication>
#include <QStringList>
#include <iostream>

int main(int argc, char* argv[])
{
    IgnoreFileSizeSignal();
    const QCoreApplication application(argc, argv);
    std::ios::sync_with_stdio(false);
    // Qt's own list decodes the arguments as UTF-8 and loses bytes that are not.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLatin1(argv[i]));
    return RunCli(arguments, std::cin, std::cout, std::cerr);
}
