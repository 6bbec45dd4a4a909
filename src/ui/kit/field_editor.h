#pragma once
// One field of a record in a form: a control that fits the field's kind,
// showing the value through its picture and reading typed text back. Text
// that does not fit (a date that does not exist, a number too large) is
// refused: a beep, and the control is selected again.

#include <QWidget>
#include <string>

#include "store/schema.h"

class QAbstractButton;
class QButtonGroup;
class QLineEdit;

namespace plorix::ui {

enum class EditorKind {
    Text,      // a line
    Number,    // a whole number
    Date,      // through the DateFormat picture, with a "..." calendar button
    Time,      // through a time picture ("@t3" unless set)
    Check,     // 0 or 1; the label is the check box's own text
    Option,    // radio buttons that store their own text; the label titles the group
    DropList,  // one of a list of texts (a blank first entry when the field may stay blank)
    Memo,      // several lines
};

class FieldEditor final : public QWidget {
    Q_OBJECT
public:
    FieldEditor(EditorKind kind, const store::FieldDesc& field, const QString& label,
                QWidget* parent = nullptr);

    EditorKind kind() const { return kind_; }
    const store::FieldDesc& field() const { return *field_; }
    const QString& label() const { return label_; }
    // The control that takes the focus and the label's buddy.
    QWidget* control() const { return control_; }
    // The text shown (a check shows "1" or "0").
    QString text() const;
    void setText(const QString& text);

    void setChoices(const QStringList& choices);  // Option and DropList
    void setPicture(std::string picture) { picture_ = std::move(picture); }
    // The radio of a choice, to show or hide it alone.
    QAbstractButton* choice(const QString& text) const;

    void load(const void* record);
    // Stores the shown value into the record; false (and the control
    // selected again) when it cannot be read.
    bool store(void* record);
    bool readable() const;
    void refuse();

signals:
    // The user has changed the value and left it readable.
    void accepted();
    // The user is typing: the text may not be readable yet.
    void edited();
    void calendarRequested();

private:
    QString picture() const;

    EditorKind kind_;
    const store::FieldDesc* field_;
    QString label_;
    std::string picture_;
    QWidget* control_ = nullptr;
    QLineEdit* line_ = nullptr;
    QButtonGroup* group_ = nullptr;
    // What load() showed, and the value behind it: a picture may show less
    // than the field holds (seconds), which an untouched field keeps.
    QString loadedText_;
    std::int64_t loadedValue_ = 0;
};

}  // namespace plorix::ui
