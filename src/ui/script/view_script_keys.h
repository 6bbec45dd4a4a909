#pragma once
// VIEWSCRIPTKEYS ("List of Key Abbreviations"): the key names of
// KEYCODES.TXT, searchable, with "&Find..." and "Find Next", printing, and
// "&Insert", which hands the chosen name back to the keystroke field.

#include <QDialog>
#include <QString>
#include <optional>

#include "runtime/prompter.h"

class QLineEdit;
class QListWidget;

namespace plorix::ui {

struct KeyFind {
    QString text;
    bool wholeWord = false;
    bool matchCase = false;
    bool up = false;
};

class ViewScriptKeys final : public QDialog {
    Q_OBJECT
public:
    explicit ViewScriptKeys(Prompter& prompter, QWidget* parent = nullptr);

    QListWidget& list() { return *list_; }
    QLineEdit& search() { return *search_; }
    // The bracketed name of the selected line ("[ENTER]"), "" when the line
    // names no key.
    QString chosenName() const;
    // Selects the next line (after the selected one) that holds the text;
    // false when none does.
    bool find(const KeyFind& request);
    bool findNext() { return find(last_); }

private:
    void load(Prompter& prompter);
    void askFind();
    void filter(const QString& text);
    void print();

    QListWidget* list_ = nullptr;
    QLineEdit* search_ = nullptr;
    KeyFind last_;
};

// Opens the list; the name to insert when the user chose one with "&Insert"
// (or a double-click).
std::optional<QString> viewScriptKeys(Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
