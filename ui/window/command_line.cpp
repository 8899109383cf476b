#include "ui/window/command_line.h"

bool CommandLineAsksHidden(std::u16string_view commandLine)
{
    const size_t dash = commandLine.rfind(u'-');
    const std::u16string_view rest = dash == std::u16string_view::npos ? commandLine : commandLine.substr(dash + 1);
    return rest.substr(0, 4) == u"HIDE";
}
