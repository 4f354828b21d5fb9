#include "Application.h"
#include "AtomicFile.h"
#include "FormMain.h"
#include "UQuarnelApps.h"

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    // The settings file's place is fixed before any window exists. No argument is read.
    std::string iniFileName = ComputeIniFileName();
    TApplication application(argc, argv);
    TFormMain formMain(std::move(iniFileName));
    formMain.show();
    return TApplication::exec();
}
