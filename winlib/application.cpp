#include "winlib/application.h"

int Application::Run()
{
    try {
        InitInstance();
    } catch (...) {
        return 1;
    }
    return exitStatus_;
}
