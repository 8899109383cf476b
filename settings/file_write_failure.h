#pragma once
// A file the program could not write (read-only, locked by another program, a full disk): the
// user is told, once, which file it was.
#include <string>

std::u16string WriteFailureText(const std::u16string& path, bool english);

// Shows the message for `path` in the interface's language, unless the operation under way
// collects its messages and already holds it: an apply that saves config.ini twice tells of it once.
void ReportWriteFailure(const std::u16string& path);
