#pragma once
// The "Related Tasks" tab of the contact form: the tasks related to the
// contact through the Link table, each with its date, time and
// description, with "&Insert", "&Edit" and "&Delete" through UPDATELINK.
// Links are written at once: the contact's number was reserved when the
// form opened, and a form left unsaved takes its links away with it.

#include <QWidget>
#include <cstdint>
#include <vector>

#include "runtime/prompter.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace plorix::ui {

class RelatedTasks final : public QWidget {
    Q_OBJECT
public:
    RelatedTasks(std::int32_t clientId, Prompter& prompter, QWidget* parent = nullptr);

    QTreeWidget& list() { return *list_; }
    // Reads the links again.
    void reload();
    void insertLink();
    void editLink();
    void deleteLink();

private:
    std::int64_t selectedPosition() const;
    void updateButtons();

    std::int32_t clientId_;
    Prompter& prompter_;
    QTreeWidget* list_ = nullptr;
    QLabel* empty_ = nullptr;
    std::vector<QPushButton*> needSelection_;
    std::vector<std::int64_t> positions_;  // where each row's link is stored
};

}  // namespace plorix::ui
