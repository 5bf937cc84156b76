#pragma once
// A print device for tests: paper of a given size and resolution whose canvas measures every
// character as a fixed share of the font height (as the fixed measuring canvas does) and records
// the texts and fills drawn on each page.
#include "cells/cmcCellFont.h"
#include "print/cmcPrintDevice.h"

#include <string>
#include <vector>

class RecordingCanvas : public cmcFontCanvas {
public:
    struct Text {
        int page;
        int32_t x, y;
        std::string text;
    };
    std::vector<Text> texts;
    std::vector<std::pair<int, Rect>> fills;
    int page = -1; // -1 before the document begins: drawing there is a fault

    uint32_t FontColor() const override { return m_fontColor; }
    void SetFontColor(uint32_t color) override { m_fontColor = color; }
    void SetBrushColor(uint32_t color) override { m_brush = color; }
    void SetPen(uint32_t, int32_t) override {}
    void SetBrush(uint32_t color, BrushStyle style) override {
        m_brush = color;
        m_style = style;
    }
    uint32_t BrushColor() const override { return m_brush; }
    BrushStyle GetBrushStyle() const override { return m_style; }
    void TextOut(int32_t x, int32_t y, std::string_view text) override {
        texts.push_back({page, x, y, std::string(text)});
        m_pen = {x + TextWidth(text), y};
    }
    void TextRect(const Rect&, int32_t x, int32_t y, std::string_view text) override { TextOut(x, y, text); }
    void MoveTo(int32_t x, int32_t y) override { m_pen = {x, y}; }
    void LineTo(int32_t x, int32_t y) override { m_pen = {x, y}; }
    Point PenPos() const override { return m_pen; }
    void FillRect(const Rect& rect) override {
        if (m_style == BrushStyle::Solid) {
            fills.push_back({page, rect});
        }
    }
    void Rectangle(const Rect& rect) override { FillRect(rect); }
    void Polygon(std::span<const Point>) override {}
    int32_t LineHeight() const {
        const int32_t h = m_font.height < 0 ? -m_font.height + 2 : m_font.height;
        return h > 0 ? h : 1;
    }
    int32_t CharWidth() const { return std::max(1, (LineHeight() * 6 + 9) / 10); }
    int32_t TextWidth(std::string_view text) const override {
        return static_cast<int32_t>(text.size()) * CharWidth();
    }
    int32_t TextHeight(std::string_view) const override { return LineHeight(); }
    void SetCellFont(const cmcCellFont& font) override {
        m_font = font;
        m_fontColor = font.color;
    }
    uint32_t ResolveColor(uint32_t color) const override {
        return color == 0x80000005u ? 0xFFFFFFu : color == 0x80000008u ? 0u : color;
    }
    // The texts of one page, in drawing order.
    std::vector<std::string> OnPage(int p) const {
        std::vector<std::string> out;
        for (const Text& t : texts) {
            if (t.page == p) {
                out.push_back(t.text);
            }
        }
        return out;
    }

private:
    cmcCellFont m_font;
    uint32_t m_fontColor = 0;
    uint32_t m_brush = 0xFFFFFFu;
    BrushStyle m_style = BrushStyle::Solid;
    Point m_pen;
};

class RecordingDevice : public cmcPrintDevice {
public:
    RecordingDevice(int32_t width, int32_t height, int32_t dpi)
        : m_width(width), m_height(height), m_dpi(dpi) {}
    int32_t PageWidth() const override { return m_width; }
    int32_t PageHeight() const override { return m_height; }
    int32_t DotsPerInch() const override { return m_dpi; }
    bool BeginDocument() override {
        ++begun;
        canvas.page = 0;
        pages = 1;
        return true;
    }
    bool NewPage() override {
        if (failNewPage) {
            return false;
        }
        ++canvas.page;
        ++pages;
        return true;
    }
    bool EndDocument() override {
        ++ended;
        return true;
    }
    cmcFontCanvas& Canvas() override { return canvas; }

    RecordingCanvas canvas;
    int begun = 0;
    int ended = 0;
    int pages = 0;
    bool failNewPage = false;

private:
    int32_t m_width, m_height, m_dpi;
};
