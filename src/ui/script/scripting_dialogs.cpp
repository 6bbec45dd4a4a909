#include "ui/script/scripting_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "script/program_actions.h"
#include "ui/qt_text.h"
#include "ui/script/window_picking.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

using platform::Priority;
using platform::WindowMode;

constexpr std::pair<const char*, Priority> kPriorities[] = {
    {"Low", Priority::Low}, {"Normal", Priority::Normal}, {"High", Priority::High}};
constexpr std::pair<const char*, WindowMode> kModes[] = {
    {"Start and give focus", WindowMode::Normal},
    {"Start minimized with focus", WindowMode::Minimized},
    {"Start maximized with focus", WindowMode::Maximized},
    {"Start minimized without focus", WindowMode::MinimizedNoFocus},
    {"Start without focus", WindowMode::NoFocus}};

QComboBox* dropList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(name);
    return box;
}

QPushButton* closeButton(QDialog* dialog, const QString& text) {
    auto* button = new QPushButton(text, dialog);
    button->setDefault(true);
    button->setAccessibleName(QString(text).remove('&'));
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

}  // namespace

StartProgramAdvanced::StartProgramAdvanced(const data::Scripting& item, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Advanced Options"));
    const script::StartOptions options = script::decodeStartOptions(item.DDEAPPLICATIONNAME.str());
    auto* form = new QFormLayout(this);
    wait_ = new QCheckBox(QStringLiteral("&Wait For Program End"), this);
    wait_->setToolTip(QStringLiteral("Hold the script until the program has ended"));
    timeout_ = new QLineEdit(QString::number(item.TIMEELAPSED), this);
    timeout_->setValidator(new QIntValidator(0, 2147483647, timeout_));
    timeout_->setAccessibleName(QStringLiteral("Time out for wait (seconds)"));
    timeout_->setToolTip(QStringLiteral("The longest wait; 0 waits as long as the program runs"));
    connect(wait_, &QCheckBox::toggled, timeout_, &QWidget::setEnabled);
    wait_->setChecked(options.waitForEnd);
    timeout_->setEnabled(options.waitForEnd);
    form->addRow(wait_);
    auto* timeoutLabel = new QLabel(QStringLiteral("&Time out for wait (seconds):"), this);
    timeoutLabel->setBuddy(timeout_);
    form->addRow(timeoutLabel, timeout_);

    priority_ = dropList(this, QStringLiteral("Process Priority"));
    for (const auto& [text, value] : kPriorities) priority_->addItem(QString::fromLatin1(text));
    for (int i = 0; i < int(std::size(kPriorities)); ++i)
        if (kPriorities[i].second == options.priority) priority_->setCurrentIndex(i);
    mode_ = dropList(this, QStringLiteral("Window Mode"));
    for (const auto& [text, value] : kModes) mode_->addItem(QString::fromLatin1(text));
    for (int i = 0; i < int(std::size(kModes)); ++i)
        if (kModes[i].second == options.mode) mode_->setCurrentIndex(i);
    verb_ = dropList(this, QStringLiteral("Start Type"));
    for (std::string_view verb : script::kStartVerbs) verb_->addItem(qs(verb));
    const int verb = verb_->findText(qs(item.DDEAPPLICATIONTOPIC.str()).trimmed(), Qt::MatchFixedString);
    verb_->setCurrentIndex(std::max(verb, 0));
    for (auto [label, box] : {std::pair{"Process &Priority:", priority_}, std::pair{"Window &Mode:", mode_},
                              std::pair{"Start T&ype:", verb_}}) {
        auto* l = new QLabel(QString::fromLatin1(label), this);
        l->setBuddy(box);
        form->addRow(l, box);
    }
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(closeButton(this, QStringLiteral("&Ok")));
    form->addRow(row);
    rememberPosition(*this, "ScriptingStartProgramAdvanced");
}

void StartProgramAdvanced::store(data::Scripting& item) const {
    script::StartOptions options;
    options.waitForEnd = wait_->isChecked();
    options.priority = kPriorities[priority_->currentIndex()].second;
    options.mode = kModes[mode_->currentIndex()].second;
    item.DDEAPPLICATIONNAME = script::encodeStartOptions(options);
    item.TIMEELAPSED = timeout_->text().toInt();
    item.DDEAPPLICATIONTOPIC = verb_->currentText().toStdString();
}

ChildTextDialog::ChildTextDialog(const QString& text, const QString& windowTitle, std::string section,
                                 QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Advanced Settings"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Confirm window selection by looking for the text:"), this);
    text_ = new QLineEdit(text, this);
    text_->setMaxLength(255);
    text_->setToolTip(QStringLiteral("Contents of window to locate"));
    text_->setAccessibleName(QStringLiteral("Confirm window selection by looking for the text"));
    label->setBuddy(text_);
    auto* pick = new QToolButton(this);
    pick->setText(QStringLiteral("Pick"));
    pick->setToolTip(QStringLiteral("Choose a text shown in the window"));
    pick->setAccessibleName(QStringLiteral("Pick text"));
    pick->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(pick);
    pick->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu, windowTitle] {
        menu->clear();
        const QStringList texts = childTexts(windowTitle);
        for (const QString& t : texts)
            connect(menu->addAction(t), &QAction::triggered, this, [this, t] { text_->setText(t); });
        if (texts.isEmpty())
            menu->addAction(windowTitle.trimmed().isEmpty()
                                ? QStringLiteral("(name the window first)")
                                : QStringLiteral("(no such window, or no texts in it)"))
                ->setEnabled(false);
    });
    auto* entry = new QHBoxLayout;
    entry->addWidget(text_, 1);
    entry->addWidget(pick);
    layout->addWidget(label);
    layout->addLayout(entry);
    layout->addWidget(
        new QLabel(QStringLiteral("Do not use this text with a window title that begins with \"~\"\n"
                                  "(waiting for a window to disappear)."),
                   this));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(closeButton(this, QStringLiteral("Cl&ose")));
    layout->addLayout(row);
    rememberPosition(*this, std::move(section));
}

QString ChildTextDialog::text() const { return text_->text(); }

}  // namespace plorix::ui
