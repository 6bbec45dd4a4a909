#include "ui/browses/browse_schedule.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>

#include "data/numbering.h"
#include "data/schedule_search.h"
#include "runtime/pictures.h"
#include "scheduler/quick_start.h"
#include "script/script_items.h"
#include "settings/settings.h"
#include "ui/calendar/calendar.h"
#include "ui/forms/schedule_wizard.h"
#include "ui/forms/search_schedule.h"
#include "ui/kit/record_table_model.h"
#include "ui/pickers/select_categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Schedule;
namespace keys = data::keys;

BrowseSpec scheduleSpec() {
    const settings::Settings& s = settings::settings();
    static const std::string title =
        s.MultiUser && !s.UserID.empty() ? "View Schedule - " + s.UserID : std::string("View Schedule");
    return {.schema = &Schedule::schema(),
            .title = title,
            .section = "BrowseSchedule",
            .tabs = {{"Day Schedule", keys::Schedule::KEYDATE},
                     {"All by Date", keys::Schedule::KEYDATE},
                     {"All by Category", keys::Schedule::KEYCATEGORY},
                     {"Selected", keys::Schedule::KEYDATE}},
            .columns = {{"", "", "", 3},
                        {"SCH:DATE", "", "Date", 12},
                        {"SCH:TIME", "@t3", "Time", 8},
                        {"SCH:CATEGORY", "", "Category", 14},
                        {"SCH:DESCRIPTION", "", "Description", 30},
                        {"SCH:TASKTYPE", "", "Task Type", 14},
                        {"SCH:SCHEDULETYPE", "", "Schedule Type", 14}},
            .emptyText = "There are no tasks to show here."};
}

constexpr int kIconColumn = 0;
constexpr int kDateColumn = 1;
constexpr int kTimeColumn = 2;

// The status and its icon, first that applies.
struct Status {
    const char* text;
    QStyle::StandardPixmap icon;
};
Status statusFor(const Schedule& e) {
    if (e.COMPLETED) return {"Done", QStyle::SP_DialogApplyButton};
    if (e.SKIPNEXTTIME) return {"Skip next time", QStyle::SP_MediaSkipForward};
    if (e.DISABLED) return {"Disabled", QStyle::SP_DialogCancelButton};
    return {"Not done", QStyle::SP_MediaPlay};
}

// The tasks a search tagged.
std::shared_ptr<const std::unordered_set<std::int32_t>> taggedTasks(Prompter& prompter) {
    auto tasks = std::make_shared<std::unordered_set<std::int32_t>>();
    data::TableUse use(data::tagFile(), prompter, data::tagFileOptions());
    for (auto id = data::firstTag(prompter, data::kScheduleTags); id != 0;
         id = data::nextTag(prompter, data::kScheduleTags))
        tasks->insert(id);
    return tasks;
}

}  // namespace

BrowseSchedule::BrowseSchedule(const ScheduleServices& services, scheduler::BrowseRegistry* browses,
                               QWidget* parent)
    : BrowseWindow(scheduleSpec(), services.prompter, parent), services_(services), browses_(browses) {
    today_ = services_.clock.current().date;
    activeOnly_ = settings::settings().ActiveOnly;
    model().setDecoration([this](const void* r, int c, int role) { return decorate(r, c, role); });

    auto* pickDay = new QPushButton(QStringLiteral("&Pick Day"), this);
    pickDay->setToolTip(QStringLiteral("Select a day for which to view tasks"));
    dayLabel_ = new QLabel(this);
    auto* pickCategory = new QPushButton(QStringLiteral("&Pick Category"), this);
    pickCategory->setToolTip(QStringLiteral("Select a category for which to view tasks"));
    categoryLabel_ = new QLabel(QStringLiteral("(every category)"), this);
    activeBox_ = new QCheckBox(QStringLiteral("Show Active Only"), this);
    activeBox_->setChecked(activeOnly_);
    auto* search = new QPushButton(QStringLiteral("Search"), this);
    search->setToolTip(QStringLiteral("Select criteria for schedule view"));
    for (auto* b : {pickDay, pickCategory, search}) b->setAccessibleName(b->text().remove('&'));
    dayLabel_->setAccessibleName(QStringLiteral("Selected day"));
    categoryLabel_->setAccessibleName(QStringLiteral("Selected category"));
    connect(pickDay, &QPushButton::clicked, this, &BrowseSchedule::pickDay);
    connect(pickCategory, &QPushButton::clicked, this, &BrowseSchedule::pickCategory);
    connect(search, &QPushButton::clicked, this, &BrowseSchedule::search);
    connect(activeBox_, &QCheckBox::toggled, this, &BrowseSchedule::setActiveOnly);
    for (QWidget* w :
         std::initializer_list<QWidget*>{pickDay, dayLabel_, pickCategory, categoryLabel_, activeBox_})
        controlRow().addWidget(w);
    controlRow().addStretch();
    controlRow().addWidget(search);
    setSelectedDay(today_, false);

    auto chosen = [this] { return hasSelection(); };
    const auto always = std::function<bool()>();
    setActions({.add = [this] { return request(ScheduleRequest::Add, nullptr); },
                .edit =
                    [this](const void* r) {
                        return request(ScheduleRequest::Change, static_cast<const Schedule*>(r));
                    },
                .remove =
                    [this](const void* r) {
                        return request(ScheduleRequest::Delete, static_cast<const Schedule*>(r));
                    }});
    auto copy = [this] {
        if (request(ScheduleRequest::Add, selectedEntry())) refresh();
    };
    auto runs = [this] { return hasSelection() && bool(services_.runNow); };
    auto reschedule = [this] {
        if (rescheduleEntry(this, services_, *selectedEntry())) refresh();
    };
    setButtons({{"&Add", "Add a new task (tabbed)", [this] { insertRecord(); }, always},
                {"Cop&y", "Copy the highlighted task to a new task", copy, chosen},
                {"&Edit", "Edit the highlighted task", [this] { changeRecord(); }, chosen},
                {"&Delete", "Delete the highlighted task", [this] { deleteRecord(); }, chosen},
                {"Reschedule", "Rescheduling Wizard - ideal for holidays, and temporary changes", reschedule,
                 chosen},
                {"Run Now", "Run the highlighted task", [this] { runNow(); }, runs}});
    setMenu({{"&Add", "", [this] { insertRecord(); }, always},
             {"&Edit", "", [this] { changeRecord(); }, chosen},
             {"&Delete", "", [this] { deleteRecord(); }, chosen},
             {"Cop&y", "", copy, chosen},
             {"Reschedule", "", reschedule, chosen},
             {"Run Now", "", [this] { runNow(); }, runs},
             {"Quick Start", "", [this] { quickStartMenu(); }, chosen},
             {"&Scripting", "", [this] { services_.scripting(this, selectedEntry()->ID); },
              [this] { return hasSelection() && bool(services_.scripting); }},
             {"-", "", {}, {}},
             {"Show Active Only", "", [this] { setActiveOnly(true); }, [this] { return !activeOnly_; }},
             {"Show All", "", [this] { setActiveOnly(false); }, [this] { return activeOnly_; }}});

    if (browses_) registration_ = browses_->add([this] { refresh(); });
    connect(&midnight_, &QTimer::timeout, this, &BrowseSchedule::checkMidnight);
    midnight_.start(1000);
    start();
}

BrowseSchedule::~BrowseSchedule() {
    if (browses_) browses_->remove(registration_);
}

void BrowseSchedule::preparePage(int tab) {
    page().setKey(declaration().tabs[static_cast<std::size_t>(tab)].key);
    Schedule range;
    range.DATE = day_;
    range.CATEGORY = category_.toStdString();
    // Until a category is picked the tab lists every category, located by name.
    const bool ranged = tab == DayTab || (tab == CategoryTab && !category_.isEmpty());
    page().setRange(ranged ? &range : nullptr, ranged ? 1 : 0);
    if (tab == SelectedTab) selected_ = taggedTasks(services_.prompter);
    const auto selected = tab == SelectedTab ? selected_ : nullptr;
    const bool activeOnly = activeOnly_;
    if (activeOnly || selected)
        page().setFilter([activeOnly, selected](const void* r) {
            const auto* e = static_cast<const Schedule*>(r);
            if (activeOnly && (e->DISABLED || e->COMPLETED)) return false;
            return !selected || selected->contains(e->ID);
        });
    else
        page().setFilter({});
}

QString BrowseSchedule::statusOf(const Schedule& entry) { return QString::fromLatin1(statusFor(entry).text); }

QVariant BrowseSchedule::decorate(const void* record, int column, int role) const {
    const auto& e = *static_cast<const Schedule*>(record);
    if (column == kIconColumn) {
        if (role == Qt::DecorationRole) return style()->standardIcon(statusFor(e).icon);
        if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole) return statusOf(e);
    }
    if (role == Qt::ForegroundRole && (column == kDateColumn || column == kTimeColumn)) {
        if (e.DISABLED) return QColor(128, 128, 128);
        if (e.SKIPNEXTTIME) return QColor(0, 0, 255);
    }
    return {};
}

void BrowseSchedule::setSelectedDay(Date day, bool shortPicture) {
    day_ = day;
    const std::string picture = shortPicture ? "d3" : settings::settings().DateFormat;
    dayLabel_->setText(qs(formatDate(day, picture)).trimmed());
    if (tab() == DayTab) setTab(DayTab);
}

void BrowseSchedule::setCategory(const QString& category) {
    category_ = category;
    categoryLabel_->setText(category);
    setTab(CategoryTab);
}

void BrowseSchedule::setActiveOnly(bool on) {
    activeOnly_ = on;
    const QSignalBlocker block(activeBox_);
    activeBox_->setChecked(on);
    setTab(tab());
}

bool BrowseSchedule::request(ScheduleRequest request, const Schedule* entry) {
    return updateSchedule(this, services_, request, entry, day_);
}

void BrowseSchedule::pickDay() {
    const Date day = ui::pickDate(this, services_.prompter, services_.clock, {.start = day_});
    setSelectedDay(day, true);
    setTab(DayTab);
}

void BrowseSchedule::pickCategory() {
    if (auto category = selectCategory(services_.prompter, this)) setCategory(*category);
}

void BrowseSchedule::search() {
    if (searchSchedule(services_, this)) setTab(SelectedTab);
}

void BrowseSchedule::runNow() {
    if (const Schedule* e = selectedEntry(); e && services_.runNow) services_.runNow(Schedule(*e));
}

void BrowseSchedule::quickStartMenu() {
    QMenu menu(this);
    for (const scheduler::QuickStartDelay& delay : scheduler::quickStartDelays())
        connect(menu.addAction(qs(delay.text)), &QAction::triggered, this,
                [this, &delay] { quickStart(delay.hundredths); });
    menu.addSeparator();
    menu.addAction(QStringLiteral("Cancel"));
    menu.exec(QCursor::pos());
}

void BrowseSchedule::quickStart(std::int64_t delay) {
    const Schedule* selectedOne = selectedEntry();
    if (!selectedOne) return;
    const Schedule copy = scheduler::quickStartCopy(*selectedOne, services_.clock.current(), delay);
    auto table = ownTable(Schedule::schema(), services_.prompter);
    const std::int32_t id = data::addNumbered(*table, services_.prompter, [&copy](void* record) {
        const std::int32_t keep = static_cast<Schedule*>(record)->ID;
        *static_cast<Schedule*>(record) = copy;
        static_cast<Schedule*>(record)->ID = keep;
    });
    if (id == 0) return;
    script::copyScript(copy.ID, id, services_.prompter);
    refresh();
}

void BrowseSchedule::checkMidnight() {
    const Date today = services_.clock.current().date;
    if (today == today_) return;
    const bool followed = day_ == today_;
    today_ = today;
    if (followed) setSelectedDay(today, true);
}

BrowseSchedule* openBrowseSchedule(const ScheduleServices& services, scheduler::BrowseRegistry* browses,
                                   QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseSchedule>(parent)) return open;
    auto* window = new BrowseSchedule(services, browses, parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
