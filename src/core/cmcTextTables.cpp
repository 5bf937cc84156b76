#include "core/cmcTextTables.h"

#include "core/cmcText.h"

std::string cmcTextTables::AppPath(std::string_view name) const {
    std::string path = m_appDir;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    return path;
}

int cmcTextTables::Load(const std::string& appDir, int language) {
    m_appDir = appDir;
    m_languages.OpenFile(AppPath(std::string(kModelId) + ".OVL"));
    return OpenLanguage(language);
}

int cmcTextTables::OpenLanguage(int language) {
    if (language < 0 || language >= LanguageCount())
        language = 0;
    // A language line without a file name leaves the folder itself as the name, which fails at the
    // first lookup with the key that was asked for.
    std::string file =
        cmcText::FieldOf(m_languages.GetLine("GI_Sys_Language", language), '\t', 1).value_or("");
    m_text.OpenFile(AppPath(file));
    m_help.OpenFile(AppPath(m_text.GetText("GI_Sys_MyHelpOvl")));
    return language;
}

std::string cmcTextTables::LanguageName(int index) {
    return cmcText::FieldOf(m_languages.GetLine("GI_Sys_Language", index), '\t', 0).value_or("");
}
