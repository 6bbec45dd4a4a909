#include "ui/kit/update_form.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>
#include <vector>

#include "store/transaction.h"

#include "data/cascade.h"
#include "data/warnings.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

// The record saved last in this run, per table.
std::map<const store::TableSchema*, std::shared_ptr<void>>& savedRecords() {
    static std::map<const store::TableSchema*, std::shared_ptr<void>> records;
    return records;
}

void remember(const store::TableSchema& schema, const void* record) {
    auto& kept = savedRecords()[&schema];
    if (!kept) kept = schema.makeRecord();
    schema.assignRecord(record, kept.get());
}

constexpr std::string_view kTransactionError = "Update";

// Holds back messages with nothing to decide and shows them when it goes;
// questions are asked at once.
class DeferredMessages final : public Prompter {
public:
    explicit DeferredMessages(Prompter& target) : target_(target) {}
    ~DeferredMessages() override {
        for (const Held& m : held_) target_.message(m.title, m.text, m.icon, kOk, kOk);
    }
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override {
        if (buttons != kOk) return target_.message(title, text, icon, buttons, defaultButton);
        held_.push_back({std::string(title), std::string(text), icon});
        return kOk;
    }
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override {
        return target_.progress(title, heading);
    }

private:
    struct Held {
        std::string title;
        std::string text;
        Icon icon;
    };
    Prompter& target_;
    std::vector<Held> held_;
};

}  // namespace

UpdateForm::UpdateForm(store::Table& table, data::FormAction action, const QString& caption,
                       std::string section, Prompter& prompter, QWidget* parent, const QString& title)
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
    auto* ok = ok_ = new QPushButton(QStringLiteral("&OK"), this);
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

const void* UpdateForm::lastSaved(const store::TableSchema& schema) {
    const auto found = savedRecords().find(&schema);
    return found == savedRecords().end() ? nullptr : found->second.get();
}

void UpdateForm::showRecord() {
    original_ = table_.schema().makeRecord();
    table_.schema().assignRecord(table_.buffer(), original_.get());
    binder_.show(table_.buffer());
}

bool UpdateForm::unchanged() const {
    if (action_ != data::FormAction::Changing) return false;
    for (const store::FieldDesc& f : table_.schema().fields) {
        const bool bookkeeping =
            f.column == "LASTCHANGEDATE" || f.column == "LASTCHANGETIME" || f.column == "NETWORKUSER";
        if (!bookkeeping && store::fieldToText(f, table_.buffer()) != store::fieldToText(f, original_.get()))
            return false;
    }
    return true;
}

void UpdateForm::ditto() {
    FieldEditor* editor = binder_.focused();
    const void* source = lastSaved(table_.schema());
    if (!editor || !source) return;
    editor->load(source);
    emit editor->accepted();
}

int UpdateForm::save() {
    if (skipUnchanged_ && unchanged()) return data::kWritten;  // closes as saved
    return data::saveRecord(table_, prompter(), action_, original_.get(), *rules_, true);
}

void UpdateForm::accept() {
    if (commit()) QDialog::accept();
}

bool UpdateForm::saveNow() {
    if (!commit()) return false;
    showRecord();
    return true;
}

bool UpdateForm::commit() {
    if (binder_.collect(table_.buffer())) return false;
    if (!prepareSave()) return false;
    const store::TableSchema& schema = table_.schema();
    auto entered = schema.makeRecord();
    schema.assignRecord(table_.buffer(), entered.get());
    int result = data::kNotWritten;
    bool committed = false;
    {
        // Messages that only inform wait until the transaction is over: the
        // frame's tick writes on the same connection and must not join it
        // while a box is open.
        DeferredMessages deferred(prompter_);
        active_ = &deferred;
        store::Transaction transaction(table_);
        // Asked before the commit, which ends the transaction.
        const bool framed = transaction.ok();
        if (framed) {
            result = save();
            committed = result == data::kWritten && transaction.commit() == store::kNoError;
        }
        active_ = &prompter_;
        if (!framed)
            data::standardWarning(prompter_, data::Warning::TransactionFramingError, kTransactionError,
                                  schema.label);
    }  // rolled back unless committed, then the deferred messages show
    if (committed) {
        remember(schema, table_.buffer());
        return true;
    }
    if (result == data::kChangedElsewhere) {
        // The other station's values are shown; ditto brings back the user's.
        remember(schema, entered.get());
        showRecord();
        return false;
    }
    if (result == data::kWritten)
        data::standardWarning(prompter_, data::Warning::TransactionFramingError, kTransactionError,
                              schema.label);
    // The steps that failed may have read the stored record into the buffer:
    // the user's entries stay for the next try.
    schema.assignRecord(entered.get(), table_.buffer());
    return false;
}

}  // namespace plorix::ui
