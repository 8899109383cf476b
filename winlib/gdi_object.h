#pragma once
// Owners of GDI objects: each deletes what it holds when it goes.
#include <windows.h>

#include "winlib/handle_owner.h"

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

using BitmapOwner = HandleOwner<HBITMAP, GdiObjectDeleter>;
using FontOwner = HandleOwner<HFONT, GdiObjectDeleter>;
using BrushOwner = HandleOwner<HBRUSH, GdiObjectDeleter>;
using PenOwner = HandleOwner<HPEN, GdiObjectDeleter>;
using RegionOwner = HandleOwner<HRGN, GdiObjectDeleter>;
