#pragma once
// What the desktop program answers the cell handler about command cells: runs them through the main
// window, and reports their check marks (port, speed, toolbar, model type), disabled states (clone and
// port commands while a clone runs, print commands with nothing to print) and the recent files.
#include "model/indCellHost.h"

#include <functional>
#include <vector>

class cmcTextTables;
class indEnviron;
class cuiCloneCommands;

class cuiCommandHost : public indCellHost {
public:
    using Run = std::function<void(int32_t cell, int32_t parameter, const std::string& argument)>;

    // clone may be null (no clone command is then disabled).
    cuiCommandHost(indEnviron& env, const cuiCloneCommands* clone, Run run);

    void RunCommand(int32_t cell, int32_t parameter, const std::string& argument) override;
    bool IsChecked(int32_t cell, int32_t parameter) override;
    bool IsDisabled(int32_t cell, int32_t parameter) override;
    std::string RecentFile(int32_t n) override;
    std::vector<uint8_t> CloneInfo() override;
    bool RunRowCommand(const RowCommand& command, cmcCellCapsule& capsule) override;
    void CopyText(const std::string& text) override;
    void OpenHelp(int32_t context) override;
    int32_t LanguageCount() override;
    std::string LanguageName(int32_t index) override;
    int32_t Language() override;
    void SetLanguage(int32_t index) override;

    void SetModelType(int32_t type) { m_modelType = type; }
    // The language index the language cells list; null: no languages.
    cmcTextTables* tables = nullptr;
    // Takes a language chosen on the language sheet; null: the choice is ignored.
    std::function<void(int32_t index)> setLanguage;
    // Opens the help file (the pop-up menu's Help entry).
    std::function<void()> openHelp;
    // Carries out a row command of the open sheet; false when it does not belong there.
    std::function<bool(const RowCommand& command, cmcCellCapsule& capsule)> runRow;
    // Whether a print command is disabled (nothing to print, or a print runs); null: never.
    std::function<bool(int32_t cell)> printDisabled;

private:
    indEnviron& m_env;
    const cuiCloneCommands* m_clone;
    Run m_run;
    int32_t m_modelType = 0;
};
