#include "ui/kit/record_form.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/cascade.h"
#include "data/warnings.h"
#include "ui/kit/update_form.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

bool runForm(const RecordFormSpec& spec, store::Table& table, data::FormAction action, Prompter& prompter,
             QWidget* parent) {
    UpdateForm form(table, action, qs(data::formCaption(action, *spec.rules)), std::string(spec.section),
                    prompter, parent, qs(spec.title));
    auto* fields = new QFormLayout;
    for (const FormField& f : spec.fields) {
        FieldEditor* editor = form.binder().bind(f.field, f.kind, qs(f.label), &form);
        if (f.kind == EditorKind::Check) {
            fields->addRow(editor);
            continue;
        }
        auto* label = new QLabel(qs(f.label), &form);
        label->setBuddy(editor->control());
        fields->addRow(label, editor);
    }
    form.body().addLayout(fields);
    form.showRecord();
    return form.exec() == QDialog::Accepted;
}

}  // namespace

bool addRecord(const RecordFormSpec& spec, Prompter& prompter, QWidget* parent,
               const std::function<void(void*)>& prime) {
    auto table = ownTable(*spec.schema, prompter);
    store::clearRecord(*spec.schema, table->buffer());
    if (prime) prime(table->buffer());
    return runForm(spec, *table, data::FormAction::Adding, prompter, parent);
}

bool changeRecordAt(const RecordFormSpec& spec, std::int64_t position, Prompter& prompter, QWidget* parent) {
    auto table = ownTable(*spec.schema, prompter);
    if (table->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, spec.schema->label);
        return false;
    }
    return runForm(spec, *table, data::FormAction::Changing, prompter, parent);
}

bool deleteRecordAt(const store::TableSchema& schema, std::int64_t position, Prompter& prompter) {
    auto table = ownTable(schema, prompter);
    if (table->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, schema.label);
        return false;
    }
    if (data::standardWarning(prompter, data::Warning::ConfirmDelete) != kOk) return false;
    return data::deleteRecord(*table, prompter) == data::kDeleted;
}

BrowseActions formActions(const RecordFormSpec& spec, BrowseWindow& browse) {
    return {.add = [spec, &browse] { return addRecord(spec, browse.prompter(), &browse); },
            .edit =
                [spec, &browse](const void*) {
                    return changeRecordAt(spec, browse.selectedPosition(), browse.prompter(), &browse);
                },
            .remove =
                [spec, &browse](const void*) {
                    return deleteRecordAt(*spec.schema, browse.selectedPosition(), browse.prompter());
                }};
}

std::vector<BrowseButton> standardButtons(BrowseWindow& browse) {
    auto chosen = [&browse] { return browse.hasSelection(); };
    return {{"&Add", "Add a new record", [&browse] { browse.insertRecord(); }, {}},
            {"&Edit", "Edit the highlighted record", [&browse] { browse.changeRecord(); }, chosen},
            {"&Delete", "Delete the highlighted record", [&browse] { browse.deleteRecord(); }, chosen}};
}

}  // namespace plorix::ui
