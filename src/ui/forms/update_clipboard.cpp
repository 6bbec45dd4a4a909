#include "ui/forms/update_clipboard.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/warnings.h"
#include "runtime/pictures.h"
#include "settings/settings.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

using data::Clipboard;

// A value to read and copy, not to change.
QLineEdit* shownValue(const std::string& text, const QString& name, QWidget* parent) {
    auto* value = new QLineEdit(qs(text), parent);
    value->setReadOnly(true);
    value->setAccessibleName(name);
    value->setMinimumWidth(value->fontMetrics().averageCharWidth() * 18);
    value->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return value;
}

}  // namespace

UpdateClipboard::UpdateClipboard(const Clipboard& entry, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Clipboard Record"));
    auto* form = new QFormLayout;
    const std::pair<QString, QLineEdit*> moments[] = {
        {QStringLiteral("Date:"), shownValue(formatDate(entry.CLIPDATE, settings::settings().DateFormat),
                                             QStringLiteral("Date"), this)},
        {QStringLiteral("Time:"),
         shownValue(formatTime(entry.CLIPTIME, "@t3"), QStringLiteral("Time"), this)}};
    for (const auto& [label, value] : moments) form->addRow(label, value);
    auto* contents = new QPlainTextEdit(qs(entry.CLIPCONTENTS.str()), this);
    contents->setReadOnly(true);
    contents->setAccessibleName(QStringLiteral("Contents"));
    contents->setMinimumSize(contents->fontMetrics().averageCharWidth() * 60,
                             contents->fontMetrics().lineSpacing() * 12);
    auto* contentsLabel = new QLabel(QStringLiteral("&Contents:"), this);
    contentsLabel->setBuddy(contents);
    form->addRow(contentsLabel, contents);
    auto* keep = new QCheckBox(QStringLiteral("Keep this clipboard record"), this);
    keep->setChecked(entry.CLIPKEEP != 0);
    keep->setEnabled(false);
    form->addRow(keep);

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setAccessibleName(QStringLiteral("Ok"));
    ok->setEnabled(false);
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setAccessibleName(QStringLiteral("Close"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addLayout(buttons);
    contents->setFocus();
    rememberPosition(*this, "UpdateClipboard");
}

void viewClipboardEntry(std::int64_t position, Prompter& prompter, QWidget* parent) {
    auto table = ownTable(Clipboard::schema(), prompter);
    if (table->reget(position) != store::kNoError) {
        data::standardWarning(prompter, data::Warning::RecordRetrievalError, "Clipboard");
        return;
    }
    UpdateClipboard viewer(table->rec<Clipboard>(), parent);
    viewer.exec();
}

}  // namespace plorix::ui
