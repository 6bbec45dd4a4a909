#include "ui/exchange/export_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
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
constexpr int kFieldIndexRole = Qt::UserRole;
}

ExportWindow::ExportWindow(io::ExchangeTable table, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), table_(table), prompter_(prompter) {
    setAttribute(Qt::WA_DeleteOnClose);
    const io::ExchangeTableDef& def = io::exchangeTable(table);
    setWindowTitle(tr("Export %1").arg(qs(def.label)));
    auto* layout = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    fields_ = new QTreeWidget(this);
    fields_->setAccessibleName(tr("Fields to Export"));
    fields_->setHeaderLabels({tr("Field"), tr("Picture")});
    fields_->setRootIsDecorated(false);
    const io::ExportPlan defaults = io::ExportPlan::defaults(table);
    for (std::size_t i = 0; i < defaults.fields.size(); ++i) {
        auto* item =
            new QTreeWidgetItem(fields_, {qs(defaults.fields[i].field.name), qs(defaults.fields[i].picture)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        item->setData(0, kFieldIndexRole, static_cast<int>(i));
    }
    fields_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    fields_->setCurrentItem(fields_->topLevelItem(0));
    middle->addWidget(fields_, 1);

    middle->addLayout(sideButtons(
        this, {
                  {"Move &Up", "Write the field earlier on each line", [this] { move(-1); }},
                  {"Move &Down", "Write the field later on each line", [this] { move(1); }},
                  {"Select &All", "Export every field", [this] { setAll(true); }},
                  {"&Clear All", "Export no field until you choose some", [this] { setAll(false); }},
                  {"Change &Picture...", "Change how the field is written", [this] { changePicture(); }},
              }));
    layout->addLayout(middle, 1);
    header_ = firstLineCheck(this, layout, tr("&Names of the fields on the first line"));
    runAndClose(this, layout, tr("&Export..."), [this] { askFile(); });
    resize(480, 520);
    rememberPosition(*this, "Export" + std::string(def.label));
}

io::ExportPlan ExportWindow::plan() const {
    const io::ExportPlan defaults = io::ExportPlan::defaults(table_);
    io::ExportPlan plan = defaults;
    plan.fields.clear();
    for (int i = 0; i < fields_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = fields_->topLevelItem(i);
        io::ExportChoice choice =
            defaults.fields[static_cast<std::size_t>(item->data(0, kFieldIndexRole).toInt())];
        choice.picture = item->text(1).toStdString();
        choice.selected = item->checkState(0) == Qt::Checked;
        plan.fields.push_back(choice);
    }
    plan.header = header_->isChecked();
    return plan;
}

void ExportWindow::move(int by) {
    const int row = fields_->indexOfTopLevelItem(fields_->currentItem());
    const int to = row + by;
    if (row < 0 || to < 0 || to >= fields_->topLevelItemCount()) return;
    QTreeWidgetItem* item = fields_->takeTopLevelItem(row);
    fields_->insertTopLevelItem(to, item);
    fields_->setCurrentItem(item);
}

void ExportWindow::setAll(bool selected) {
    for (int i = 0; i < fields_->topLevelItemCount(); ++i)
        fields_->topLevelItem(i)->setCheckState(0, selected ? Qt::Checked : Qt::Unchecked);
}

void ExportWindow::changePicture() {
    QTreeWidgetItem* item = fields_->currentItem();
    if (!item) return;
    const std::string picture = askPicture(item->text(1).toStdString(), prompter_, this);
    if (picture != io::kErrorMark) item->setText(1, qs(picture));
}

void ExportWindow::askFile() {
    io::ExportPlan check = plan();
    if (!check.fields.empty() && std::none_of(check.fields.begin(), check.fields.end(),
                                              [](const io::ExportChoice& c) { return c.selected; })) {
        // The job tells why nothing can be exported, before any file is chosen.
        exportTo({});
        return;
    }
    const QString file = QFileDialog::getSaveFileName(this, tr("Export File"), QString(), qs(kExportFilter));
    if (!file.isEmpty()) exportTo(file.toStdString());
}

bool ExportWindow::exportTo(const std::string& file) {
    if (running_) return false;
    io::ExportPlan chosen = plan();
    chosen.file = file;
    running_ = true;
    setEnabled(false);
    return runJob(std::make_unique<io::ExportJob>(std::move(chosen), prompter_), this,
                  [this](io::SteppedJob::State state, io::SteppedJob& job) {
                      running_ = false;
                      setEnabled(true);
                      outcome_ = state;
                      written_ = static_cast<io::ExportJob&>(job).written();
                      if (state == io::SteppedJob::State::Completed) close();
                  });
}

}  // namespace plorix::ui
