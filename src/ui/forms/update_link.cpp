#include "ui/forms/update_link.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/contact_rules.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/schedule.h"
#include "data/warnings.h"
#include "runtime/pictures.h"
#include "settings/settings.h"
#include "ui/kit/browse_window.h"
#include "ui/pickers/select_schedule.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Link;

constexpr std::string_view kTimePicture = "@t3";

QLineEdit* shownText(const QString& name, QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setReadOnly(true);
    line->setAccessibleName(name);
    return line;
}

}  // namespace

TaskTexts taskTexts(std::int32_t id, Prompter& prompter) {
    data::TableUse use(data::processTable<data::Schedule>(), prompter);
    auto& task = use->rec<data::Schedule>();
    task.ID = id;
    if (id == 0 || use->get(data::keys::Schedule::KEYID) != store::kNoError) return {};
    return {qs(formatDate(task.DATE, settings::settings().DateFormat)).trimmed(),
            qs(formatTime(task.TIME, kTimePicture)).trimmed(), qs(task.DESCRIPTION.str())};
}

UpdateLink::UpdateLink(store::Table& links, data::FormAction action, Prompter& prompter, QWidget* parent)
    : UpdateForm(links, action, qs(data::formCaption(action, data::linkForm())), "UpdateLink", prompter,
                 parent, QStringLiteral("Update the Link File")) {
    setRules(&data::linkForm());
    auto* form = new QFormLayout;
    date_ = shownText(QStringLiteral("Date"), this);
    time_ = shownText(QStringLiteral("Time"), this);
    description_ = shownText(QStringLiteral("Description"), this);
    description_->setMinimumWidth(description_->fontMetrics().averageCharWidth() * 40);
    form->addRow(QStringLiteral("Date:"), date_);
    form->addRow(QStringLiteral("Time:"), time_);
    auto* label = new QLabel(QStringLiteral("&Description:"), this);
    label->setBuddy(description_);
    form->addRow(label, description_);
    auto* choose = new QPushButton(QStringLiteral("&Relate Task to Contact"), this);
    choose->setAccessibleName(QStringLiteral("Relate Task to Contact"));
    choose->setToolTip(QStringLiteral("Choose the task this contact is related to"));
    connect(choose, &QPushButton::clicked, this, [this] {
        if (const auto id = selectSchedule(this->prompter(), this)) relate(*id);
    });
    form->addRow(QString(), choose);
    body().addLayout(form);
    showRecord();
    showTask();
}

void UpdateLink::relate(std::int32_t id) {
    link().ID = id;
    showTask();
}

void UpdateLink::showTask() {
    const TaskTexts texts = taskTexts(link().ID, prompter());
    date_->setText(texts.date);
    time_->setText(texts.time);
    description_->setText(texts.description);
}

bool UpdateLink::prepareSave() {
    if (link().ID != 0) return true;
    prompter().message("Required Field", "Choose the task with \"Relate Task to Contact\" first.",
                       Icon::Warning, kOk, kOk);
    return false;
}

int UpdateLink::save() {
    if (unchanged()) return data::kWritten;
    return data::saveRecord(table(), prompter(), action(), original(), data::linkForm(), true);
}

bool updateLink(data::FormAction action, std::int64_t position, std::int32_t clientId, Prompter& prompter,
                QWidget* parent) {
    auto links = ownTable(Link::schema(), prompter);
    if (action == data::FormAction::Adding) {
        store::clearRecord(Link::schema(), links->buffer());
        links->rec<Link>().CLIENTID = clientId;
    } else if (links->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, "Link");
        return false;
    }
    UpdateLink form(*links, action, prompter, parent);
    return form.exec() == QDialog::Accepted;
}

}  // namespace plorix::ui
