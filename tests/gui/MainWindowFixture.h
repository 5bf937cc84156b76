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

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// One program session on a settings store that outlives it: a fresh window on the initial data, the
// body, then the window closed (unsaved changes answered No), as a restart would end and begin it.
inline void RunWindowSession(cmcSettingsStore& store,
                             const std::function<void(indEnviron&, cuiMain&)>& body) {
    indEnviron env{store, nullptr, 1024, 768};
    env.modelType = 0;
    cmcTextTables tables;
    tables.Load(cmcAppDir(), 0);
    cuiQtLoop loop;
    cmcEvMan events{loop};
    ScriptedMessageBox box;
    cuiMain::Services s;
    s.env = &env;
    s.tables = &tables;
    s.events = &events;
    s.box = &box;
    s.loop = &loop;
    s.askPath = [](bool, const std::string&, const std::string&) { return std::string(); };
    cuiMain window(s);
    window.Start();
    window.show();
    body(env, window);
    box.answers.push_back(cmcMessageBox::Answer::No);
    window.close();
}

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
