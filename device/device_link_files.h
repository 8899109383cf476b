#pragma once
// The files the apply and the device threads read and write: config.ini and the macro files of
// one language. The program builds them from its folders; tests hand in files held in memory.
#include "device/macro_slot_writer.h"
#include "settings/ini_source.h"

struct DeviceLinkFiles {
    IniSource& configIni;
    MacroFilesAccess macros;
};

// Hands out the files when a piece of work needs them, made at that moment: a device thread that
// has waited for the mouse uses the macro folder of the language in force when its report came.
class DeviceLinkFilesSource {
public:
    virtual ~DeviceLinkFilesSource() = default;
    // Valid until the next call.
    virtual DeviceLinkFiles& Current() = 0;
};

// The same files every time, for callers whose language cannot change underneath them.
class FixedDeviceLinkFiles : public DeviceLinkFilesSource {
public:
    explicit FixedDeviceLinkFiles(const DeviceLinkFiles& files) : files_(files) {}
    DeviceLinkFiles& Current() override { return files_; }

private:
    DeviceLinkFiles files_;
};
