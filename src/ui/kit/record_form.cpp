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

bool runForm(const RecordFormSpec& declaration, store::Table& table, data::FormAction action,
             Prompter& prompter, QWidget* parent) {
    UpdateForm form(table, action, qs(data::formCaption(action, *declaration.rules)),
                    std::string(declaration.section), prompter, parent, qs(declaration.title));
    auto* fields = new QFormLayout;
    for (const FormField& f : declaration.fields) {
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
    form.setRules(declaration.rules);
    form.setSkipUnchanged(declaration.skipUnchanged);
    form.showRecord();
    return form.exec() == QDialog::Accepted;
}

}  // namespace

bool addRecord(const RecordFormSpec& declaration, Prompter& prompter, QWidget* parent,
               const std::function<void(void*)>& prime) {
    auto table = ownTable(*declaration.schema, prompter);
    store::clearRecord(*declaration.schema, table->buffer());
    if (prime) prime(table->buffer());
    return runForm(declaration, *table, data::FormAction::Adding, prompter, parent);
}

bool changeRecordAt(const RecordFormSpec& declaration, std::int64_t position, Prompter& prompter,
                    QWidget* parent) {
    auto table = ownTable(*declaration.schema, prompter);
    if (table->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, declaration.schema->label);
        return false;
    }
    return runForm(declaration, *table, data::FormAction::Changing, prompter, parent);
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

BrowseActions formActions(const RecordFormSpec& declaration, BrowseWindow& browse) {
    return {.add = [declaration, &browse] { return addRecord(declaration, browse.prompter(), &browse); },
            .edit =
                [declaration, &browse](const void*) {
                    return changeRecordAt(declaration, browse.selectedPosition(), browse.prompter(), &browse);
                },
            .remove =
                [declaration, &browse](const void*) {
                    return deleteRecordAt(*declaration.schema, browse.selectedPosition(), browse.prompter());
                }};
}

std::vector<BrowseButton> standardButtons(BrowseWindow& browse) {
    auto chosen = [&browse] { return browse.hasSelection(); };
    return {{"&Add", "Add a new record", [&browse] { browse.insertRecord(); }, {}},
            {"&Edit", "Edit the highlighted record", [&browse] { browse.changeRecord(); }, chosen},
            {"&Delete", "Delete the highlighted record", [&browse] { browse.deleteRecord(); }, chosen}};
}

}  // namespace plorix::ui
