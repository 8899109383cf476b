#pragma once
// What the program takes from its own file's path. Platform-free.
#include <string>
#include <string_view>

// Everything before the last backslash (no trailing backslash); empty when there is none.
std::u16string FolderOfModulePath(std::u16string_view modulePath);
// The file name without folder and extension ("TEV_Kestra" for ...\TEV_Kestra.exe).
std::u16string ApplicationNameOfModulePath(std::u16string_view modulePath);
