#include "base/program_folder.h"

std::u16string FolderOfModulePath(std::u16string_view modulePath)
{
    const size_t slash = modulePath.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(modulePath.substr(0, slash));
}

std::u16string ApplicationNameOfModulePath(std::u16string_view modulePath)
{
    const size_t slash = modulePath.find_last_of(u"\\/");
    std::u16string_view name = slash == std::u16string_view::npos ? modulePath : modulePath.substr(slash + 1);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::u16string(name);
}
