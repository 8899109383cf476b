#pragma once
// Owners of the user-interface objects the program creates: menus, icons and hooks.
#include <windows.h>

#include "winlib/handle_owner.h"

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

struct HookDeleter {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};

using MenuOwner = HandleOwner<HMENU, MenuDeleter>;
using IconOwner = HandleOwner<HICON, IconDeleter>;
using HookOwner = HandleOwner<HHOOK, HookDeleter>;
