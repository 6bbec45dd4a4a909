#include "ui/forms/update_messages.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "data/contact_rules.h"
#include "data/tables/contact.h"
#include "data/tables/messages.h"
#include "runtime/fixed_text.h"
#include "settings/configuration.h"
#include "ui/browses/browse_contacts.h"
#include "ui/forms/send_now.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/numbered_form.h"
#include "ui/pickers/select_contact_categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Messages;

constexpr std::string_view kRequiredTitle = "Required Field";

enum class Kind { Email, News, MassMailing };

Kind kindOf(const QString& type) {
    if (type.compare(qs(data::kNewsType), Qt::CaseInsensitive) == 0) return Kind::News;
    if (type.compare(qs(data::kMassMailingType), Qt::CaseInsensitive) == 0) return Kind::MassMailing;
    return Kind::Email;
}

// The rows of the "General" tab: field, kind, label, tip.
struct Row {
    std::string_view field;
    EditorKind kind;
    std::string_view label;
    std::string_view tip;
};
constexpr Row kRows[] = {
    {"M_:MAILTYPE", EditorKind::DropList, "Mail Type:", ""},
    {"M_:EMAILTO", EditorKind::Text, "*To:", ""},
    {"M_:EMAILTOGROUP", EditorKind::Text, "Cate&gory:", "Email to Group (Contact Category)"},
    {"M_:EMAILTONAME", EditorKind::Text, "Name:", ""},
    {"M_:CC", EditorKind::Text, "CC:", ""},
    {"M_:BCC", EditorKind::Text, "BCC:", ""},
    {"M_:SUBJECT", EditorKind::Text, "*Subject: ", ""},
    {"M_:ATTACHMENT", EditorKind::Text, "Attachment:", ""},
};

// The fields each mail type shows besides the type, address and subject.
bool shows(Kind kind, std::string_view field) {
    if (field == "M_:EMAILTOGROUP") return kind == Kind::MassMailing;
    if (field == "M_:EMAILTONAME") return kind != Kind::MassMailing;
    if (field == "M_:CC" || field == "M_:BCC") return kind == Kind::Email;
    return true;
}

// What a screen reader calls a field: its label without the required
// mark, the mnemonic and the colon.
QString screenName(const QString& label) {
    QString name = label;
    name.remove('*').remove('&').remove(':');
    return name.trimmed();
}

QToolButton* pickButton(const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setText(QStringLiteral("..."));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    return button;
}

}  // namespace

UpdateMessages::UpdateMessages(store::Table& messages, data::FormAction action, Prompter& prompter,
                               QWidget* parent)
    : UpdateForm(messages, action,
                 action == data::FormAction::Adding ? QStringLiteral("Add Email Message")
                                                    : QStringLiteral("Change Email Message"),
                 "UpdateMessages", prompter, parent),
      sender_(new SendNow(prompter, this)) {
    setRules(&data::messageForm());
    auto* tabs = new QTabWidget(this);
    tabs_ = tabs;
    body().addWidget(tabs);
    auto* general = new QWidget(tabs);
    tabs->addTab(general, QStringLiteral("General"));
    auto* grid = new QGridLayout(general);
    grid->addWidget(new QLabel(QStringLiteral("* indicates required field"), general), 0, 0, 1, 3);
    int line = 1;
    for (const Row& row : kRows) {
        FieldEditor* editor = binder().bind(row.field, row.kind, qs(row.label), general);
        auto* label = new QLabel(qs(row.label), general);
        label->setBuddy(editor->control());
        editor->control()->setToolTip(qs(row.tip));
        editor->control()->setAccessibleName(screenName(label->text()));
        grid->addWidget(label, line, 0);
        grid->addWidget(editor, line, 1);
        if (row.field == "M_:EMAILTO") addressLabel_ = label;
        ++line;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(line, 1);
    contactButton_ = pickButton(QStringLiteral("Select Contact to email"), general);
    categoryButton_ = pickButton(QStringLiteral("Select Contact Category"), general);
    auto* fileButton = pickButton(QStringLiteral("Select file"), general);
    grid->addWidget(contactButton_, 2, 2);
    grid->addWidget(categoryButton_, 3, 2);
    grid->addWidget(fileButton, 8, 2);
    connect(contactButton_, &QToolButton::clicked, this, &UpdateMessages::chooseContact);
    connect(categoryButton_, &QToolButton::clicked, this, &UpdateMessages::chooseCategory);
    connect(fileButton, &QToolButton::clicked, this, &UpdateMessages::chooseFile);

    auto* text = new QWidget(tabs);
    tabs->addTab(text, QStringLiteral("Message"));
    (new QVBoxLayout(text))
        ->addWidget(binder().bind("M_:MESSAGE", EditorKind::Memo, QStringLiteral("Message"), text));

    QStringList mailTypes;
    for (std::string_view type : data::kMailTypes) mailTypes << qs(type);
    field("M_:MAILTYPE")->setChoices(mailTypes);
    QWidget* to = field("M_:EMAILTO")->control();
    to->setMinimumWidth(to->fontMetrics().averageCharWidth() * 50);
    connect(field("M_:MAILTYPE"), &FieldEditor::accepted, this, [this] { applyMailType(true); });
    connect(field("M_:EMAILTO"), &FieldEditor::accepted, this, &UpdateMessages::addressAccepted);
    connect(field("M_:EMAILTOGROUP"), &FieldEditor::accepted, this, &UpdateMessages::categoryAccepted);
    connect(field("M_:ATTACHMENT"), &FieldEditor::accepted, this, &UpdateMessages::attachmentAccepted);

    sendButton_ = new QPushButton(QStringLiteral("&Send Now"), this);
    sendButton_->setAccessibleName(QStringLiteral("Send Now"));
    sendButton_->setToolTip(QStringLiteral("Save the message and send it at once"));
    buttonRow().insertWidget(2, sendButton_);
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->accessibleName() == QStringLiteral("OK")) okButton_ = b;
    connect(sendButton_, &QPushButton::clicked, this, &UpdateMessages::sendNow);
    connect(sender_, &SendNow::finished, this, &UpdateMessages::sendDone);
    showRecord();
    applyMailType(true);
}

bool UpdateMessages::sending() const { return sender_->running(); }

void UpdateMessages::applyMailType(bool fill) {
    const Kind kind = kindOf(field("M_:MAILTYPE")->text());
    static constexpr std::string_view kAddressLabels[] = {"*To:", "*Newsgroup:", "*Primary:"};
    addressLabel_->setText(qs(kAddressLabels[static_cast<int>(kind)]));
    field("M_:EMAILTO")->control()->setAccessibleName(screenName(addressLabel_->text()));
    auto* grid = static_cast<QGridLayout*>(addressLabel_->parentWidget()->layout());
    int line = 1;
    for (const Row& row : kRows) {
        const bool shown = shows(kind, row.field);
        for (int column = 0; column < 3; ++column)
            if (QLayoutItem* item = grid->itemAtPosition(line, column); item && item->widget())
                item->widget()->setVisible(shown);
        ++line;
    }
    contactButton_->setVisible(kind == Kind::Email);
    if (!fill) return;
    FieldEditor* to = field("M_:EMAILTO");
    FieldEditor* group = field("M_:EMAILTOGROUP");
    if (kind == Kind::News && to->text().trimmed().isEmpty())
        to->setText(qs(settings::getSetting("LastNewsgroup")));
    if (kind == Kind::MassMailing && group->text().trimmed().isEmpty()) {
        group->setText(qs(settings::getSetting("LastMassMailing")));
        categoryAccepted();
    }
}

void UpdateMessages::addressAccepted() {
    const QString address = field("M_:EMAILTO")->text().trimmed();
    if (address.isEmpty() || !field("M_:EMAILTONAME")->text().trimmed().isEmpty()) return;
    auto contacts = ownTable(data::Contact::schema(), prompter());
    auto& c = contacts->rec<data::Contact>();
    c.EMAIL = address.toStdString();  // its first 40 characters, as the key holds them
    if (contacts->get(data::keys::Contact::KEYEMAIL) != store::kNoError) return;
    message().CONTACTID = c.CLIENTID;
    field("M_:EMAILTONAME")->setText(qs(data::contactName(c)));
}

void UpdateMessages::categoryAccepted() {
    FieldEditor* to = field("M_:EMAILTO");
    if (!field("M_:EMAILTOGROUP")->text().trimmed().isEmpty() && to->text().trimmed().isEmpty())
        to->setText(qs(data::kNoAddress));
}

void UpdateMessages::attachmentAccepted() {
    const QString path = field("M_:ATTACHMENT")->text().trimmed();
    if (!path.isEmpty() && field("M_:SUBJECT")->text().trimmed().isEmpty())
        field("M_:SUBJECT")->setText(path);
}

void UpdateMessages::chooseContact() {
    const std::optional<data::Contact> contact = selectContact(prompter(), this);
    if (!contact) return;
    message().CONTACTID = contact->CLIENTID;
    field("M_:EMAILTO")->setText(qs(trim(contact->EMAIL.str())));
    field("M_:EMAILTONAME")->setText(qs(data::contactName(*contact)));
}

void UpdateMessages::chooseCategory() {
    const std::optional<QString> category = selectContactCategory(prompter(), this);
    if (!category) return;
    field("M_:EMAILTOGROUP")->setText(*category);
    categoryAccepted();
}

void UpdateMessages::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Choose a File"),
                                                      field("M_:ATTACHMENT")->text().trimmed(),
                                                      QStringLiteral("All Files (*)"));
    if (path.isEmpty()) return;
    field("M_:ATTACHMENT")->setText(path);
    attachmentAccepted();
}

bool UpdateMessages::prepareSave() {
    const Kind kind = kindOf(field("M_:MAILTYPE")->text());
    const std::string_view addresses[] = {"M_:EMAILTO", "M_:CC", "M_:BCC"};
    for (std::string_view name : addresses) {
        FieldEditor* editor = field(name);
        if (!shows(kind, name) || !data::hasControlCharacter(editor->text().toStdString())) continue;
        const QString label = name == "M_:EMAILTO" ? addressLabel_->text() : editor->label();
        prompter().message(data::kBadAddressTitle, data::badAddressText(label.toStdString()), Icon::Warning,
                           kOk, kOk);
        editor->control()->setFocus();
        return false;
    }
    for (std::string_view name : {std::string_view("M_:EMAILTO"), std::string_view("M_:SUBJECT")}) {
        FieldEditor* editor = field(name);
        if (!editor->text().trimmed().isEmpty()) continue;
        const QString label = name == "M_:EMAILTO" ? addressLabel_->text() : editor->label();
        prompter().message(
            kRequiredTitle,
            "Please fill in " + label.mid(1).trimmed().toStdString() + "  Fields marked * are required.",
            Icon::Warning, kOk, kOk);
        editor->control()->setFocus();
        return false;
    }
    return true;
}

// The number was reserved when the form opened: every save rewrites it.
int UpdateMessages::save() {
    if (unchanged()) return data::kWritten;
    return data::saveRecord(table(), prompter(), data::FormAction::Changing, original(), data::messageForm(),
                            true);
}

void UpdateMessages::rememberAddress() {
    const data::Messages& m = message();
    const std::string to = trim(m.EMAILTO.str());
    const std::string group = trim(m.EMAILTOGROUP.str());
    switch (kindOf(qs(m.MAILTYPE.str()).trimmed())) {
    case Kind::Email:
        if (!to.empty()) settings::putSetting("LastEmail", to);
        break;
    case Kind::News:
        if (!to.empty()) settings::putSetting("LastNewsgroup", to);
        break;
    case Kind::MassMailing:
        if (!group.empty()) settings::putSetting("LastMassMailing", group);
        break;
    }
}

void UpdateMessages::accept() {
    if (sending() || !commit()) return;
    rememberAddress();
    QDialog::accept();
}

// While the message is on its way the form stays: its record is rewritten
// with the date it was sent.
void UpdateMessages::reject() {
    if (!sending()) QDialog::reject();
}

void UpdateMessages::sendNow() {
    if (sending() || !saveNow()) return;
    kept_ = true;
    rememberAddress();
    const data::Messages& m = message();
    // A mass mailing goes to its category, not to its "N/A".
    const bool mass = kindOf(qs(m.MAILTYPE.str()).trimmed()) == Kind::MassMailing;
    const QString address = qs(trim(mass ? m.EMAILTOGROUP.str() : m.EMAILTO.str()));
    tabs_->setEnabled(false);
    okButton_->setEnabled(false);
    sendButton_->setEnabled(false);
    sendButton_->setText(QStringLiteral("Sending..."));
    if (!sender_->start(m.EMAILID, address)) sendDone(false);
}

void UpdateMessages::sendDone(bool sent) {
    // The sender stamped the stored record; the form goes on from it.
    if (table().reget(table().position()) == store::kNoError) showRecord();
    applyMailType(false);
    tabs_->setEnabled(true);
    okButton_->setEnabled(true);
    sendButton_->setEnabled(true);
    sendButton_->setText(QStringLiteral("&Send Now"));
    emit sendFinished(sent);
}

bool updateMessage(data::FormAction action, std::int64_t position,
                   const std::function<void(data::Messages&)>& prime, Prompter& prompter, QWidget* parent) {
    return editNumbered(
        Messages::schema(), action, position, prompter,
        [&](void* record) {
            auto& m = *static_cast<Messages*>(record);
            if (prime) prime(m);
            if (m.MAILTYPE.empty()) m.MAILTYPE = data::kEmailType;
        },
        [&](store::Table& table, data::FormAction how) {
            UpdateMessages form(table, how, prompter, parent);
            return form.exec() == QDialog::Accepted || form.kept();
        });
}

}  // namespace plorix::ui
