#include "reports/set_report_title.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/window_geometry.h"

namespace plorix::reports {

SetReportTitle::SetReportTitle(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Set Report Title"));
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("Leave the report title blank if you wish to use the default title."), this);
    prompt->setWordWrap(true);
    title_ = new QLineEdit(this);
    title_->setMaxLength(80);
    title_->setAccessibleName(tr("Report Title"));
    title_->setMinimumWidth(title_->fontMetrics().averageCharWidth() * 50);
    prompt->setBuddy(title_);
    layout->addWidget(prompt);
    layout->addWidget(title_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ui::rememberPosition(*this, "SetReportTitle");
}

std::string SetReportTitle::title() const { return title_->text().toStdString(); }
void SetReportTitle::setTitle(const QString& title) { title_->setText(title); }

std::optional<std::string> askReportTitle(QWidget* parent) {
    SetReportTitle window(parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.title();
}

}  // namespace plorix::reports
