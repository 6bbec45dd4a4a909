#include "ui/exchange/import_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/exchange_files.h"
#include "ui/exchange/ask_picture.h"
#include "ui/exchange/exchange_texts.h"
#include "ui/exchange/job_runner.h"
#include "ui/exchange/window_parts.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {
enum Column { kName, kSample, kType, kTarget, kColumns };
}

ImportWindow::ImportWindow(io::ExchangeTable table, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), prompter_(prompter) {
    setAttribute(Qt::WA_DeleteOnClose);
    plan_.table = table;
    const io::ExchangeTableDef& def = io::exchangeTable(table);
    setWindowTitle(tr("Import %1").arg(qs(def.label)));
    auto* layout = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    columns_ = new QTableWidget(0, kColumns, this);
    columns_->setAccessibleName(tr("Columns of the File"));
    columns_->setHorizontalHeaderLabels({tr("Column"), tr("First Line"), tr("Type"), tr("Field")});
    columns_->horizontalHeader()->setSectionResizeMode(kSample, QHeaderView::Stretch);
    columns_->setSelectionBehavior(QAbstractItemView::SelectRows);
    columns_->setSelectionMode(QAbstractItemView::SingleSelection);
    columns_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    columns_->verticalHeader()->hide();
    middle->addWidget(columns_, 1);
    middle->addLayout(sideButtons(
        this,
        {
            {"Assign by &Name", "Feed each field from the column whose first line names it",
             [this] { assignByName(); }},
            {"Change &Picture...", "Change how the column's values are read", [this] { changePicture(); }},
        }));
    layout->addLayout(middle, 1);
    names_ = firstLineCheck(this, layout, tr("&First line holds the names of the fields"));
    runAndClose(this, layout, tr("&Import"), [this] { startImport(); });
    resize(640, 420);
    rememberPosition(*this, "Import" + std::string(def.label));
}

bool ImportWindow::chooseFile() {
    for (;;) {
        const QString file =
            QFileDialog::getOpenFileName(this, tr("Import File"), QString(), qs(kImportFilter));
        if (file.isEmpty()) return false;
        io::ImportProblem problem;
        if (read(file.toStdString(), problem)) return true;
        prompter_.message(problem.title, problem.text, Icon::Warning, kOk, kOk);
        if (!problem.emptyFile) return false;
    }
}

bool ImportWindow::load(const std::string& file) {
    io::ImportProblem problem;
    if (read(file, problem)) return true;
    prompter_.message(problem.title, problem.text, Icon::Warning, kOk, kOk);
    return false;
}

bool ImportWindow::read(const std::string& file, io::ImportProblem& problem) {
    io::ImportPlan candidate;
    candidate.table = table_;
    candidate.file = file;
    if (!io::readImportColumns(candidate, problem)) return false;
    plan_ = std::move(candidate);
    fill();
    return true;
}

void ImportWindow::fill() {
    const auto& targets = io::exchangeTable(table_).importTargets;
    columns_->setRowCount(static_cast<int>(plan_.columns.size()));
    for (int row = 0; row < columns_->rowCount(); ++row) {
        const io::ImportColumn& column = plan_.columns[static_cast<std::size_t>(row)];
        columns_->setItem(row, kName, new QTableWidgetItem(qs(column.name)));
        columns_->setItem(row, kSample, new QTableWidgetItem(qs(column.sample)));
        columns_->setItem(row, kType, new QTableWidgetItem(qs(io::columnTypeText(column.picture))));
        auto* target = new QComboBox(columns_);
        target->setAccessibleName(tr("Field for %1").arg(qs(column.name)));
        target->addItem(QString());
        for (const io::ExchangeField& field : targets) target->addItem(qs(field.name));
        target->setCurrentIndex(column.target + 1);
        connect(target, &QComboBox::currentIndexChanged, this,
                [this, row](int index) { plan_.columns[static_cast<std::size_t>(row)].target = index - 1; });
        columns_->setCellWidget(row, kTarget, target);
    }
    columns_->resizeColumnToContents(kTarget);
    if (columns_->rowCount() > 0) columns_->selectRow(0);
}

io::ImportPlan ImportWindow::plan() const {
    io::ImportPlan out = plan_;
    out.firstLineHasNames = names_->isChecked();
    return out;
}

void ImportWindow::assign(int column, const QString& field) {
    auto* target = static_cast<QComboBox*>(columns_->cellWidget(column, kTarget));
    if (target) target->setCurrentIndex(std::max(0, target->findText(field, Qt::MatchFixedString)));
}

void ImportWindow::assignByName() {
    plan_.assignByName();
    fill();
}

void ImportWindow::changePicture() {
    const int row = columns_->currentRow();
    if (row < 0) return;
    io::ImportColumn& column = plan_.columns[static_cast<std::size_t>(row)];
    const std::string picture = askPicture(column.picture, prompter_, this);
    if (picture == io::kErrorMark) return;
    column.picture = picture;
    columns_->item(row, kType)->setText(qs(io::columnTypeText(picture)));
}

bool ImportWindow::startImport() {
    if (running_ || plan_.file.empty()) return false;
    running_ = true;
    setEnabled(false);
    return runJob(std::make_unique<io::ImportJob>(plan(), prompter_), this,
                  [this](io::SteppedJob::State state, io::SteppedJob& job) {
                      running_ = false;
                      setEnabled(true);
                      outcome_ = state;
                      added_ = static_cast<io::ImportJob&>(job).added();
                      if (state == io::SteppedJob::State::Completed) close();
                  });
}

}  // namespace plorix::ui
