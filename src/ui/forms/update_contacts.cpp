#include "ui/forms/update_contacts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/contact_rules.h"
#include "data/tables/contact_categories.h"
#include "data/warnings.h"
#include "settings/settings.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/forms/related_tasks.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/numbered_form.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Contact;

constexpr std::string_view kCategoryField = "C_:CONTACTCATEGORY";

struct Row {
    std::string_view field;
    std::string_view label;
    std::string_view tip;
};
constexpr Row kRows[] = {
    {"C_:LASTNAME", "&Last Name:", ""},
    {"C_:FIRSTNAME", "&First Name:", ""},
    {kCategoryField, "Contact Category:", ""},
    {"C_:ADDRESSLINE1", "Address Line 1:", ""},
    {"C_:ADDRESSLINE2", "Address Line 2:", ""},
    {"C_:ADDRESSLINE3", "&Address Line 3:", "Enter up to 30 characters"},
    {"C_:POSTALCODE", "&Postal Code:", ""},
    {"C_:WORKDAYPHONE", "&Work/Day Phone:", ""},
    {"C_:HOMEEVENINGPHONE", "&Home/Evening Phone:", ""},
    {"C_:FAX", "&Fax:", ""},
    {"C_:OTHERPHONE", "&Other Phone:", ""},
    {"C_:EMAIL", "&Email:", ""},
    {"C_:WEBSITE", "&Web Site:", ""},
};

}  // namespace

UpdateContacts::UpdateContacts(store::Table& contacts, data::FormAction action, Prompter& prompter,
                               QWidget* parent)
    : UpdateForm(contacts, action, qs(data::formCaption(action, data::contactForm())), "UpdateContacts",
                 prompter, parent, QStringLiteral("Update the Contact File")) {
    setRules(&data::contactForm());
    tabs_ = new QTabWidget(this);
    body().addWidget(tabs_);
    auto* general = new QWidget(tabs_);
    tabs_->addTab(general, QStringLiteral("General"));
    auto* form = new QFormLayout(general);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    for (const Row& row : kRows) {
        const EditorKind kind = row.field == kCategoryField ? EditorKind::DropList : EditorKind::Text;
        FieldEditor* editor = binder().bind(row.field, kind, qs(row.label), general);
        editor->control()->setToolTip(qs(row.tip));
        auto* label = new QLabel(qs(row.label), general);
        label->setBuddy(editor->control());
        form->addRow(label, editor);
    }
    auto* notes = new QWidget(tabs_);
    tabs_->addTab(notes, QStringLiteral("Notes"));
    (new QVBoxLayout(notes))
        ->addWidget(binder().bind("C_:NOTES", EditorKind::Memo, QStringLiteral("Notes"), notes));
    tabs_->addTab(new RelatedTasks(contact().CLIENTID, this->prompter(), tabs_),
                  QStringLiteral("Related Tasks"));

    QWidget* name = binder().editor("C_:LASTNAME")->control();
    name->setMinimumWidth(name->fontMetrics().averageCharWidth() * 40);
    // A category may be typed as well as chosen.
    auto* category = static_cast<QComboBox*>(binder().editor(kCategoryField)->control());
    category->setEditable(true);
    category->setInsertPolicy(QComboBox::NoInsert);
    category->lineEdit()->setMaxLength(static_cast<int>(binder().editor(kCategoryField)->field().capacity));
    connect(category->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (!asking_) checkCategory();
    });
    fillCategories();
    showRecord();
}

void UpdateContacts::fillCategories() {
    categories_.clear();
    auto list = ownTable(data::ContactCategories::schema(), prompter());
    list->setStart(0);
    while (list->next() == store::kNoError)
        categories_ << qs(list->rec<data::ContactCategories>().CONTACTCATEGORY.str());
    if (list->errorCode() != store::kRecordNotAvailable)
        data::standardWarning(prompter(), data::Warning::RecordRetrievalError, "ContactCategories");
    QStringList choices = QStringList{QString()} + categories_;
    // The contact's own stays offered even when it was removed from the list.
    const QString own = qs(contact().CONTACTCATEGORY.str());
    if (!choices.contains(own, Qt::CaseInsensitive)) choices << own;
    FieldEditor* editor = binder().editor(kCategoryField);
    const QString shown = editor->text();
    editor->setChoices(choices);
    editor->setText(shown);
}

bool UpdateContacts::checkCategory() {
    FieldEditor* editor = binder().editor(kCategoryField);
    const QString typed = editor->text().trimmed();
    if (typed.isEmpty() || categories_.contains(typed, Qt::CaseInsensitive)) return true;
    asking_ = true;
    bool added = false;
    if (prompter().message("Category not found", "Add new category?", Icon::Question, kYes | kNo, kYes) ==
        kYes)
        added = addContactCategory(typed, prompter(), this);
    if (added) {
        fillCategories();
        // As the list spells it.
        editor->setText(categories_.filter(typed, Qt::CaseInsensitive).value(0, typed));
    }
    editor->control()->setFocus();
    asking_ = false;
    return added;
}

bool UpdateContacts::prepareSave() {
    FieldEditor* email = binder().editor("C_:EMAIL");
    if (data::hasControlCharacter(email->text().toStdString())) {
        prompter().message(data::kBadAddressTitle, data::badAddressText("Email:"), Icon::Warning, kOk, kOk);
        email->control()->setFocus();
        return false;
    }
    return checkCategory();
}

// The number was reserved when the form opened: every save rewrites it.
int UpdateContacts::save() {
    if (unchanged()) return data::kWritten;
    return data::saveRecord(table(), prompter(), data::FormAction::Changing, original(), data::contactForm(),
                            true);
}

bool updateContact(data::FormAction action, std::int64_t position, const data::Contact& seed,
                   Prompter& prompter, QWidget* parent) {
    return editNumbered(
        Contact::schema(), action, position, prompter,
        [&](void* record) {
            auto& c = *static_cast<Contact*>(record);
            c = seed;
            c.USER = settings::ownerValue();
        },
        [&](store::Table& table, data::FormAction how) {
            UpdateContacts form(table, how, prompter, parent);
            return form.exec() == QDialog::Accepted;
        });
}

}  // namespace plorix::ui
