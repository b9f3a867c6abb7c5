#include "app/CTrawlexApp.h"

int main(int argc, char *argv[])
{
    CTrawlexApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitCode();
    return app.exec();
}
