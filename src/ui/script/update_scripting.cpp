#include "ui/script/update_scripting.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/numbering.h"
#include "data/warnings.h"
#include "script/action_help.h"
#include "script/action_names.h"
#include "script/script_items.h"
#include "settings/settings.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Scripting;

const data::FormRules& scriptingRules() {
    static const data::FormRules rules{"Scripting", {}, {}};
    return rules;
}

// The radio of an action stored in either of its spellings.
QString shownAction(const std::string& stored) {
    return stored == script::kDdeLong ? qs(script::kDde) : qs(stored);
}

}  // namespace

UpdateScripting::UpdateScripting(store::Table& items, data::FormAction action,
                                 const ScriptEditorServices& services, QWidget* parent)
    : UpdateForm(items, action,
                 action == data::FormAction::Adding ? QStringLiteral("Adding Scripting")
                                                    : QStringLiteral("Changing Scripting"),
                 "UpdateScripting", services.prompter, parent, QStringLiteral("Update the Scripting File")),
      services_(services) {
    buildFamilies();
    pages_ = new QStackedWidget(this);
    for (const ParameterPage& page : parameterPages())
        pageIndex_[page.name] = pages_->addWidget(buildPage(page));
    body().addWidget(pages_);
    help_ = new QLabel(this);
    help_->setWordWrap(true);
    help_->setFrameShape(QFrame::StyledPanel);
    help_->setMargin(6);
    help_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    help_->setAccessibleName(QStringLiteral("Help"));
    help_->setMinimumHeight(help_->fontMetrics().height() * 6);
    body().addWidget(help_, 1);
    setMinimumWidth(fontMetrics().averageCharWidth() * 90);
    aside_ = table().rec<Scripting>();
    showRecord();
    // A wait that names neither waits for both: the page says so.
    for (FieldEditor* e : editors_.at("Wait"))
        if (e->kind() == EditorKind::Option && e->text().isEmpty())
            e->choice(QStringLiteral("And"))->setChecked(true);
    chooseAction(shownAction(aside_.ACTION.str()));
    showMessage();
}

void UpdateScripting::buildFamilies() {
    families_ = new QTabWidget(this);
    radios_ = new QButtonGroup(this);
    for (const ActionFamily& family : actionFamilies()) {
        auto* tab = new QWidget(families_);
        auto* grid = new QGridLayout(tab);
        int i = 0;
        for (std::string_view action : family.actions) {
            auto* radio = new QRadioButton(qs(action), tab);
            radio->setAccessibleName(qs(action));
            radios_->addButton(radio);
            grid->addWidget(radio, i / 2, i % 2);
            ++i;
        }
        families_->addTab(tab, qs(family.title));
    }
    connect(radios_, &QButtonGroup::buttonClicked, this,
            [this](QAbstractButton* radio) { chooseAction(radio->text()); });
    body().addWidget(families_);
}

void UpdateScripting::chooseAction(const QString& action) {
    action_ = action;
    for (QAbstractButton* radio : radios_->buttons()) {
        if (radio->text() != action) continue;
        radio->setChecked(true);
        families_->setCurrentWidget(radio->parentWidget());
    }
    pages_->setCurrentIndex(pageIndex_[page().name]);
    help_->setText(helpText());
}

QString UpdateScripting::helpText() const { return qs(script::actionHelp(action_.toStdString())); }

const std::vector<FieldEditor*>& UpdateScripting::pageEditors() const { return editors_.at(page().name); }

QLineEdit* UpdateScripting::line(std::string_view field) const {
    for (FieldEditor* e : pageEditors())
        if (e->field().name == field) return qobject_cast<QLineEdit*>(e->control());
    return nullptr;
}

bool UpdateScripting::checkRequired() {
    const Scripting& item = table().rec<Scripting>();
    auto refuse = [this](std::string_view field, std::string_view message) {
        prompter().message("Incomplete Entry", message, Icon::Warning, kOk, kOk);
        for (FieldEditor* e : pageEditors())
            if (e->field().name == field) e->control()->setFocus();
        return false;
    };
    const std::string action = action_.toStdString();
    for (const RequiredField& r : requiredFields()) {
        const int index = Scripting::schema().fieldIndex(r.field);
        const store::FieldDesc& desc = Scripting::schema().fields[static_cast<std::size_t>(index)];
        const bool blank = store::isNumeric(desc.kind) ? store::fieldInt(desc, &item) == 0
                                                       : store::fieldIsBlank(desc, &item);
        if (r.action == action && blank) return refuse(r.field, r.message);
    }
    if (action == script::kWait && item.SECONDSTOWAIT == 0 && item.WAITFORWINDOW.empty())
        return refuse("SCR:SECONDSTOWAIT", "Enter the seconds to wait, a window to wait for, or both.");
    if (item.SECONDSTOWAIT < 0 || item.TIMEELAPSED < 0)
        return refuse(item.SECONDSTOWAIT < 0 ? "SCR:SECONDSTOWAIT" : "SCR:TIMEELAPSED",
                      "Seconds cannot be less than 0.");
    return true;
}

bool UpdateScripting::prepareSave() {
    // An action the radios do not offer is kept as it was; none at all cannot be.
    if (action_.trimmed().isEmpty()) {
        prompter().message("Error", "\"Other\" script item not recorded correctly.  Re-enter.", Icon::Warning,
                           kOk, kOk);
        return false;
    }
    // Only the chosen action's fields change: every page shares the record.
    Scripting& item = table().rec<Scripting>();
    Scripting::schema().assignRecord(original(), &item);
    for (PageButton button : page().buttons)
        for (std::string_view field : dialogFields(button)) {
            const int index = Scripting::schema().fieldIndex(field);
            const store::FieldDesc& desc = Scripting::schema().fields[static_cast<std::size_t>(index)];
            store::fieldFromText(desc, &item, store::fieldToText(desc, &aside_));
        }
    for (FieldEditor* editor : pageEditors())
        if (!editor->store(&item)) return false;
    item.ACTION = action_.toStdString();
    if (!checkRequired()) return false;
    const Moment now = services_.clock.current();
    item.LASTCHANGEDATE = now.date;
    item.LASTCHANGETIME = now.time;
    item.NETWORKUSER = settings::networkUserName();
    if (item.ORIGINALID == 0) item.ORIGINALID = item.ID;
    return true;
}

int UpdateScripting::save() {
    if (unchanged()) return data::kWritten;
    // A new item was stored when the form opened: it is written over.
    return data::saveRecord(table(), prompter(), data::FormAction::Changing, original(), scriptingRules(),
                            true);
}

bool addScriptingItem(const ScriptEditorServices& services, std::int32_t taskId,
                      const data::Scripting* copyOf, QWidget* parent) {
    Prompter& prompter = services.prompter;
    if (taskId == 0) {
        prompter.message("Internal Error", "Unable to attach script to scheduled item.", Icon::Warning, kOk,
                         kOk);
        return false;
    }
    auto table = ownTable(Scripting::schema(), prompter);
    if (!table->isOpen()) return false;
    const std::int32_t sequence = data::addNumbered(
        *table, prompter,
        [copyOf](void* record) {
            if (copyOf) *static_cast<Scripting*>(record) = *copyOf;
            static_cast<Scripting*>(record)->ORIGINALID = 0;
        },
        taskId);
    if (sequence == 0) return false;
    UpdateScripting form(*table, data::FormAction::Adding, services, parent);
    if (form.exec() == QDialog::Accepted) return true;
    // Cancelled: the item stored for the form goes again.
    script::deleteScriptItem(taskId, sequence, prompter);
    return false;
}

bool changeScriptingItem(const ScriptEditorServices& services, std::int64_t position, QWidget* parent) {
    auto table = ownTable(Scripting::schema(), services.prompter);
    if (!table->isOpen()) return false;
    if (table->reget(position) != store::kNoError) {
        data::standardWarning(services.prompter, data::Warning::RecordRetrievalError, "Scripting");
        return false;
    }
    UpdateScripting form(*table, data::FormAction::Changing, services, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace plorix::ui
