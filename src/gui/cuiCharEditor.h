#pragma once
// The character editor of a user-defined display character: its segments drawn large, each switched
// on and off by a click, or from the keyboard (arrows choose a segment, space switches it). OK or
// Enter answers the pattern in decimal; Cancel or Escape drops it. The rest of the program waits
// while it is open.
#include "cells/cmcCellCapsule.h"
#include "cells/cmcSegChar.h"

#include <QDialog>
#include <QPainterPath>
#include <functional>
#include <string>

class QPushButton;
class cmcGTex;

class cuiCharEditor : public QDialog {
    Q_OBJECT
public:
    cuiCharEditor(QWidget* owner, const cmcCellCapsule& opener, cmcGTex* texts, cmcSegChar segments,
                  uint32_t pattern);
    ~cuiCharEditor() override;

    std::function<void(const cmcCellCapsule& opener, const std::string& text)> onAnswer;

    uint32_t Pattern() const { return m_pattern; }
    // Switches segment i when it is switchable.
    void ToggleSegment(int32_t i);
    // The segment the keyboard works on.
    int32_t CurrentSegment() const { return m_current; }
    // Box coordinates of a geometry point and back.
    QPointF ToBox(double x, double y) const;
    QPointF FromBox(double px, double py) const;
    QWidget* Box() const { return m_box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Paint();
    void Step(int dir);
    double Factor() const;
    double Left() const;
    double Top() const;
    QPainterPath Outline(size_t i) const;

    cmcCellCapsule m_opener;
    cmcSegChar m_segments;
    uint32_t m_pattern = 0;
    int32_t m_current = -1;
    QWidget* m_box = nullptr;
};
