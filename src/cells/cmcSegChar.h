#pragma once
// The segment geometry of the radio's display characters, read from the overlay section
// GI_PCG_Seg_Data: each line one segment, "count|(x,y)(x,y)(x,y)|..." with count triangles; a negative
// count marks a fixed segment (always lit, never switched). A character pattern holds one bit per
// switchable segment, the first segment in the highest bit.
#include "cells/cmcTextCodecs.h"

#include <cstdint>
#include <string_view>
#include <vector>

class cmcGTex;

class cmcSegChar {
public:
    static constexpr std::string_view kSection = "GI_PCG_Seg_Data";

    // The geometry of the section; empty when the overlay has none.
    static cmcSegChar FromTexts(cmcGTex& texts);
    // One segment line; false when it is not of the form above.
    static bool ParseSegment(std::string_view line, cmcTextCodecs::Segment& segment);
    // Whether (x, y) lies in the triangle (on its edge counts).
    static bool InTriangle(double x, double y, const std::array<cmcCanvas::Point, 3>& t);

    const std::vector<cmcTextCodecs::Segment>& Segments() const { return m_segments; }
    bool Empty() const { return m_segments.empty(); }
    int32_t MinX() const { return m_minX; }
    int32_t MaxX() const { return m_maxX; }
    int32_t MinY() const { return m_minY; }
    int32_t MaxY() const { return m_maxY; }

    // The bit of a pattern that holds segment i.
    uint32_t BitOf(size_t i) const;
    // The first switchable segment containing (x, y), or -1.
    int32_t SegmentAt(double x, double y) const;

private:
    std::vector<cmcTextCodecs::Segment> m_segments;
    int32_t m_minX = 0, m_maxX = 0, m_minY = 0, m_maxY = 0;
};
