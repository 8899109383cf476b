#pragma once
// The files the apply and the device threads read and write: config.ini and the macro files of
// one language. The program builds them from its folders; tests hand in files held in memory.
#include "device/macro_slot_writer.h"
#include "settings/ini_source.h"

struct DeviceLinkFiles {
    IniSource& configIni;
    MacroFilesAccess macros;
};
