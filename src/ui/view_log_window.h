#pragma once
// VIEWLOG: the event log's lines in a list, read in steps with a progress
// window so the frame keeps ticking, searchable up and down with
// wrap-around, printable. Opened from the frame's menu.

#include <QWidget>
#include <memory>
#include <string>

#include "log/event_log.h"
#include "log/log_reader.h"
#include "ui/qt_prompter.h"

class QLineEdit;
class QListView;
class QRadioButton;
class QTimer;

namespace plorix::ui {

class LogRowsModel;

class ViewLog final : public QWidget {
    Q_OBJECT
public:
    // Messages go to `prompter`, or to dialogs of the window's own when it
    // is null. Reading starts once control returns to the event loop.
    explicit ViewLog(Prompter* prompter = nullptr, std::string fileName = std::string(log::kLogFile),
                     QWidget* parent = nullptr);
    ~ViewLog() override;

    const std::vector<std::string>& rows() const { return reader_.rows(); }
    bool loading() const { return !reader_.finished(); }
    // The selected row, -1 when none.
    int currentRow() const;
    void setCurrentRow(int row);

    // Finds `text` from the selected row in the given direction and selects
    // the row found; false when there is none (or the user declined to wrap).
    bool find(const QString& text, log::SearchDirection direction);
    // Asks for a printer and prints every line.
    void print();

private:
    void startReading();
    void readStep();
    void findFromBar();

    QtPrompter ownPrompter_;
    Prompter& prompter_;
    log::LogReader reader_;
    LogRowsModel* model_ = nullptr;
    QListView* list_ = nullptr;
    QLineEdit* findText_ = nullptr;
    QRadioButton* up_ = nullptr;
    QTimer* stepTimer_ = nullptr;
};

// VIEWLOG as the frame opens it: a window of its own, deleted when closed.
ViewLog* openViewLog(QWidget* parent = nullptr);

}  // namespace plorix::ui
