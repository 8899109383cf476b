#pragma once
// Layout files on disk, read with the platform's profile functions a section at a time: a
// layout file has hundreds of keys, and one profile call per key costs a file open each (about
// half a millisecond a key under Wine), which start-up and every language switch would pay.
#include "ui/pages/skin_layout.h"

class Win32SkinLayoutFiles : public SkinLayoutFiles {
public:
    std::unique_ptr<IniSource> Open(const std::u16string& path) override;
};
