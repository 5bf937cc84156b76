#pragma once
// The language window: the languages of the language index, the one in use marked; OK with another
// language chooses it.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

class cuiLanguageDialog : public QDialog {
    Q_OBJECT
public:
    cuiLanguageDialog(QWidget* parent, const QString& title, const std::vector<std::string>& names,
                      int current);
    // The language chosen (the current one until the user picks another).
    int Chosen() const;
    QListWidget* List() { return m_list; }

private:
    QListWidget* m_list = nullptr;
};
