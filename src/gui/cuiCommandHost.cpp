#include "gui/cuiCommandHost.h"

#include "app/indEnviron.h"
#include "cells/cmcCellNumber.h"
#include "core/cmcTextTables.h"
#include "gui/cuiCloneCommands.h"

#include <QClipboard>
#include <QGuiApplication>

cuiCommandHost::cuiCommandHost(indEnviron& env, const cuiCloneCommands* clone, Run run)
    : m_env(env), m_clone(clone), m_run(std::move(run)) {}

void cuiCommandHost::RunCommand(int32_t cell, int32_t parameter, const std::string& argument) {
    if (m_run)
        m_run(cell, parameter, argument);
}

bool cuiCommandHost::IsChecked(int32_t cell, int32_t parameter) {
    switch (cell) {
    case CL_Menu_Port_Com:
        return m_env.comPort == parameter;
    case CL_Menu_Port_Usb:
        return m_env.comPort > 4;
    case CL_Menu_Port_SpeedHigh:
        return m_env.comSpeedHigh == parameter;
    case CL_Menu_View_ToolBar:
        return m_env.toolbarVisible != 0;
    case CL_Menu_View_FontSize:
        return m_env.fontSizePercentage == parameter;
    case CL_Menu_Clone_Write:
        return parameter == 1 && m_env.backupBeforeWrite != 0; // back up the radio before writing
    case CL_Model_Lmr:
    case CL_Model_Pmr:
        return m_modelType == (cell == CL_Model_Pmr ? 1 : 0);
    default:
        return false;
    }
}

bool cuiCommandHost::IsDisabled(int32_t cell, int32_t) {
    // One clone at a time; the port may not change under a running one.
    const bool busy = m_clone && m_clone->IsBusy();
    switch (cell) {
    case CL_Menu_Clone_Read:
    case CL_Menu_Clone_Write:
    case CL_Menu_Clone_Info:
    case CL_Menu_Port_Com:
    case CL_Menu_Port_Usb:
    case CL_Menu_Port_ComList0:
    case CL_Menu_Port_ComList1:
    case CL_Menu_Port_ComList2:
    case CL_Menu_Port_SpeedHigh:
        return busy;
    case CL_Menu_File_Print_Current:
    case CL_Menu_File_Print_All:
        return busy || (printDisabled && printDisabled(cell));
    default:
        return false;
    }
}

std::vector<uint8_t> cuiCommandHost::CloneInfo() {
    return m_clone ? m_clone->InfoBytes() : std::vector<uint8_t>();
}

std::string cuiCommandHost::RecentFile(int32_t n) {
    return m_env.recent.DisplayText(n, m_env.currentDirectory);
}

void cuiCommandHost::CopyText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void cuiCommandHost::OpenHelp(int32_t) {
    if (openHelp)
        openHelp();
}

int32_t cuiCommandHost::LanguageCount() {
    return tables ? tables->LanguageCount() : 0;
}

std::string cuiCommandHost::LanguageName(int32_t index) {
    return tables ? tables->LanguageName(index) : std::string();
}

int32_t cuiCommandHost::Language() {
    return m_env.language;
}

void cuiCommandHost::SetLanguage(int32_t index) {
    if (setLanguage)
        setLanguage(index);
}

bool cuiCommandHost::RunRowCommand(const RowCommand& command, cmcCellCapsule& capsule) {
    return runRow && runRow(command, capsule);
}
