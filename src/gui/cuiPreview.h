#pragma once
// The print preview: a modal window showing every page the printer will print, with page
// navigation, an actual-size zoom, the printer font size setting (which lays the pages out again)
// and the Print button that lets the print go ahead.
#include <QDialog>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QToolButton;
class cmcGTex;

class cuiPreview : public QDialog {
    Q_OBJECT
public:
    enum class Decision { Close, Print };
    enum class Tool { Print, Setting, TopPage, PreviousPage, NextPage, LastPage, Zoom };

    // Draws the whole document into the printer the preview widget hands out.
    using Draw = std::function<void(QPrinter& printer)>;

    // owner: the main window (centred on its screen); printer: the printer the pages are laid out
    // for; fontSize: the printer font size (8..12) the Setting dialog starts from.
    cuiPreview(QWidget* owner, QPrinter& printer, cmcGTex& texts, int fontSize, Draw draw);

    // Lays the pages out now (the window shows them when it runs).
    void Render();
    // Shows the window modally from the first page; Print when the user pressed Print.
    Decision Run();
    Decision GetDecision() const { return m_decision; }

    int PageCount() const;
    // Index of the page shown, from 0.
    int CurrentPage() const;
    // Goes to a page index, kept within the first and the last page.
    void GoToPage(int index);
    bool Zoomed() const;
    int FontSize() const { return m_fontSize; }
    // Sets the printer font size and lays the pages out again from the first page.
    void SetFontSize(int points);
    // The Setting dialog: OK sets the chosen font size.
    void OpenSetting();

    // Called with the new point size when Setting changes it (the program keeps it as its setting).
    std::function<void(int points)> onFontSize;

    QToolButton* Button(Tool tool) const;
    QLineEdit* PageBox() const { return m_pageBox; }
    QLabel* PageLabel() const { return m_pageLabel; }
    QLabel* StatusPanel() const { return m_statusPanel; }
    QPrintPreviewWidget* View() const { return m_view; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateNavigation();
    void GoToTypedPage();
    void SetZoom(bool on);
    // One line of scrolling in the zoomed page; false when not zoomed.
    bool Scroll(int key);
    void FilterKeys(QWidget* widget);

    QPrinter& m_printer;
    cmcGTex& m_texts;
    int m_fontSize;
    Draw m_draw;
    Decision m_decision = Decision::Close;
    QPrintPreviewWidget* m_view = nullptr;
    QToolButton* m_buttons[7] = {};
    QLineEdit* m_pageBox = nullptr;
    QLabel* m_pageLabel = nullptr;
    QLabel* m_statusPanel = nullptr;
};
