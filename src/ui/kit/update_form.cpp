#include "ui/kit/update_form.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

#include "data/cascade.h"
#include "data/warnings.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

// The record saved last in this run, per table.
std::map<const data::TableSchema*, std::shared_ptr<void>>& savedRecords() {
    static std::map<const data::TableSchema*, std::shared_ptr<void>> records;
    return records;
}

void remember(const data::TableSchema& schema, const void* record) {
    auto& kept = savedRecords()[&schema];
    if (!kept) kept = schema.makeRecord();
    schema.assignRecord(record, kept.get());
}

constexpr std::string_view kTransactionError = "Update";

}  // namespace

UpdateForm::UpdateForm(data::Table& table, data::FormAction action, const QString& caption, std::string section,
                       Prompter& prompter, QWidget* parent, const QString& title)
    : QDialog(parent), table_(table), action_(action), prompter_(prompter), binder_(table.schema()) {
    setWindowTitle(title.isEmpty() ? caption : title);
    auto* layout = new QVBoxLayout(this);
    if (!title.isEmpty()) {
        auto* heading = new QLabel(caption, this);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        layout->addWidget(heading);
    }
    body_ = new QVBoxLayout;
    layout->addLayout(body_, 1);
    buttons_ = new QHBoxLayout;
    auto* dittoButton = new QToolButton(this);
    dittoButton->setText(QStringLiteral("Ditto"));
    dittoButton->setToolTip(QStringLiteral("Recall this field's value from the record saved last (Ctrl+')"));
    dittoButton->setAccessibleName(QStringLiteral("Ditto"));
    // Pressing it leaves the focus on the field it fills.
    dittoButton->setFocusPolicy(Qt::NoFocus);
    connect(dittoButton, &QToolButton::clicked, this, &UpdateForm::ditto);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Apostrophe), this, this, &UpdateForm::ditto);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_QuoteDbl), this, this, &UpdateForm::ditto);
    buttons_->addWidget(dittoButton);
    buttons_->addStretch();
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setDefault(true);
    ok->setAccessibleName(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, &UpdateForm::accept);
    connect(cancel, &QPushButton::clicked, this, &UpdateForm::reject);
    buttons_->addWidget(ok);
    buttons_->addWidget(cancel);
    layout->addLayout(buttons_);
    rememberPosition(*this, std::move(section));
}

UpdateForm::~UpdateForm() = default;

const void* UpdateForm::lastSaved(const data::TableSchema& schema) {
    const auto found = savedRecords().find(&schema);
    return found == savedRecords().end() ? nullptr : found->second.get();
}

void UpdateForm::showRecord() {
    original_ = table_.schema().makeRecord();
    table_.schema().assignRecord(table_.buffer(), original_.get());
    binder_.show(table_.buffer());
}

void UpdateForm::ditto() {
    FieldEditor* editor = binder_.focused();
    const void* source = lastSaved(table_.schema());
    if (!editor || !source) return;
    editor->load(source);
    emit editor->accepted();
}

int UpdateForm::save() {
    return data::saveRecord(table_, prompter_, action_, original_.get(), *rules_, true);
}

void UpdateForm::accept() {
    if (binder_.collect(table_.buffer())) return;
    if (!prepareSave()) return;
    const data::TableSchema& schema = table_.schema();
    auto entered = schema.makeRecord();
    schema.assignRecord(table_.buffer(), entered.get());
    if (table_.begin() != data::kNoError) {
        data::standardWarning(prompter_, 34, kTransactionError, schema.label);
        return;
    }
    const int result = save();
    if (result == data::kWritten && table_.commit() == data::kNoError) {
        remember(schema, table_.buffer());
        QDialog::accept();
        return;
    }
    table_.rollback();
    if (result == data::kChangedElsewhere) {
        // The other station's values are shown; ditto brings back the user's.
        remember(schema, entered.get());
        showRecord();
        return;
    }
    if (result == data::kWritten) data::standardWarning(prompter_, 34, kTransactionError, schema.label);
    // The steps that failed may have read the stored record into the buffer:
    // the user's entries stay for the next try.
    schema.assignRecord(entered.get(), table_.buffer());
}

}  // namespace plorix::ui
