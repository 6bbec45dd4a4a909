#pragma once
// The application frame: the program's one top-level window. It holds the
// tables the scheduler needs open for as long as the program runs.

#include <QMainWindow>
#include <vector>

#include "data/open_routine.h"

namespace plorix::app {

class MainFrame final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(Prompter& prompter, QWidget* parent = nullptr);
    ~MainFrame() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Prompter& prompter_;
    std::vector<data::TableUse> tables_;
};

}  // namespace plorix::app
