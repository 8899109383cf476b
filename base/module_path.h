#pragma once
// The running program's own file.
#include <string>

// The full path as the system gives it, cut at 260 characters.
std::u16string ModuleFilePath();
