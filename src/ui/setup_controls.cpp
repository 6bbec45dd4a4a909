#include "ui/setup_controls.h"
#include "ui/qt_text.h"
#include "settings/setting_values.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <variant>

namespace plorix::ui {
namespace {

using settings::SettingDecl;
using settings::Settings;

constexpr std::string_view kDateFormatKey = "DateFormat";

QWidget* makeControl(const SettingDecl& decl, QWidget* parent) {
    QWidget* widget = nullptr;
    if (decl.key == kDateFormatKey) {
        auto* box = new QComboBox(parent);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        widget = box;
    } else if (std::holds_alternative<bool Settings::*>(decl.member)) {
        widget = new QCheckBox(qs(decl.prompt), parent);
    } else if (std::holds_alternative<std::string Settings::*>(decl.member)) {
        auto* edit = new QLineEdit(parent);
        // No more characters than the setting keeps, so none is lost silently.
        edit->setMaxLength(settings::textWidth(decl));
        widget = edit;
    } else {
        auto* spin = new QSpinBox(parent);
        const settings::NumberRange range = settings::numberRange(decl);
        spin->setRange(static_cast<int>(range.least), static_cast<int>(range.most));
        spin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);  // a number needs no full row
        widget = spin;
    }
    widget->setObjectName(qs(decl.key));
    return widget;
}

// The date formats in the list, plus the stored one when it is one that is
// only recognised (or not known at all), so that OK keeps it unchanged.
void fillDateFormats(QComboBox& box, std::string_view stored) {
    box.clear();
    for (const auto& choice : settings::dateFormatChoices())
        if (choice.offered) box.addItem(qs(choice.text), qs(choice.picture));
    std::string_view text = settings::dateFormatText(stored);
    int index = box.findText(qs(text));
    if (index < 0) {
        box.addItem(text.empty() ? qs(stored) : qs(text), qs(stored));
        index = box.count() - 1;
    }
    // The stored spelling ("D3", "@d3") stays as it is unless another format is chosen.
    box.setItemData(index, qs(stored));
    box.setCurrentIndex(index);
}

}  // namespace

void SetupControls::addTab(std::string_view tab, QFormLayout& form, Beside beside) {
    QWidget* page = form.parentWidget();
    for (const SettingDecl& decl : settings::settingDecls()) {
        if (decl.tab != tab) continue;
        QWidget* control = makeControl(decl, page);
        bindings_.push_back({&decl, control});
        QWidget* field = control;
        if (!beside.key.empty() && beside.key == decl.key && beside.widget) {
            field = new QWidget(page);
            auto* row = new QHBoxLayout(field);
            row->setContentsMargins(0, 0, 0, 0);
            row->addWidget(control);
            row->addWidget(beside.widget);
            row->addStretch();
        }
        if (qobject_cast<QCheckBox*>(control)) {
            form.addRow(field);  // a check box carries its prompt itself
        } else {
            auto* label = new QLabel(qs(decl.prompt), page);
            label->setBuddy(control);
            form.addRow(label, field);
        }
    }
}

void SetupControls::show(const Settings& s) {
    for (const Binding& b : bindings_) {
        const SettingDecl& decl = *b.decl;
        if (auto* box = qobject_cast<QComboBox*>(b.widget)) {
            fillDateFormats(*box, s.*std::get<std::string Settings::*>(decl.member));
        } else if (auto m = std::get_if<bool Settings::*>(&decl.member)) {
            static_cast<QCheckBox*>(b.widget)->setChecked(s.**m);
        } else if (auto m = std::get_if<std::string Settings::*>(&decl.member)) {
            static_cast<QLineEdit*>(b.widget)->setText(QString::fromStdString(s.**m));
        } else {
            auto* spin = static_cast<QSpinBox*>(b.widget);
            const int value = std::holds_alternative<std::uint8_t Settings::*>(decl.member)
                                  ? s.*std::get<std::uint8_t Settings::*>(decl.member)
                                  : s.*std::get<std::int32_t Settings::*>(decl.member);
            // A stored value outside the usual range is shown, and kept, as it is.
            spin->setRange(std::min(spin->minimum(), value), std::max(spin->maximum(), value));
            spin->setValue(value);
        }
    }
}

void SetupControls::collect(Settings& s) const {
    for (const Binding& b : bindings_) {
        const SettingDecl& decl = *b.decl;
        if (auto* box = qobject_cast<QComboBox*>(b.widget)) {
            s.*std::get<std::string Settings::*>(decl.member) = box->currentData().toString().toStdString();
        } else if (auto m = std::get_if<bool Settings::*>(&decl.member)) {
            s.** m = static_cast<QCheckBox*>(b.widget)->isChecked();
        } else if (auto m = std::get_if<std::string Settings::*>(&decl.member)) {
            s.** m = static_cast<QLineEdit*>(b.widget)->text().toStdString();
        } else if (auto m = std::get_if<std::uint8_t Settings::*>(&decl.member)) {
            s.** m = static_cast<std::uint8_t>(static_cast<QSpinBox*>(b.widget)->value());
        } else {
            s.*std::get<std::int32_t Settings::*>(decl.member) = static_cast<QSpinBox*>(b.widget)->value();
        }
    }
}

QWidget* SetupControls::control(std::string_view key) const {
    for (const Binding& b : bindings_)
        if (b.decl->key == key) return b.widget;
    return nullptr;
}

}  // namespace plorix::ui
