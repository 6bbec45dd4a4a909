#pragma once
// EXPORTSCHEDULE, EXPORTTODO and EXPORTCONTACTS: the fields of a table
// listed with their pictures, chosen and ordered by the user, then written
// to a comma-separated file with a progress window.

#include <QWidget>

#include "io/export_job.h"
#include "runtime/prompter.h"

class QCheckBox;
class QTreeWidget;

namespace plorix::ui {

class ExportWindow : public QWidget {
public:
    ExportWindow(io::ExchangeTable table, Prompter& prompter, QWidget* parent = nullptr);

    // The plan as the window shows it (fields in list order).
    io::ExportPlan plan() const;
    // Exports into `file` (the file dialog's answer); false when it could not start.
    bool exportTo(const std::string& file);
    bool running() const { return running_; }
    // After the export: how many records were written, and how it ended.
    std::uint64_t written() const { return written_; }
    io::SteppedJob::State outcome() const { return outcome_; }

private:
    void move(int by);
    void setAll(bool selected);
    void changePicture();
    void askFile();

    io::ExchangeTable table_;
    Prompter& prompter_;
    QTreeWidget* fields_ = nullptr;
    QCheckBox* header_ = nullptr;
    bool running_ = false;
    std::uint64_t written_ = 0;
    io::SteppedJob::State outcome_ = io::SteppedJob::State::Ready;
};

// The three windows by their names.
struct ExportSchedule final : ExportWindow {
    explicit ExportSchedule(Prompter& p, QWidget* w = nullptr)
        : ExportWindow(io::ExchangeTable::Schedule, p, w) {}
};
struct ExportTodo final : ExportWindow {
    explicit ExportTodo(Prompter& p, QWidget* w = nullptr) : ExportWindow(io::ExchangeTable::Todo, p, w) {}
};
struct ExportContacts final : ExportWindow {
    explicit ExportContacts(Prompter& p, QWidget* w = nullptr)
        : ExportWindow(io::ExchangeTable::Contact, p, w) {}
};

}  // namespace plorix::ui
