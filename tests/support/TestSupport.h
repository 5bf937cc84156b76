#pragma once
// Helpers shared by the tests: catching fatal errors, answering message boxes from a script, and
// temporary folders that clean up after themselves.
#include "core/cmcFatal.h"
#include "core/cmcMessageBox.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

// Thrown by the fatal handler that FatalCatcher installs.
struct FatalError : std::runtime_error {
    explicit FatalError(const std::string& text) : std::runtime_error(text) {}
};

// While alive, fatal errors throw FatalError instead of ending the test program.
class FatalCatcher {
public:
    FatalCatcher();
    ~FatalCatcher();
    FatalCatcher(const FatalCatcher&) = delete;
    FatalCatcher& operator=(const FatalCatcher&) = delete;

private:
    cmcFatalHandler m_previous;
};

// Runs fn and returns the fatal error text it raised, or "" when it returned normally.
template <class Fn> std::string FatalText(Fn&& fn) {
    FatalCatcher catcher;
    try {
        fn();
    } catch (const FatalError& e) {
        return e.what();
    }
    return {};
}

// Records every box and answers from a queue (Ok/Yes when the queue is empty).
class ScriptedMessageBox : public cmcMessageBox {
public:
    struct Shown {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
    };
    std::deque<Answer> answers;
    std::vector<Shown> shown;

    Answer Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
};

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Whole-file helpers for fixtures.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
