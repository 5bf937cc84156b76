#pragma once
// The find and replace window: the text to find, the text that replaces it, whole cell or a part of
// it, all sheets or the open one, and the buttons Find next (the default: Enter), Replace, Replace all
// and Close (Escape). It stays open beside the window; the commands behind the buttons do the work.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class cuiFindDialog : public QDialog {
    Q_OBJECT
public:
    // texts: the window title, the field and button captions (the lines of GI_Find_Dialog).
    cuiFindDialog(QWidget* parent, const std::vector<std::string>& texts);

    // The captions again (another language).
    void SetTexts(const std::vector<std::string>& texts);

    std::function<void()> onFindNext;
    std::function<void()> onReplace;
    std::function<void()> onReplaceAll;

    std::string FindText() const;
    std::string ReplaceText() const;
    bool WholeCell() const;
    bool AllSheets() const;
    // Shows the window with the focus in the find field, or in the replace field, text selected.
    void Present(bool replace);

    QLineEdit* FindField() { return m_find; }
    QLineEdit* ReplaceField() { return m_replace; }
    QCheckBox* WholeBox() { return m_whole; }
    QRadioButton* AllButton() { return m_all; }
    QRadioButton* ThisButton() { return m_this; }
    QPushButton* FindButton() { return m_next; }
    QPushButton* ReplaceButton() { return m_replaceOne; }
    QPushButton* ReplaceAllButton() { return m_replaceAll; }

private:
    QLabel* m_findLabel = nullptr;
    QLabel* m_withLabel = nullptr;
    QPushButton* m_close = nullptr;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replace = nullptr;
    QCheckBox* m_whole = nullptr;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_this = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_replaceOne = nullptr;
    QPushButton* m_replaceAll = nullptr;
};
