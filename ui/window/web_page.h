#pragma once
// The maker's web page, opened from the main page's button 19 with the shell's "open" verb.
#include <string>

inline constexpr char16_t kVendorWebPage[] = u"https://www.example.com/kestra";

// Opens an address in the user's browser. Tests put a recorder in its place.
using WebPageOpener = void (*)(const std::u16string& address);
extern WebPageOpener g_openWebPage;
