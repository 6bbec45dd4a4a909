#include "ui/view_log_window.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/view_log_print.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

// The reader's rows as a list model; rows only ever grow, at the end.
class LogRowsModel final : public QAbstractListModel {
public:
    LogRowsModel(const std::vector<std::string>& rows, QObject* parent)
        : QAbstractListModel(parent), rows_(rows) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
        return QString::fromStdString(rows_[static_cast<std::size_t>(index.row())]);
    }
    // Shows the rows read since the last call.
    void catchUp() {
        const int total = static_cast<int>(rows_.size());
        if (total == shown_) return;
        beginInsertRows({}, shown_, total - 1);
        shown_ = total;
        endInsertRows();
    }

private:
    const std::vector<std::string>& rows_;
    int shown_ = 0;
};

namespace {
constexpr std::string_view kPositionSection = "ViewLog";
}

ViewLog::ViewLog(Prompter* prompter, std::string fileName, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ownPrompter_(this),
      prompter_(prompter ? *prompter : ownPrompter_),
      reader_(prompter_, std::move(fileName)) {
    setWindowTitle(tr("Event Log"));

    model_ = new LogRowsModel(reader_.rows(), this);
    list_ = new QListView(this);
    list_->setModel(model_);
    list_->setUniformItemSizes(true);
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);

    findText_ = new QLineEdit(this);
    findText_->setObjectName("FindText");
    auto* findLabel = new QLabel(tr("&Find:"), this);
    findLabel->setBuddy(findText_);
    auto* down = new QRadioButton(tr("&Down"), this);
    up_ = new QRadioButton(tr("&Up"), this);
    down->setChecked(true);
    auto* findButton = new QPushButton(tr("Find &Next"), this);
    auto* printButton = new QPushButton(tr("&Print..."), this);
    auto* closeButton = new QPushButton(tr("&Close"), this);
    connect(findButton, &QPushButton::clicked, this, &ViewLog::findFromBar);
    connect(findText_, &QLineEdit::returnPressed, this, &ViewLog::findFromBar);
    connect(printButton, &QPushButton::clicked, this, &ViewLog::print);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* focusFind = new QShortcut(QKeySequence::Find, this);
    connect(focusFind, &QShortcut::activated, findText_, [this] { findText_->setFocus(); });

    auto* bar = new QHBoxLayout;
    bar->addWidget(findLabel);
    bar->addWidget(findText_, 1);
    bar->addWidget(down);
    bar->addWidget(up_);
    bar->addWidget(findButton);
    bar->addSpacing(12);
    bar->addWidget(printButton);
    bar->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(bar);
    resize(760, 480);

    stepTimer_ = new QTimer(this);
    stepTimer_->setInterval(0);
    stepTimer_->setSingleShot(true);
    connect(stepTimer_, &QTimer::timeout, this, &ViewLog::readStep);

    rememberPosition(*this, std::string(kPositionSection));
    QTimer::singleShot(0, this, &ViewLog::startReading);
}

ViewLog::~ViewLog() = default;

void ViewLog::startReading() {
    if (reader_.start()) stepTimer_->start();
}

// One step per timer event. The timer is single-shot and restarted only
// after the step: a step may show a question whose own event loop would
// otherwise run the next step inside this one.
void ViewLog::readStep() {
    const bool more = reader_.step();
    model_->catchUp();
    if (more) stepTimer_->start();
}

int ViewLog::currentRow() const {
    const QModelIndex index = list_->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void ViewLog::setCurrentRow(int row) { list_->setCurrentIndex(model_->index(row)); }

bool ViewLog::find(const QString& text, log::SearchDirection direction) {
    const int row = log::findRow(rows(), text.toStdString(), currentRow(), direction, prompter_);
    if (row < 0) return false;
    setCurrentRow(row);
    list_->scrollTo(model_->index(row));
    return true;
}

void ViewLog::findFromBar() {
    if (findText_->text().isEmpty()) return;
    if (!find(findText_->text(), up_->isChecked() ? log::SearchDirection::Up : log::SearchDirection::Down))
        QApplication::beep();
}

void ViewLog::print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printRows(rows(), printer);
}

ViewLog* openViewLog(QWidget* parent) {
    auto* window = new ViewLog(nullptr, std::string(log::kLogFile), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

}  // namespace plorix::ui
