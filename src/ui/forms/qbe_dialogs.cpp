#include "ui/forms/qbe_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

QPushButton* addButton(QDialogButtonBox* box, const QString& text, QDialogButtonBox::ButtonRole role) {
    QPushButton* b = box->addButton(text, role);
    b->setAccessibleName(QString(text).remove('&'));
    return b;
}

// Keeps the cursor in the upper limit while it does not close a range.
class UpperLimitGuard final : public QObject {
public:
    UpperLimitGuard(QLineEdit* lower, QLineEdit* upper) : QObject(upper), lower_(lower), upper_(upper) {}
    bool accepted() const {
        return data::rangeAccepted(lower_->text().toStdString(), upper_->text().toStdString());
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusOut) return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && !accepted()) refuse();
        return false;
    }
    void refuse() {
        QApplication::beep();
        upper_->setFocus();
        upper_->selectAll();
    }

private:
    QLineEdit* lower_;
    QLineEdit* upper_;
};

}  // namespace

std::optional<int> askMatchType(QWidget* parent, data::QbeKind kind, int current) {
    QDialog dialog(parent);
    dialog.setWindowTitle(qs(data::matchTypeWindowTitle(kind)));
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QGroupBox(QStringLiteral("Select match type"), &dialog);
    auto* column = new QGridLayout(group);
    QButtonGroup choices(&dialog);
    // Only the offered types are listed, one under the other without gaps,
    // each with the symbol the search window shows beside its field.
    for (data::MatchType type : data::offeredMatchTypes(kind)) {
        const data::MatchTypeInfo* info = data::matchTypeInfo(type);
        auto* choice = new QRadioButton(qs(info->text), group);
        choice->setAccessibleName(qs(info->text));
        choice->setChecked(type == current);
        choices.addButton(choice, type);
        const int row = column->rowCount();
        column->addWidget(new QLabel(qs(info->symbol), group), row, 0, Qt::AlignCenter);
        column->addWidget(choice, row, 1);
    }
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(&dialog);
    addButton(buttons, QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    addButton(buttons, QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (choices.checkedButton()) choices.checkedButton()->setFocus();
    if (dialog.exec() != QDialog::Accepted || choices.checkedId() < 0) return std::nullopt;
    return choices.checkedId();
}

std::optional<QString> askUpperLimit(QWidget* parent, const QString& lower, const QString& upper) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Enter Upper Limit"));
    auto* form = new QFormLayout(&dialog);
    auto* lowerEdit = new QLineEdit(lower, &dialog);
    lowerEdit->setReadOnly(true);
    lowerEdit->setAccessibleName(QStringLiteral("Lower Limit"));
    auto* upperEdit =
        new QLineEdit(qs(data::settleUpperLimit(lower.toStdString(), upper.toStdString())), &dialog);
    upperEdit->setAccessibleName(QStringLiteral("Upper Limit"));
    auto* lowerLabel = new QLabel(QStringLiteral("&Lower Limit:"), &dialog);
    lowerLabel->setBuddy(lowerEdit);
    auto* upperLabel = new QLabel(QStringLiteral("&Upper Limit:"), &dialog);
    upperLabel->setBuddy(upperEdit);
    form->addRow(lowerLabel, lowerEdit);
    form->addRow(upperLabel, upperEdit);
    auto* guard = new UpperLimitGuard(lowerEdit, upperEdit);
    upperEdit->installEventFilter(guard);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = addButton(buttons, QStringLiteral("&OK"), QDialogButtonBox::ActionRole);
    ok->setDefault(true);
    addButton(buttons, QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        if (guard->accepted())
            dialog.accept();
        else
            guard->refuse();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    upperEdit->setFocus();
    upperEdit->selectAll();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return upperEdit->text();
}

NextStep askNextStep(QWidget* parent, bool offerUnselect) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Begin Search"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("What do you want to do?"), &dialog));
    auto* buttons = new QDialogButtonBox(&dialog);
    struct Choice {
        const char* text;
        NextStep step;
    };
    static constexpr Choice kChoices[] = {{"&Edit", NextStep::Edit},
                                          {"&Select", NextStep::Select},
                                          {"&Unselect", NextStep::Unselect},
                                          {"&Cancel", NextStep::Cancel}};
    NextStep chosen = NextStep::Cancel;
    for (const Choice& c : kChoices) {
        if (c.step == NextStep::Unselect && !offerUnselect) continue;
        QPushButton* b = addButton(buttons, QString::fromLatin1(c.text), QDialogButtonBox::ActionRole);
        b->setDefault(c.step == NextStep::Select);
        QObject::connect(b, &QPushButton::clicked, &dialog, [&dialog, &chosen, step = c.step] {
            chosen = step;
            dialog.accept();
        });
    }
    layout->addWidget(buttons);
    dialog.exec();
    return chosen;
}

}  // namespace plorix::ui
