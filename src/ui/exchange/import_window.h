#pragma once
// IMPORTSCHEDULE, IMPORTTODO and IMPORTCONTACTS: the columns of a chosen
// comma-separated file, each assigned to a field (or ignored) with its
// picture, then read into the table with a progress window.

#include <QWidget>

#include "io/import_job.h"
#include "io/import_plan.h"
#include "runtime/prompter.h"

class QCheckBox;
class QTableWidget;

namespace plorix::ui {

class ImportWindow : public QWidget {
public:
    ImportWindow(io::ExchangeTable table, Prompter& prompter, QWidget* parent = nullptr);

    // Asks for the file until one with columns is chosen; false when the
    // user cancels (the window then closes).
    bool chooseFile();
    // Reads the columns of `file`; false (the problem shown) when it has none.
    bool load(const std::string& file);
    io::ImportPlan plan() const;
    // Assigns column `column` (from 0) to the target named `field`; "" ignores it.
    void assign(int column, const QString& field);
    void assignByName();
    // Starts the import; false when it could not start.
    bool startImport();
    bool running() const { return running_; }
    std::uint64_t added() const { return added_; }
    io::SteppedJob::State outcome() const { return outcome_; }

private:
    bool read(const std::string& file, io::ImportProblem& problem);
    void fill();
    void changePicture();

    io::ExchangeTable table_;
    Prompter& prompter_;
    io::ImportPlan plan_;
    QTableWidget* columns_ = nullptr;
    QCheckBox* names_ = nullptr;
    bool running_ = false;
    std::uint64_t added_ = 0;
    io::SteppedJob::State outcome_ = io::SteppedJob::State::Ready;
};

struct ImportSchedule final : ImportWindow {
    explicit ImportSchedule(Prompter& p, QWidget* w = nullptr)
        : ImportWindow(io::ExchangeTable::Schedule, p, w) {}
};
struct ImportTodo final : ImportWindow {
    explicit ImportTodo(Prompter& p, QWidget* w = nullptr) : ImportWindow(io::ExchangeTable::Todo, p, w) {}
};
struct ImportContacts final : ImportWindow {
    explicit ImportContacts(Prompter& p, QWidget* w = nullptr)
        : ImportWindow(io::ExchangeTable::Contact, p, w) {}
};

}  // namespace plorix::ui
