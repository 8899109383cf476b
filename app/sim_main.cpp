// Entry point of TEV_Kestra_sim.exe: the same program with the simulated mouse as its device.
#include <windows.h>

#include "app/sim_device_setup.h"
#include "app/tev_kestra_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SimDeviceSetup device;
    CTEV_KestraApp app;
    return app.Run();
}
