// The runs of the schedule's search: stepping through the matches to edit
// them, and tagging or untagging all of them, each under the progress
// window "Searching for Matching Records" whose Cancel stops at once.

#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "runtime/pictures.h"
#include "settings/settings.h"
#include "ui/forms/search_schedule.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/stepped_work.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Schedule;

constexpr const char* kProgressTitle = "Searching for Matching Records";
constexpr const char* kResultTitle = "Begin Search";
// Work of one slice between two looks at the event loop.
constexpr int kSliceMilliseconds = 40;
constexpr int kRecordsPerRead = 25;

// The progress of one search: the share of the file read and the number found.
class SearchProgress {
public:
    SearchProgress(Prompter& prompter, std::int64_t records)
        : progress_(prompter.progress(kProgressTitle, "")), records_(records) {}
    // False once the user cancelled.
    bool show(std::int64_t read, std::int32_t found) {
        const int percent =
            records_ > 0 ? static_cast<int>(std::min<std::int64_t>(read * 100 / records_, 100)) : 0;
        progress_->setText("Records found: " + std::to_string(found));
        progress_->setPercent(percent);
        return !progress_->cancelled();
    }
    bool cancelled() { return progress_->cancelled(); }
    void finish() { progress_->finish(); }

private:
    std::unique_ptr<Progress> progress_;
    std::int64_t records_;
};

// Runs `work` (false once done) a time slice per step of the event loop,
// showing progress after each; false when cancelled.
bool runSliced(SearchProgress& progress, const std::function<bool()>& work,
               const std::function<std::pair<std::int64_t, std::int32_t>()>& state) {
    bool cancelled = false;
    runSteps([&] {
        // Cancel pressed between two slices stops before the next one.
        if (progress.cancelled()) {
            cancelled = true;
            return false;
        }
        QElapsedTimer slice;
        slice.start();
        bool more = true;
        while (more && slice.elapsed() < kSliceMilliseconds) more = work();
        const auto [read, found] = state();
        if (!progress.show(read, found)) cancelled = true;
        return more && !cancelled;
    });
    if (!cancelled) progress.finish();
    return !cancelled;
}

std::int64_t recordsOf(Prompter& prompter) {
    auto table = ownTable(Schedule::schema(), prompter);
    return std::max<std::int64_t>(table->records(), 0);
}

// The task found, with "&Edit This", "&Find Next" and "&Cancel".
class MatchWindow final : public QDialog {
public:
    enum Choice { EditThis = 1, FindNext = 2 };
    explicit MatchWindow(QWidget* parent) : QDialog(parent) {
        setWindowTitle(QStringLiteral("Matching Task"));
        auto* form = new QFormLayout(this);
        for (const char* label : {"Date:", "Time:", "Category:", "Description:"}) {
            auto* value = new QLabel(this);
            value->setAccessibleName(QString::fromLatin1(label).remove(':'));
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            form->addRow(QString::fromLatin1(label), value);
            values_.push_back(value);
        }
        auto* buttons = new QDialogButtonBox(this);
        struct Button {
            const char* text;
            int result;
        };
        for (const Button b :
             {Button{"&Edit This", EditThis}, Button{"&Find Next", FindNext}, Button{"&Cancel", 0}}) {
            QPushButton* button =
                buttons->addButton(QString::fromLatin1(b.text), QDialogButtonBox::ActionRole);
            button->setAccessibleName(button->text().remove('&'));
            connect(button, &QPushButton::clicked, this, [this, result = b.result] { done(result); });
        }
        form->addRow(buttons);
    }
    void showTask(const Schedule& task) {
        values_[0]->setText(qs(formatDate(task.DATE, settings::settings().DateFormat)).trimmed());
        values_[1]->setText(qs(formatTime(task.TIME, "@t3")).trimmed());
        values_[2]->setText(qs(task.CATEGORY));
        values_[3]->setText(qs(task.DESCRIPTION));
    }

private:
    std::vector<QLabel*> values_;
};

}  // namespace

void SearchSchedule::editMatches(const data::Query& query, int key) {
    auto like = ownTable(Schedule::schema(), services_.prompter);
    data::QueryScan scan(services_.prompter, *like, key, query);
    std::int32_t found = 0;
    MatchWindow window(this);
    for (;;) {
        SearchProgress progress(services_.prompter, recordsOf(services_.prompter));
        bool matched = false;
        if (!runSliced(
                progress,
                [&] {
                    const data::QueryScan::Step step = scan.next(kRecordsPerRead);
                    matched = step == data::QueryScan::Step::Matched;
                    return step == data::QueryScan::Step::Going;
                },
                [&] {
                    return std::pair{scan.read(), found + (matched ? 1 : 0)};
                }))
            return;
        if (!matched) {
            services_.prompter.message(
                kResultTitle,
                found == 0 ? "There are no matching records!" : "There are no more matching records!",
                Icon::Information, kOk, kOk);
            return;
        }
        ++found;
        // The form works on a copy: the scan reads on in its own buffer.
        Schedule task = *static_cast<const Schedule*>(scan.record());
        window.showTask(task);
        int choice = window.exec();
        while (choice == MatchWindow::EditThis) {
            // The window shows the task as saved.
            if (updateSchedule(this, services_, ScheduleRequest::Change, &task)) {
                like->rec<Schedule>().ID = task.ID;
                if (like->get(data::keys::Schedule::KEYID) == store::kNoError) task = like->rec<Schedule>();
                window.showTask(task);
            }
            choice = window.exec();
        }
        if (choice != MatchWindow::FindNext) return;
    }
}

bool SearchSchedule::tagMatches(const data::Query& query, int key, bool select) {
    Prompter& prompter = services_.prompter;
    if (select && countTagsInSteps(prompter, data::kScheduleTags) > 0) {
        const int answer = prompter.message(kResultTitle, "Clear old selections first?", Icon::Question,
                                            kYes | kNo | kCancel, kYes);
        if (answer == kCancel) return false;
        if (answer == kYes) clearTagsInSteps(prompter, data::kScheduleTags);
    }
    auto like = ownTable(Schedule::schema(), prompter);
    data::QueryTagging tagging(prompter, *like, key, query, data::kScheduleTags, "SCH:ID", select);
    SearchProgress progress(prompter, recordsOf(prompter));
    const bool completed = runSliced(
        progress, [&] { return tagging.step(); },
        [&] {
            return std::pair{tagging.read(), tagging.matched()};
        });
    // Tasks tagged before a Cancel stay tagged: they are what "Selected" shows.
    if (tagging.matched() > 0) selectionChanged_ = true;
    if (tagging.matched() == 0 && completed)
        prompter.message(kResultTitle, "There are no matching records!", Icon::Information, kOk, kOk);
    return tagging.matched() > 0;
}

}  // namespace plorix::ui
