#pragma once
// Layout files on disk, read with the platform's profile-string functions.
#include "ui/skin_layout.h"

class Win32SkinLayoutFiles : public SkinLayoutFiles {
public:
    std::unique_ptr<IniSource> Open(const std::u16string& path) override;
};
