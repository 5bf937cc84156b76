#pragma once
// An owner-drawn panel of the main window's status bar: its text in its own text and background
// colours (system colours allowed), left-aligned or centred, vertically centred, without a bevel.
#include <QWidget>
#include <cstdint>

class cuiStatusPanel : public QWidget {
    Q_OBJECT
public:
    explicit cuiStatusPanel(QWidget* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return m_text; }
    // Colours as the radio logic gives them: 0x00BBGGRR or a system colour (bit 31 set).
    void SetColors(uint32_t text, uint32_t background);
    uint32_t TextColor() const { return m_textColor; }
    uint32_t BackColor() const { return m_backColor; }
    void SetCentred(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    uint32_t m_textColor = 0x80000008u; // clWindowText
    uint32_t m_backColor = 0x8000000Fu; // clBtnFace
    bool m_centred = false;
};
