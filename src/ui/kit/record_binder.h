#pragma once
// The editors of one record buffer, bound by field name: made, shown and
// collected together, so a form lists its fields once.

#include <QString>
#include <string_view>
#include <vector>

#include "ui/kit/field_editor.h"

namespace plorix::ui {

class RecordBinder {
public:
    explicit RecordBinder(const store::TableSchema& schema) : schema_(schema) {}

    // Makes the editor of `field` ("SCH:DESCRIPTION"); an unknown name is a
    // programming error (std::invalid_argument).
    FieldEditor* bind(std::string_view field, EditorKind kind, const QString& label, QWidget* parent);
    FieldEditor* editor(std::string_view field) const;
    const std::vector<FieldEditor*>& editors() const { return editors_; }

    void show(const void* record) const;
    // Stores every editor into the record; the first editor that cannot be
    // read is selected again and returned, nullptr when all were stored.
    FieldEditor* collect(void* record) const;
    // Stores what can be read, quietly (a look at the record as it stands).
    void peek(void* record) const;
    // The editor holding the keyboard focus, nullptr when none does.
    FieldEditor* focused() const;

private:
    const store::TableSchema& schema_;
    std::vector<FieldEditor*> editors_;
};

}  // namespace plorix::ui
