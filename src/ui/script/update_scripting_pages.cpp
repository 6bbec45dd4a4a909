// The parameter pages of UPDATESCRIPTING, built from their declarations,
// with the helpers beside their fields and the buttons below them.

#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/tables/messages.h"
#include "ui/browses/browse_messages.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/script/scripting_dialogs.h"
#include "ui/script/update_scripting.h"
#include "ui/script/view_script_keys.h"
#include "ui/script/window_picking.h"

namespace plorix::ui {

namespace {

struct ButtonText {
    const char* text;
    const char* tip;
};

ButtonText textOf(PageButton button) {
    switch (button) {
    case PageButton::KeyList:
        return {"View List of Abbreviations", "The key names to put in square brackets"};
    case PageButton::ChildText:
    case PageButton::ChildTextFocus: return {"Advanced", "Look for a text inside the window as well"};
    case PageButton::StartAdvanced:
        return {"&Advanced", "How the program starts, and whether to wait for its end"};
    case PageButton::SelectMessage: return {"Select &Message", "Choose the stored message to send"};
    }
    return {"", ""};
}

// The file chooser of a field's "&Browse".
struct Chooser {
    const char* title;
    const char* filter;
};
Chooser chooserOf(FieldHelper helper) {
    switch (helper) {
    case FieldHelper::Program:
        return {"Select a Program", "All Files (*);;Scripts (*.sh);;Desktop entries (*.desktop)"};
    case FieldHelper::ScriptFile: return {"Choose a Script", "PX Script Files (*.pxs);;All Files (*)"};
    default: return {"Choose a File", "All Files (*)"};
    }
}

void setLine(QLineEdit* line, const QString& text) {
    line->setText(text);
    line->setModified(true);
    line->setFocus();
}

}  // namespace

QWidget* UpdateScripting::buildPage(const ParameterPage& page) {
    auto* widget = new QWidget(this);
    auto* form = new QFormLayout(widget);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    std::vector<FieldEditor*>& editors = editors_[page.name];
    for (const PageField& field : page.fields) {
        FieldEditor* editor = binder().bind(field.field, field.kind, qs(field.label), widget);
        editor->setToolTip(qs(field.tip));
        if (!field.choices.empty()) {
            QStringList choices;
            if (field.kind == EditorKind::DropList) choices << QString();
            for (std::string_view c : field.choices) choices << qs(c);
            editor->setChoices(choices);
        }
        editors.push_back(editor);
        if (field.kind == EditorKind::Option) {
            form->addRow(editor);
            continue;
        }
        auto* label = new QLabel(qs(field.label), widget);
        label->setBuddy(editor->control());
        addHelper(field, editor, widget);
        form->addRow(label, editor);
    }
    if (!page.note.empty()) form->addRow(new QLabel(qs(page.note), widget));
    if (page.buttons.empty()) return widget;
    auto* row = new QHBoxLayout;
    for (PageButton button : page.buttons) row->addWidget(pageButton(button, widget));
    row->addStretch();
    if (std::find(page.buttons.begin(), page.buttons.end(), PageButton::SelectMessage) !=
        page.buttons.end()) {
        sendTo_ = new QLabel(widget);
        subject_ = new QLabel(widget);
        sendTo_->setAccessibleName(QStringLiteral("Send to"));
        subject_->setAccessibleName(QStringLiteral("Subject"));
        form->addRow(QStringLiteral("Send to:"), sendTo_);
        form->addRow(QStringLiteral("Subject:"), subject_);
    }
    form->addRow(row);
    return widget;
}

void UpdateScripting::addHelper(const PageField& field, FieldEditor* editor, QWidget* page) {
    auto* target = qobject_cast<QLineEdit*>(editor->control());
    if (!target) return;
    auto* row = static_cast<QHBoxLayout*>(editor->layout());
    switch (field.helper) {
    case FieldHelper::None: return;
    case FieldHelper::ReadOnly: target->setReadOnly(true); return;
    case FieldHelper::WindowTitle: row->addWidget(windowTitleButton(target, page)); return;
    default: break;
    }
    auto* browse = new QPushButton(QStringLiteral("&Browse"), page);
    browse->setToolTip(QStringLiteral("Choose the file"));
    browse->setAccessibleName(editor->control()->accessibleName() + QStringLiteral(" browse"));
    row->addWidget(browse);
    const FieldHelper helper = field.helper;
    connect(browse, &QPushButton::clicked, this, [this, target, helper] {
        const Chooser chooser = chooserOf(helper);
        const QString path = QFileDialog::getOpenFileName(
            this, QString::fromLatin1(chooser.title), target->text(), QString::fromLatin1(chooser.filter));
        if (path.isEmpty()) return;
        setLine(target, path);
        // A program's folder is where it starts unless the user said otherwise.
        if (QLineEdit* folder = helper == FieldHelper::Program ? line("SCR:PATH") : nullptr;
            folder && folder->text().trimmed().isEmpty())
            setLine(folder, QFileInfo(path).absolutePath());
    });
}

QPushButton* UpdateScripting::pageButton(PageButton button, QWidget* page) {
    const ButtonText text = textOf(button);
    auto* b = new QPushButton(QString::fromLatin1(text.text), page);
    b->setToolTip(QString::fromLatin1(text.tip));
    b->setAccessibleName(QString::fromLatin1(text.text).remove('&'));
    connect(b, &QPushButton::clicked, this, [this, button] { pressed(button); });
    return b;
}

void UpdateScripting::pressed(PageButton button) {
    switch (button) {
    case PageButton::KeyList:
        if (auto name = viewScriptKeys(prompter(), this); name && line(keystrokesField()))
            line(keystrokesField())->insert(*name);
        return;
    case PageButton::StartAdvanced: {
        StartProgramAdvanced dialog(aside_, this);
        if (dialog.exec() == QDialog::Accepted) dialog.store(aside_);
        return;
    }
    case PageButton::ChildText:
    case PageButton::ChildTextFocus: {
        const bool focus = button == PageButton::ChildTextFocus;
        QLineEdit* title = line(
            focus ? "SCR:FOCUSONWINDOW"
                  : (action_ == QStringLiteral("Wait") ? "SCR:WAITFORWINDOW" : "SCR:WINDOWTITLETOCHECKFOR"));
        auto& text = focus ? aside_.WAITFORWINDOW : aside_.FOCUSONWINDOW;
        ChildTextDialog dialog(qs(text.str()), title ? title->text() : QString(),
                               focus ? "UpdateScriptingGetChildFocus" : "UpdateScriptingGetChild", this);
        dialog.exec();
        text = dialog.text().toStdString();
        return;
    }
    case PageButton::SelectMessage:
        if (auto id = selectMessage(prompter(), this)) {
            if (QLineEdit* number = line("SCR:EMAILID")) setLine(number, QString::number(*id));
            showMessage();
        }
        return;
    }
}

void UpdateScripting::showMessage() {
    if (!sendTo_) return;
    QLineEdit* number = nullptr;
    for (FieldEditor* e : editors_.at("Send Email"))
        if (e->field().name == "SCR:EMAILID") number = qobject_cast<QLineEdit*>(e->control());
    const std::int32_t id = number ? number->text().toInt() : 0;
    QString to = QStringLiteral("(no message chosen)"), subject;
    if (id != 0) {
        auto messages = ownTable(data::Messages::schema(), prompter());
        messages->rec<data::Messages>().EMAILID = id;
        if (messages->isOpen() && messages->get(data::keys::Messages::KEYEMAILID) == store::kNoError) {
            to = qs(messages->rec<data::Messages>().EMAILTO.str());
            subject = qs(messages->rec<data::Messages>().SUBJECT.str());
        } else {
            to = QStringLiteral("(no such message)");
        }
    }
    sendTo_->setText(to);
    subject_->setText(subject);
}

}  // namespace plorix::ui
