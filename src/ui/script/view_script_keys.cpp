#include "ui/script/view_script_keys.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "script/key_names.h"
#include "ui/frame_printer.h"
#include "ui/qt_text.h"
#include "ui/view_log_print.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

constexpr int kFindWidth = 20;

// KEYCODES.TXT beside the program, or where an installation puts it.
QString keyCodesPath() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& path : {dir + QStringLiteral("/") + qs(script::kKeyCodesFile),
                                dir + QStringLiteral("/../share/plorix/") + qs(script::kKeyCodesFile)})
        if (QFile::exists(path)) return path;
    return {};
}

QPushButton* button(QBoxLayout* row, QWidget* parent, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setAccessibleName(QString(text).remove('&').remove(QStringLiteral("...")));
    row->addWidget(b);
    return b;
}

// The find question: the text, its options and the direction.
std::optional<KeyFind> askFindText(const KeyFind& last, QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Find"));
    auto* form = new QFormLayout(&dialog);
    auto* what = new QLineEdit(last.text, &dialog);
    what->setMaxLength(kFindWidth);
    what->setAccessibleName(QStringLiteral("Find What"));
    auto* whatLabel = new QLabel(QStringLiteral("Find &What:"), &dialog);
    whatLabel->setBuddy(what);
    form->addRow(whatLabel, what);
    auto* whole = new QCheckBox(QStringLiteral("Match &Whole Word Only"), &dialog);
    auto* matchCase = new QCheckBox(QStringLiteral("Match &Case"), &dialog);
    whole->setChecked(last.wholeWord);
    matchCase->setChecked(last.matchCase);
    form->addRow(whole);
    form->addRow(matchCase);
    auto* direction = new QGroupBox(QStringLiteral("Direction"), &dialog);
    auto* up = new QRadioButton(QStringLiteral("&Up"), direction);
    auto* down = new QRadioButton(QStringLiteral("&Down"), direction);
    (last.up ? up : down)->setChecked(true);
    auto* directions = new QHBoxLayout(direction);
    directions->addWidget(up);
    directions->addWidget(down);
    form->addRow(direction);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || what->text().isEmpty()) return std::nullopt;
    return KeyFind{what->text(), whole->isChecked(), matchCase->isChecked(), up->isChecked()};
}

}  // namespace

ViewScriptKeys::ViewScriptKeys(Prompter& prompter, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("List of Key Abbreviations"));
    auto* layout = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    search_ = new QLineEdit(this);
    search_->setAccessibleName(QStringLiteral("Search"));
    search_->setToolTip(QStringLiteral("Show only the lines that hold this text"));
    search_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(search_);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search_, 1);
    layout->addLayout(searchRow);
    list_ = new QListWidget(this);
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->setAccessibleName(QStringLiteral("Key names"));
    list_->setMinimumSize(list_->fontMetrics().averageCharWidth() * 60, list_->fontMetrics().height() * 20);
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    QPushButton* insert = button(row, this, QStringLiteral("&Insert"),
                                 QStringLiteral("Put the chosen key name into the keystrokes"));
    QPushButton* printButton = button(row, this, QStringLiteral("&Print"), QStringLiteral("Print the list"));
    QPushButton* findButton =
        button(row, this, QStringLiteral("&Find..."), QStringLiteral("Find a text in the list"));
    QPushButton* next = button(row, this, QStringLiteral("Find Next"), QStringLiteral("Find the text again"));
    row->addStretch();
    QPushButton* close = button(row, this, QStringLiteral("&Close"), QStringLiteral("Close the list"));
    layout->addLayout(row);
    insert->setEnabled(false);
    next->setEnabled(false);
    connect(list_, &QListWidget::currentRowChanged, this,
            [this, insert] { insert->setEnabled(!chosenName().isEmpty()); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (!chosenName().isEmpty()) accept();
    });
    connect(insert, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(printButton, &QPushButton::clicked, this, &ViewScriptKeys::print);
    connect(findButton, &QPushButton::clicked, this, [this, next] {
        askFind();
        next->setEnabled(!last_.text.isEmpty());
    });
    connect(next, &QPushButton::clicked, this, &ViewScriptKeys::findNext);
    connect(search_, &QLineEdit::textChanged, this, &ViewScriptKeys::filter);
    load(prompter);
    rememberPosition(*this, "ViewScriptKeys");
}

void ViewScriptKeys::load(Prompter& prompter) {
    QStringList lines;
    const QString path = keyCodesPath();
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::ReadOnly)) {
        auto progress = prompter.progress("Reading File", "Reading File");
        const qint64 size = std::max<qint64>(file.size(), 1);
        while (!file.atEnd()) {
            lines
                << QString::fromUtf8(file.readLine()).remove(QRegularExpression(QStringLiteral("[\r\n]+$")));
            if (progress) progress->setPercent(static_cast<int>(file.pos() * 100 / size));
        }
        if (progress) progress->finish();
    } else {
        // Without the file the program's own list is shown.
        lines = qs(script::keyCodesText()).split(QStringLiteral("\r\n"));
    }
    list_->addItems(lines);
}

QString ViewScriptKeys::chosenName() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->text().startsWith(QStringLiteral("  "))) return {};
    const QString name = item->text().trimmed().section(' ', 0, 0);
    return name.isEmpty() ? QString() : QStringLiteral("[") + name + QStringLiteral("]");
}

bool ViewScriptKeys::find(const KeyFind& request) {
    last_ = request;
    if (request.text.isEmpty()) return false;
    const Qt::CaseSensitivity cs = request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QRegularExpression word(
        QStringLiteral("\\b") + QRegularExpression::escape(request.text) + QStringLiteral("\\b"),
        request.matchCase ? QRegularExpression::NoPatternOption : QRegularExpression::CaseInsensitiveOption);
    const int step = request.up ? -1 : 1;
    for (int row = list_->currentRow() + step; row >= 0 && row < list_->count(); row += step) {
        QListWidgetItem* item = list_->item(row);
        if (item->isHidden()) continue;
        const QString& text = item->text();
        if (request.wholeWord ? word.match(text).hasMatch() : text.contains(request.text, cs)) {
            list_->setCurrentRow(row);
            list_->scrollToItem(item);
            return true;
        }
    }
    QApplication::beep();
    return false;
}

void ViewScriptKeys::askFind() {
    if (auto request = askFindText(last_, this)) find(*request);
}

void ViewScriptKeys::filter(const QString& text) {
    for (int row = 0; row < list_->count(); ++row) {
        QListWidgetItem* item = list_->item(row);
        item->setHidden(!text.isEmpty() && !item->text().contains(text, Qt::CaseInsensitive));
    }
}

void ViewScriptKeys::print() {
    QPrintDialog dialog(&programPrinter(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<std::string> rows;
    for (int row = 0; row < list_->count(); ++row) rows.push_back(list_->item(row)->text().toStdString());
    printRows(rows, programPrinter());
}

std::optional<QString> viewScriptKeys(Prompter& prompter, QWidget* parent) {
    ViewScriptKeys viewer(prompter, parent);
    if (viewer.exec() != QDialog::Accepted || viewer.chosenName().isEmpty()) return std::nullopt;
    return viewer.chosenName();
}

}  // namespace plorix::ui
