#include "ui/kit/record_binder.h"

#include <QApplication>
#include <stdexcept>
#include <string>

namespace plorix::ui {

FieldEditor* RecordBinder::bind(std::string_view field, EditorKind kind, const QString& label,
                                QWidget* parent) {
    const int index = schema_.fieldIndex(field);
    if (index < 0) throw std::invalid_argument("no field " + std::string(field));
    auto* editor = new FieldEditor(kind, schema_.fields[static_cast<std::size_t>(index)], label, parent);
    editors_.push_back(editor);
    return editor;
}

FieldEditor* RecordBinder::editor(std::string_view field) const {
    const int index = schema_.fieldIndex(field);
    for (FieldEditor* e : editors_)
        if (index >= 0 && &e->field() == &schema_.fields[static_cast<std::size_t>(index)]) return e;
    return nullptr;
}

void RecordBinder::show(const void* record) const {
    for (FieldEditor* e : editors_) e->load(record);
}

FieldEditor* RecordBinder::collect(void* record) const {
    for (FieldEditor* e : editors_)
        if (!e->store(record)) return e;
    return nullptr;
}

void RecordBinder::peek(void* record) const {
    for (FieldEditor* e : editors_)
        if (e->readable()) e->store(record);
}

FieldEditor* RecordBinder::focused() const {
    const QWidget* focus = QApplication::focusWidget();
    for (FieldEditor* e : editors_)
        if (focus && e->isAncestorOf(focus)) return e;
    return nullptr;
}

}  // namespace plorix::ui
