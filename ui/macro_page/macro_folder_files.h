#pragma once
// File questions of the macro folder as Windows answers them: whether a file is there, whether
// two paths or two group names name one file (names are compared as the file system does,
// without regard to case).
#include <string>

bool FileFound(const std::u16string& path);
bool SameFilePath(const std::u16string& a, const std::u16string& b);
bool SameFileName(const std::u16string& a, const std::u16string& b);
// Whether two files can both be read and hold the same bytes.
bool SameFileBytes(const std::u16string& a, const std::u16string& b);
// Whether `name` is the name of a listed group other than `except` by the file system's rule.
bool NamesAnotherGroupFile(const std::u16string& name, int except);
// Whether a new or renamed group may not take `name`: a listed group has exactly that name, or a
// listed group other than `except` shares its file.
bool GroupNameTaken(const std::u16string& name, int except);
// Whether `fileName` (a name in the macro folder) is the file of a listed group, by the file
// system's rule.
bool IsListedGroupFile(const std::u16string& fileName);
// Whether `name` comes back unchanged through the system's ANSI code page, without best-fit or
// default characters: the group list (macroGrp.ini) is stored in it.
bool SurvivesCodePage(const std::u16string& name);
