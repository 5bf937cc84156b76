#include "app/indUndoHistory.h"

#include <algorithm>
#include <utility>

namespace {

// Equal bytes between two changes that still join them into one range: fewer ranges, less overhead.
constexpr int32_t kJoinGap = 16;
// What a range costs beyond its bytes.
constexpr size_t kRangeOverhead = sizeof(int32_t) + 2 * sizeof(std::vector<uint8_t>);

const std::string kNoLabel;

} // namespace

indUndoHistory::indUndoHistory(size_t maxSteps, size_t maxBytes)
    : m_maxSteps(std::max<size_t>(maxSteps, 1)), m_maxBytes(maxBytes) {}

void indUndoHistory::Clear(const cmcEeprom& image, bool saved) {
    m_state = image;
    m_steps.clear();
    m_pos = 0;
    m_bytes = 0;
    m_saved = saved ? std::optional<size_t>(0) : std::nullopt;
}

indUndoHistory::Step indUndoHistory::Diff(const cmcEeprom& from, const cmcEeprom& to, std::string label) {
    Step step;
    step.label = std::move(label);
    const int32_t size = from.GetSize();
    const uint8_t* a = from.Data();
    const uint8_t* b = to.Data();
    int32_t i = 0;
    while (i < size) {
        if (a[i] == b[i]) {
            ++i;
            continue;
        }
        const int32_t first = i;
        int32_t end = i + 1; // one past the last changed byte of the run
        for (int32_t j = end; j < size && j - end < kJoinGap; ++j)
            if (a[j] != b[j])
                end = j + 1;
        Range range;
        range.offset = first;
        range.before.assign(a + first, a + end);
        range.after.assign(b + first, b + end);
        step.bytes += 2 * static_cast<size_t>(end - first) + kRangeOverhead;
        step.ranges.push_back(std::move(range));
        i = end;
    }
    return step;
}

void indUndoHistory::Apply(cmcEeprom& image, const Step& step, bool forward) {
    for (const Range& range : step.ranges) {
        const std::vector<uint8_t>& bytes = forward ? range.after : range.before;
        image.WriteBlock(range.offset, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
}

void indUndoHistory::DropRedo() {
    while (m_steps.size() > m_pos) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (m_saved && *m_saved > m_pos)
        m_saved.reset(); // the saved data was one of the steps dropped
}

void indUndoHistory::Push(Step step) {
    DropRedo();
    m_bytes += step.bytes;
    m_steps.push_back(std::move(step));
    ++m_pos;
    // The oldest steps go; the newest always stays, however large.
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || m_bytes > m_maxBytes)) {
        m_bytes -= m_steps.front().bytes;
        m_steps.pop_front();
        --m_pos;
        if (m_saved && *m_saved == 0)
            m_saved.reset();
        else if (m_saved)
            --*m_saved;
    }
}

bool indUndoHistory::Record(const cmcEeprom& before, const cmcEeprom& after, std::string label) {
    // Images of another size have no byte ranges in common with the history's: it starts again.
    if (before.GetSize() != m_state.GetSize() || after.GetSize() != m_state.GetSize()) {
        Clear(after, false);
        return false;
    }
    bool recorded = false;
    if (!(before == m_state)) {
        Push(Diff(m_state, before, std::string()));
        m_state = before;
        recorded = true;
    }
    if (!(after == before)) {
        Push(Diff(before, after, std::move(label)));
        m_state = after;
        recorded = true;
    }
    return recorded;
}

const std::string& indUndoHistory::UndoLabel() const {
    return CanUndo() ? m_steps[m_pos - 1].label : kNoLabel;
}

const std::string& indUndoHistory::RedoLabel() const {
    return CanRedo() ? m_steps[m_pos].label : kNoLabel;
}

const cmcEeprom* indUndoHistory::Undo() {
    if (!CanUndo())
        return nullptr;
    --m_pos;
    Apply(m_state, m_steps[m_pos], false);
    return &m_state;
}

const cmcEeprom* indUndoHistory::Redo() {
    if (!CanRedo())
        return nullptr;
    Apply(m_state, m_steps[m_pos], true);
    ++m_pos;
    return &m_state;
}

void indUndoHistory::MarkSaved(const cmcEeprom& image) {
    if (image.GetSize() != m_state.GetSize()) {
        Clear(image, true);
        return;
    }
    if (!(image == m_state)) {
        // The steps to redo start from the image before saving: they no longer fit.
        DropRedo();
        if (m_pos > 0) {
            Step& last = m_steps[m_pos - 1];
            cmcEeprom previous = m_state;
            Apply(previous, last, false);
            Step folded = Diff(previous, image, std::move(last.label));
            m_bytes = m_bytes - last.bytes + folded.bytes;
            last = std::move(folded);
            if (last.ranges.empty()) {
                // Saving undid the last step's change: there is nothing left to undo in it.
                m_bytes -= last.bytes;
                m_steps.pop_back();
                --m_pos;
            }
        }
        m_state = image;
    }
    m_saved = m_pos;
}
