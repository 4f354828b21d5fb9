#include "QuarnelCli.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[])
{
    const QCoreApplication application(argc, argv);
    std::ios::sync_with_stdio(false);
    return RunCli(QCoreApplication::arguments(), std::cin, std::cout, std::cerr);
}
