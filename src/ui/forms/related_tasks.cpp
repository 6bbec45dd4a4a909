#include "ui/forms/related_tasks.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data/cascade.h"
#include "data/cascade_relations.h"
#include "data/tables/link.h"
#include "data/warnings.h"
#include "ui/forms/update_link.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/record_form.h"

namespace plorix::ui {

using data::Link;

RelatedTasks::RelatedTasks(std::int32_t clientId, Prompter& prompter, QWidget* parent)
    : QWidget(parent), clientId_(clientId), prompter_(prompter) {
    auto* layout = new QVBoxLayout(this);
    empty_ =
        new QLabel(QStringLiteral("No tasks are related to this contact. Press Insert to relate one."), this);
    layout->addWidget(empty_);
    list_ = new QTreeWidget(this);
    list_->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time"), QStringLiteral("Description")});
    list_->setRootIsDecorated(false);
    list_->setAccessibleName(QStringLiteral("Related Tasks"));
    const int charWidth = fontMetrics().averageCharWidth();
    list_->setColumnWidth(0, charWidth * 16);
    list_->setColumnWidth(1, charWidth * 10);
    layout->addWidget(list_, 1);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &RelatedTasks::editLink);
    connect(list_, &QTreeWidget::currentItemChanged, this, &RelatedTasks::updateButtons);

    auto* buttons = new QHBoxLayout;
    const struct {
        const char* text;
        const char* tip;
        void (RelatedTasks::*run)();
        bool needsSelection;
    } kButtons[] = {
        {"&Insert", "Relate another task to this contact", &RelatedTasks::insertLink, false},
        {"&Edit", "Relate the highlighted row to another task", &RelatedTasks::editLink, true},
        {"&Delete", "Remove the highlighted task from this contact", &RelatedTasks::deleteLink, true}};
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text), this);
        button->setToolTip(QString::fromUtf8(b.tip));
        button->setAccessibleName(QString::fromUtf8(b.text).remove('&'));
        // Enter in the form is its OK.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.run);
        if (b.needsSelection) needSelection_.push_back(button);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    reload();
}

void RelatedTasks::reload() {
    list_->clear();
    positions_.clear();
    auto links = ownTable(Link::schema(), prompter_);
    data::setKeyToLowest(Link::schema(), data::keys::Link::KEYCLIENT, links->buffer());
    links->rec<Link>().CLIENTID = clientId_;
    links->setAt(data::keys::Link::KEYCLIENT);
    while (links->next() == store::kNoError && links->rec<Link>().CLIENTID == clientId_) {
        const TaskTexts task = taskTexts(links->rec<Link>().ID, prompter_);
        list_->addTopLevelItem(new QTreeWidgetItem({task.date, task.time, task.description}));
        positions_.push_back(links->position());
    }
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    empty_->setVisible(positions_.empty());
    updateButtons();
}

std::int64_t RelatedTasks::selectedPosition() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 ? positions_[static_cast<std::size_t>(row)] : 0;
}

void RelatedTasks::updateButtons() {
    for (QPushButton* button : needSelection_) button->setEnabled(selectedPosition() != 0);
}

void RelatedTasks::insertLink() {
    if (updateLink(data::FormAction::Adding, 0, clientId_, prompter_, this)) reload();
}

void RelatedTasks::editLink() {
    if (const std::int64_t at = selectedPosition();
        at && updateLink(data::FormAction::Changing, at, clientId_, prompter_, this))
        reload();
}

void RelatedTasks::deleteLink() {
    if (const std::int64_t at = selectedPosition(); at && deleteRecordAt(Link::schema(), at, prompter_))
        reload();
}

}  // namespace plorix::ui
