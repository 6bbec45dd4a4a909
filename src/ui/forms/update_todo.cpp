#include "ui/forms/update_todo.h"

#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/field_choices.h"
#include "data/open_routine.h"
#include "data/tables/categories.h"
#include "data/tables/todo.h"
#include "data/warnings.h"
#include "settings/settings.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Todo;

constexpr auto kLowestPriority = data::kTodoPriority.least;
constexpr auto kHighestPriority = data::kTodoPriority.most;

const data::FormRules& todoRules() {
    static const data::FormRules rules{"To Do Item", {}, {}};
    return rules;
}

void addRow(QFormLayout& form, FieldEditor* editor) {
    if (editor->kind() == EditorKind::Check) {
        form.addRow(editor);
        return;
    }
    auto* label = new QLabel(editor->label(), form.parentWidget());
    label->setBuddy(editor->control());
    form.addRow(label, editor);
}

}  // namespace

UpdateTodo::UpdateTodo(store::Table& todo, data::FormAction action, const Clock& clock, Prompter& prompter,
                       QWidget* parent)
    : UpdateForm(todo, action, qs(data::formCaption(action, todoRules())), "UpdateTodo", prompter, parent),
      clock_(clock) {
    setRules(&todoRules());
    auto* tabs = new QTabWidget(this);
    body().addWidget(tabs);
    auto* general = new QWidget(tabs);
    tabs->addTab(general, QStringLiteral("General"));
    auto* form = new QFormLayout(general);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const std::pair<std::string_view, std::pair<EditorKind, const char*>> fields[] = {
        {"TDO:TODO", {EditorKind::Text, "&To Do:"}},
        {"TDO:PRIORITY", {EditorKind::Number, "&Priority:"}},
        {"TDO:CATEGORY", {EditorKind::DropList, "&Category:"}},
        {"TDO:DONE", {EditorKind::Check, "&Done"}},
        {"TDO:COMPLETIONDATE", {EditorKind::Date, "Completion Date:"}},
        {"TDO:COMPLETIONTIME", {EditorKind::Time, "Completion Time:"}}};
    for (const auto& [field, how] : fields)
        addRow(*form, binder().bind(field, how.first, qs(how.second), general));
    for (const auto& [field, title] :
         {std::pair{"TDO:NOTES", "Notes"}, std::pair{"TDO:RESOLUTION", "Resolution"}}) {
        auto* page = new QWidget(tabs);
        tabs->addTab(page, qs(title));
        (new QVBoxLayout(page))->addWidget(binder().bind(field, EditorKind::Memo, qs(title), page));
    }

    // Room for most of an item's text without scrolling in the field.
    QWidget* text = binder().editor("TDO:TODO")->control();
    text->setMinimumWidth(text->fontMetrics().averageCharWidth() * 50);

    auto& item = table().rec<Todo>();
    wasDone_ = item.DONE != 0;
    // The categories in their order; the item's own stays offered even when
    // it was removed from the list, so a change never drops it unasked.
    QStringList categories{QString()};
    auto list = ownTable(data::Categories::schema(), this->prompter());
    list->setStart(0);
    while (list->next() == store::kNoError) categories << qs(list->rec<data::Categories>().CATEGORY);
    if (list->errorCode() != store::kRecordNotAvailable)
        data::standardWarning(this->prompter(), data::Warning::RecordRetrievalError, "Categories");
    if (!categories.contains(qs(item.CATEGORY), Qt::CaseInsensitive)) categories << qs(item.CATEGORY);
    binder().editor("TDO:CATEGORY")->setChoices(categories);
    connect(binder().editor("TDO:DONE"), &FieldEditor::accepted, this, &UpdateTodo::doneToggled);
    showRecord();
}

void UpdateTodo::doneToggled() {
    if (wasDone_ || binder().editor("TDO:DONE")->text() != QStringLiteral("1")) return;
    Todo stamped;
    const Moment now = clock_.current();
    stamped.COMPLETIONDATE = now.date;
    stamped.COMPLETIONTIME = now.time;
    binder().editor("TDO:COMPLETIONDATE")->load(&stamped);
    binder().editor("TDO:COMPLETIONTIME")->load(&stamped);
}

bool UpdateTodo::prepareSave() {
    FieldEditor* priority = binder().editor("TDO:PRIORITY");
    const int value = priority->text().trimmed().toInt();
    if (value < kLowestPriority || value > kHighestPriority) {
        data::standardWarning(prompter(), data::Warning::RangeError, "TDO:Priority", "1 and 10");
        priority->control()->setFocus();
        return false;
    }
    auto& item = table().rec<Todo>();
    const Moment now = clock_.current();
    item.NETWORKUSER = settings::networkUserName();
    item.LASTCHANGEDATE = now.date;
    item.LASTCHANGETIME = now.time;
    // Counted before the add, so the first item of an empty list keeps 0
    // until it is saved again.
    if (item.ORIGINALID == 0)
        item.ORIGINALID = static_cast<std::int32_t>(std::max<std::int64_t>(0, table().records()));
    return true;
}

int UpdateTodo::save() {
    if (unchanged()) return data::kWritten;  // closes as saved, with nothing written
    return data::saveRecord(table(), prompter(), action(), original(), todoRules(), true);
}

bool updateTodo(data::FormAction action, std::int64_t position, const QString& category, const Clock& clock,
                Prompter& prompter, QWidget* parent) {
    auto todo = ownTable(Todo::schema(), prompter);
    if (action == data::FormAction::Adding) {
        store::clearRecord(Todo::schema(), todo->buffer());
        auto& item = todo->rec<Todo>();
        item.PRIORITY = 5;
        item.CATEGORY = category.toStdString();
    } else if (todo->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, "Todo");
        return false;
    }
    UpdateTodo form(*todo, action, clock, prompter, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace plorix::ui
