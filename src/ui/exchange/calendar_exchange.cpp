#include "ui/exchange/calendar_exchange.h"

#include <QFileDialog>
#include <QObject>

#include "ical/ics_files.h"
#include "runtime/clock.h"

namespace plorix::ui {
namespace {

constexpr const char* kFilter = "Calendar files (*.ics *.ICS);;All Files (*)";
// Lines of a report shown in the message; the rest are counted.
constexpr std::size_t kMostLines = 20;

std::string listed(const std::vector<std::string>& notes) {
    std::string text;
    for (std::size_t i = 0; i < notes.size() && i < kMostLines; ++i) text += "\n" + notes[i];
    if (notes.size() > kMostLines) text += "\n... and " + std::to_string(notes.size() - kMostLines) + " more";
    return text;
}

void report(Prompter& prompter, const char* title, const ical::IcsResult& result, const std::string& done,
            const std::string& heading) {
    if (result.status != ical::IcsStatus::Done) {
        prompter.message(title, result.error, Icon::Warning, kOk, kOk);
        return;
    }
    const std::string text = done + (result.notes.empty() ? "" : "\n\n" + heading + listed(result.notes));
    prompter.message(title, text, Icon::Information, kOk, kOk);
}

}  // namespace

void exportCalendar(Prompter& prompter, QWidget* parent) {
    const QString file = QFileDialog::getSaveFileName(parent, QObject::tr("Export Calendar"), QString(),
                                                      QString::fromUtf8(kFilter));
    if (!file.isEmpty()) exportCalendarTo(file.toStdString(), prompter);
}

void importCalendar(Prompter& prompter, QWidget* parent) {
    const QString file = QFileDialog::getOpenFileName(parent, QObject::tr("Import Calendar"), QString(),
                                                      QString::fromUtf8(kFilter));
    if (!file.isEmpty()) importCalendarFrom(file.toStdString(), prompter);
}

void exportCalendarTo(const std::string& file, Prompter& prompter) {
    const auto result = ical::exportIcs(file, prompter, processClock().current());
    report(prompter, "Export Calendar", result, std::to_string(result.written) + " events exported.",
           "Written as their runs of the coming year, since no calendar rule means the same:");
}

void importCalendarFrom(const std::string& file, Prompter& prompter) {
    const auto result = ical::importIcs(file, prompter, processClock().current());
    report(prompter, "Import Calendar", result,
           std::to_string(result.written) + " tasks and to-do items imported.", "What became of each:");
}

}  // namespace plorix::ui
