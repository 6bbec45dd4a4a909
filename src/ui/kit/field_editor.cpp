#include "ui/kit/field_editor.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <limits>

#include "runtime/pictures.h"
#include "settings/settings.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

constexpr std::string_view kTimePicture = "@t3";
// The widest a text field opens, in average characters.
constexpr int kWidestText = 60;

// A label as a screen reader names its control: without the mnemonic mark
// and the colon that points at the field.
QString plain(QString text) {
    text.remove('&');
    return text.endsWith(':') ? text.chopped(1) : text;
}

}  // namespace

FieldEditor::FieldEditor(EditorKind kind, const store::FieldDesc& field, const QString& label,
                         QWidget* parent)
    : QWidget(parent), kind_(kind), field_(&field), label_(label) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    setObjectName(qs(field.name));
    switch (kind) {
    case EditorKind::Check: {
        auto* box = new QCheckBox(label, this);
        connect(box, &QCheckBox::toggled, this, &FieldEditor::accepted);
        control_ = box;
        break;
    }
    case EditorKind::Option: {
        auto* box = new QGroupBox(label, this);
        box->setLayout(new QVBoxLayout);
        group_ = new QButtonGroup(this);
        connect(group_, &QButtonGroup::buttonClicked, this, [this] { emit accepted(); });
        control_ = box;
        break;
    }
    case EditorKind::DropList: {
        auto* box = new QComboBox(this);
        connect(box, &QComboBox::activated, this, [this] { emit accepted(); });
        control_ = box;
        break;
    }
    case EditorKind::Memo: control_ = new QPlainTextEdit(this); break;
    default: {
        line_ = new QLineEdit(this);
        if (kind == EditorKind::Text) {
            line_->setMaxLength(field.capacity);
            // Room for most of a long text (a window title, a description).
            line_->setMinimumWidth(fontMetrics().averageCharWidth() * std::min(field.capacity, kWidestText));
        }
        // Room for the longest date or time the pictures show.
        if (kind == EditorKind::Date)
            line_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("September 30, 0000")));
        if (kind == EditorKind::Time || kind == EditorKind::Number)
            line_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00:00:00PM")));
        connect(line_, &QLineEdit::textEdited, this, &FieldEditor::edited);
        connect(line_, &QLineEdit::editingFinished, this, [this] {
            if (!line_->isModified()) return;
            if (!readable()) {
                refuse();
                return;
            }
            line_->setModified(false);
            emit accepted();
        });
        control_ = line_;
    }
    }
    control_->setAccessibleName(plain(label));
    row->addWidget(control_, 1);
    if (kind == EditorKind::Date) {
        auto* calendar = new QToolButton(this);
        calendar->setText(QStringLiteral("..."));
        calendar->setToolTip(QStringLiteral("Select Date"));
        calendar->setAccessibleName(plain(label) + QStringLiteral(" calendar"));
        connect(calendar, &QToolButton::clicked, this, &FieldEditor::calendarRequested);
        row->addWidget(calendar);
    }
}

QString FieldEditor::picture() const {
    if (!picture_.empty()) return qs(picture_);
    return kind_ == EditorKind::Date ? qs(settings::settings().DateFormat) : qs(kTimePicture);
}

void FieldEditor::setChoices(const QStringList& choices) {
    if (auto* box = qobject_cast<QComboBox*>(control_)) {
        box->clear();
        box->addItems(choices);
        return;
    }
    for (const QString& text : choices) {
        auto* radio = new QRadioButton(text, control_);
        radio->setAccessibleName(plain(text));
        group_->addButton(radio);
        control_->layout()->addWidget(radio);
    }
}

QAbstractButton* FieldEditor::choice(const QString& text) const {
    if (!group_) return nullptr;
    for (QAbstractButton* b : group_->buttons())
        if (plain(b->text()).compare(text, Qt::CaseInsensitive) == 0) return b;
    return nullptr;
}

QString FieldEditor::text() const {
    switch (kind_) {
    case EditorKind::Check: return static_cast<QCheckBox*>(control_)->isChecked() ? "1" : "0";
    case EditorKind::Option:
        return group_->checkedButton() ? plain(group_->checkedButton()->text()) : QString();
    case EditorKind::DropList: return static_cast<QComboBox*>(control_)->currentText();
    case EditorKind::Memo: return static_cast<QPlainTextEdit*>(control_)->toPlainText();
    default: return line_->text();
    }
}

void FieldEditor::setText(const QString& text) {
    switch (kind_) {
    case EditorKind::Check: static_cast<QCheckBox*>(control_)->setChecked(text == "1"); break;
    case EditorKind::Option:
        if (QAbstractButton* b = choice(text)) {
            b->setChecked(true);
        } else if (QAbstractButton* checked = group_->checkedButton()) {
            group_->setExclusive(false);  // a value none of the radios stands for
            checked->setChecked(false);
            group_->setExclusive(true);
        }
        break;
    case EditorKind::DropList: {
        auto* box = static_cast<QComboBox*>(control_);
        const int index = box->findText(text, Qt::MatchFixedString);
        box->setCurrentIndex(index);
        break;
    }
    case EditorKind::Memo: static_cast<QPlainTextEdit*>(control_)->setPlainText(text); break;
    default: line_->setText(text); line_->setModified(false);
    }
}

void FieldEditor::load(const void* record) {
    const std::int64_t value = store::isNumeric(field_->kind) ? store::fieldInt(*field_, record) : 0;
    switch (kind_) {
    case EditorKind::Date:
        setText(value ? qs(formatDate(static_cast<Date>(value), picture().toStdString())).trimmed()
                      : QString());
        break;
    case EditorKind::Time:
        setText(value ? qs(formatTime(static_cast<Time>(value), picture().toStdString())).trimmed()
                      : QString());
        break;
    case EditorKind::Number:
    case EditorKind::Check: setText(QString::number(value)); break;
    default: setText(qs(store::fieldText(*field_, record)));
    }
    loadedText_ = text();
    loadedValue_ = value;
}

bool FieldEditor::readable() const {
    const std::string shown = text().trimmed().toStdString();
    switch (kind_) {
    case EditorKind::Date: return parseDate(shown, picture().toStdString()).has_value();
    case EditorKind::Time: return parseTime(shown).has_value();
    case EditorKind::Number: {
        const auto number = parseNumber(shown);
        return number && *number == static_cast<double>(static_cast<std::int64_t>(*number)) &&
               *number >= std::numeric_limits<std::int32_t>::min() &&
               *number <= std::numeric_limits<std::int32_t>::max();
    }
    default: return true;
    }
}

bool FieldEditor::store(void* record) {
    if (!readable()) {
        refuse();
        return false;
    }
    const std::string shown = text().trimmed().toStdString();
    if ((kind_ == EditorKind::Date || kind_ == EditorKind::Time) && text() == loadedText_) {
        store::setFieldInt(*field_, record, loadedValue_);
        return true;
    }
    switch (kind_) {
    case EditorKind::Date:
        store::setFieldInt(*field_, record, *parseDate(shown, picture().toStdString()));
        break;
    case EditorKind::Time: store::setFieldInt(*field_, record, *parseTime(shown)); break;
    case EditorKind::Number:
        store::setFieldInt(*field_, record, static_cast<std::int64_t>(*parseNumber(shown)));
        break;
    case EditorKind::Check: store::setFieldInt(*field_, record, shown == "1" ? 1 : 0); break;
    default: store::setFieldText(*field_, record, text().toStdString());
    }
    return true;
}

void FieldEditor::refuse() {
    QApplication::beep();
    // Once the focus change that found the text has finished.
    QTimer::singleShot(0, this, [this] {
        control_->setFocus();
        if (line_) line_->selectAll();
    });
}

}  // namespace plorix::ui
