#include "cells/cmcSegChar.h"

#include "core/cmcGTex.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Reads an optionally signed decimal at text[at], moving at past it.
bool ReadInt(std::string_view text, size_t& at, int32_t& value) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    const char* begin = text.data() + at;
    auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc()) {
        return false;
    }
    at += static_cast<size_t>(end - begin);
    return true;
}

bool Expect(std::string_view text, size_t& at, char c) {
    while (at < text.size() && text[at] == ' ') {
        ++at;
    }
    if (at >= text.size() || text[at] != c) {
        return false;
    }
    ++at;
    return true;
}

double Area(double ax, double ay, double bx, double by, double cx, double cy) {
    return std::abs((bx - ax) * (cy - ay) - (cx - ax) * (by - ay)) / 2.0;
}

} // namespace

bool cmcSegChar::ParseSegment(std::string_view line, cmcTextCodecs::Segment& segment) {
    size_t at = 0;
    int32_t count = 0;
    if (!ReadInt(line, at, count) || count == 0) {
        return false;
    }
    segment.fixed = count < 0;
    segment.triangles.clear();
    for (int32_t t = 0; t < std::abs(count); ++t) {
        if (!Expect(line, at, '|')) {
            return false;
        }
        std::array<cmcCanvas::Point, 3> triangle;
        for (cmcCanvas::Point& p : triangle) {
            if (!Expect(line, at, '(') || !ReadInt(line, at, p.x) || !Expect(line, at, ',') ||
                !ReadInt(line, at, p.y) || !Expect(line, at, ')')) {
                return false;
            }
        }
        segment.triangles.push_back(triangle);
    }
    return true;
}

cmcSegChar cmcSegChar::FromTexts(cmcGTex& texts) {
    cmcSegChar set;
    if (!texts.HasKey(kSection)) {
        return set;
    }
    bool first = true;
    // The joined section ends at the section's end or the file's, so a last section without its end
    // mark reads as well.
    const std::string section = texts.GetJoinedText(kSection);
    for (size_t start = 0; start <= section.size();) {
        size_t end = section.find('\n', start);
        if (end == std::string::npos) {
            end = section.size();
        }
        const std::string line = section.substr(start, end - start);
        start = end + 1;
        if (line.rfind("//", 0) == 0 || line == "0" || line.empty()) {
            continue;
        }
        cmcTextCodecs::Segment segment;
        if (!ParseSegment(line, segment)) {
            continue; // a line that names no segment adds none
        }
        for (const auto& t : segment.triangles) {
            for (const cmcCanvas::Point& p : t) {
                set.m_minX = first ? p.x : std::min(set.m_minX, p.x);
                set.m_maxX = first ? p.x : std::max(set.m_maxX, p.x);
                set.m_minY = first ? p.y : std::min(set.m_minY, p.y);
                set.m_maxY = first ? p.y : std::max(set.m_maxY, p.y);
                first = false;
            }
        }
        set.m_segments.push_back(std::move(segment));
    }
    return set;
}

bool cmcSegChar::InTriangle(double x, double y, const std::array<cmcCanvas::Point, 3>& t) {
    const double whole = Area(t[0].x, t[0].y, t[1].x, t[1].y, t[2].x, t[2].y);
    const double parts = Area(x, y, t[0].x, t[0].y, t[1].x, t[1].y) +
                         Area(x, y, t[1].x, t[1].y, t[2].x, t[2].y) +
                         Area(x, y, t[2].x, t[2].y, t[0].x, t[0].y);
    return parts <= whole + 0.01;
}

uint32_t cmcSegChar::BitOf(size_t i) const {
    const size_t n = m_segments.size();
    return i < n && n - 1 - i < 32 ? 1u << (n - 1 - i) : 0u;
}

int32_t cmcSegChar::SegmentAt(double x, double y) const {
    for (size_t i = 0; i < m_segments.size(); ++i) {
        if (m_segments[i].fixed) {
            continue;
        }
        for (const auto& t : m_segments[i].triangles) {
            if (InTriangle(x, y, t)) {
                return static_cast<int32_t>(i);
            }
        }
    }
    return -1;
}
