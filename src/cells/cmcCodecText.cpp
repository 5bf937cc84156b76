#include "cells/cmcCodecText.h"

#include "core/cmcText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string cmcCodecText::Reduce(std::string_view text, std::string_view allowed, size_t maxLength) {
    std::string out;
    for (char c : text) {
        if (out.size() >= maxLength)
            break;
        if (allowed.find(c) != std::string_view::npos)
            out.push_back(c);
    }
    return out;
}

std::string_view cmcCodecText::Trim(std::string_view text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string cmcCodecText::Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

double cmcCodecText::ReadDecimal(std::string_view text) {
    // strtod needs a terminated text; typed numbers are short, so a bounded copy suffices.
    char buffer[64];
    size_t n = text.size() < sizeof buffer - 1 ? text.size() : sizeof buffer - 1;
    text.copy(buffer, n);
    buffer[n] = 0;
    double value = std::strtod(buffer, nullptr);
    return std::isfinite(value) ? value : 0.0;
}

bool cmcCodecText::HasDigit(std::string_view text) {
    for (char c : text)
        if (IsDigit(c))
            return true;
    return false;
}

bool cmcCodecText::IsHexDigit(int key) {
    return HexValue(key) >= 0;
}

int cmcCodecText::HexValue(int c) {
    if (c < 0 || c > 127) // key codes beyond the characters
        return -1;
    const std::optional<uint8_t> value = cmcText::HexDigitValue(static_cast<char>(c));
    return value ? *value : -1;
}

int64_t cmcCodecText::RoundHalfAway(double value) {
    if (value >= 9.2e18)
        return INT64_MAX;
    if (value <= -9.2e18)
        return INT64_MIN;
    return static_cast<int64_t>(std::round(value));
}

int64_t cmcCodecText::RoundToStep(int64_t value, int64_t step) {
    if (step <= 1)
        return value;
    int64_t q = value / step;
    int64_t r = value % step;
    if (2 * (r < 0 ? -r : r) >= step)
        q += value < 0 ? -1 : 1;
    return q * step;
}

int64_t cmcCodecText::TruncToStep(int64_t value, int64_t step) {
    if (step <= 1)
        return value;
    return value / step * step;
}

std::string_view cmcCodecText::FormatInt(char (&buffer)[16], int64_t value) {
    int n = std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return std::string_view(buffer, n < 0 ? 0 : static_cast<size_t>(n));
}

std::string cmcCodecText::Fill(std::string_view format, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(format.size());
    for (size_t i = 0; i < format.size(); ++i) {
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (format[i] == '%' && next == '%') {
            out += '%';
            ++i;
        } else if (format[i] == '%' && next >= '1' && next <= '9' && size_t(next - '1') < values.size()) {
            out += values.begin()[next - '1'];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}
