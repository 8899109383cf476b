#pragma once
// File questions of the macro folder as Windows answers them: whether a file is there, whether
// two paths or two group names name one file (names are compared as the file system does,
// without regard to case).
#include <string>

bool FileFound(const std::u16string& path);
bool SameFilePath(const std::u16string& a, const std::u16string& b);
bool SameFileName(const std::u16string& a, const std::u16string& b);
// Whether `name` is the name of a listed group other than `except` by the file system's rule.
bool NamesAnotherGroupFile(const std::u16string& name, int except);
// Whether a new or renamed group may not take `name`: a listed group has exactly that name, or a
// listed group other than `except` shares its file.
bool GroupNameTaken(const std::u16string& name, int except);
