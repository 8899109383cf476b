#include "settings/file_write_failure.h"

#include "base/user_prompts.h"
#include "settings/settings_state.h"

std::u16string WriteFailureText(const std::u16string& path, bool english)
{
    return (english ? u"Cannot save the file:\n" : u"No se puede guardar el archivo:\n") + path;
}

void ReportWriteFailure(const std::u16string& path)
{
    const std::u16string text = WriteFailureText(path, g_languageEnglish != 0);
    if (!CollectedOnThisThread(text)) ShowMessage(text);
}
