#pragma once
// The main window the widget tests drive: the initial LMR data, settings in memory, a scripted message
// box, file dialogs that cancel unless a test scripts them, and the Qt loop the clone commands run on.
#include "app/indEnviron.h"
#include "core/cmcAppDir.h"
#include "core/cmcEvMan.h"
#include "core/cmcMemorySettings.h"
#include "core/cmcTextTables.h"
#include "gui/cuiMain.h"
#include "platform/cuiQtLoop.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

struct MainWindowFixture : testing::Test {
    cmcMemorySettings store;
    indEnviron env{store, nullptr, 1024, 768};
    cmcTextTables tables;
    cuiQtLoop loop;
    cmcEvMan events{loop};
    ScriptedMessageBox box;
    std::unique_ptr<cuiMain> window;

    // The services every test window gets; a fixture adds its own before StartWindow.
    cuiMain::Services WindowServices() {
        env.modelType = 0;
        tables.Load(cmcAppDir(), 0);
        cuiMain::Services s;
        s.env = &env;
        s.tables = &tables;
        s.events = &events;
        s.box = &box;
        s.loop = &loop;
        s.askPath = [](bool, const std::string&, const std::string&) { return std::string(); };
        return s;
    }
    void StartWindow(const cuiMain::Services& s) {
        window = std::make_unique<cuiMain>(s);
        window->Start();
        window->show();
    }
    // Closing the window answers No to a question about unsaved changes.
    void TearDown() override {
        box.answers.push_back(cmcMessageBox::Answer::No);
        window.reset();
    }
};
