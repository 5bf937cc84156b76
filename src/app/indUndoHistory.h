#pragma once
// The edit history of the working image: the steps the user's actions made, each kept as the byte
// ranges it changed (the bytes before and after), so that undo and redo restore every image exactly.
// It is bounded (the oldest steps go first) and knows the step at which the data was last saved, so
// that whether the data is unsaved follows undo and redo.
#include "core/cmcEeprom.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class indUndoHistory {
public:
    static constexpr size_t kDefaultSteps = 200;
    // The bytes all steps may hold together; a step alone may hold more (it is the one to undo).
    static constexpr size_t kDefaultBytes = size_t(32) << 20;

    explicit indUndoHistory(size_t maxSteps = kDefaultSteps, size_t maxBytes = kDefaultBytes);

    // A new history on image: nothing to undo or redo. saved: image is what the data file holds (the
    // saved point); else the data counts as unsaved until it is saved.
    void Clear(const cmcEeprom& image, bool saved);

    // One user action took the data from before to after. Nothing is recorded when they are equal.
    // A change that reached before without being recorded (before is not State()) becomes a step of
    // its own, with an empty label, so that undo still returns to every image the data had. The steps
    // that could be redone are dropped. Returns whether a step was recorded.
    bool Record(const cmcEeprom& before, const cmcEeprom& after, std::string label);

    bool CanUndo() const { return m_pos > 0; }
    bool CanRedo() const { return m_pos < m_steps.size(); }
    // The labels of the step Undo and Redo would take back or make again; "" when there is none.
    const std::string& UndoLabel() const;
    const std::string& RedoLabel() const;
    // One step back or forward: the image the data becomes (State()); null when there is no step.
    const cmcEeprom* Undo();
    const cmcEeprom* Redo();
    // The image at the present step: what the data is when every change has been recorded.
    const cmcEeprom& State() const { return m_state; }

    // The data was saved as image. Saving may bring the data into its stored form: such a difference
    // becomes part of the present step (no step of its own), and steps to redo are then dropped.
    void MarkSaved(const cmcEeprom& image);
    // Whether the present step is not the saved one (also when the saved one was dropped).
    bool Unsaved() const { return !m_saved || *m_saved != m_pos; }

    size_t UndoCount() const { return m_pos; }
    size_t RedoCount() const { return m_steps.size() - m_pos; }

private:
    // A run of changed bytes: their values before and after the step.
    struct Range {
        int32_t offset = 0;
        std::vector<uint8_t> before;
        std::vector<uint8_t> after;
    };
    struct Step {
        std::string label;
        std::vector<Range> ranges;
        size_t bytes = 0;
    };

    static Step Diff(const cmcEeprom& from, const cmcEeprom& to, std::string label);
    static void Apply(cmcEeprom& image, const Step& step, bool forward);
    void Push(Step step);
    void DropRedo();

    size_t m_maxSteps;
    size_t m_maxBytes;
    cmcEeprom m_state;
    std::deque<Step> m_steps;
    size_t m_pos = 0;              // steps applied: m_steps[m_pos - 1] is the one to undo
    std::optional<size_t> m_saved; // the position of the saved data; none when it is out of reach
    size_t m_bytes = 0;            // bytes held by all steps
};
