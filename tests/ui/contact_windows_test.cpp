// The address book: a new contact related to a task through the link
// form and the task picker (and the links gone again with a cancelled
// contact), the card copied to the clipboard, a category typed that is not
// in the list, and the refusals that leave the file as it was.

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>

#include "data/tables/contact.h"
#include "data/tables/contact_categories.h"
#include "data/tables/link.h"
#include "data/tables/schedule.h"
#include "kit_rig.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/browses/browse_contacts.h"
#include "ui/forms/related_tasks.h"
#include "ui/forms/update_contacts.h"
#include "ui/forms/update_link.h"
#include "ui/kit/record_table_model.h"

namespace plorix::ui {
namespace {

using data::Contact;
using test::named;

class ContactWindowsTest : public test::WindowTest {
protected:
    std::unique_ptr<store::Table> contacts = table(Contact::schema(), prompter);
    std::unique_ptr<store::Table> links = table(data::Link::schema(), prompter);

    void addTask(std::int32_t id, const std::string& description) {
        auto tasks = table(data::Schedule::schema(), prompter);
        store::clearRecord(data::Schedule::schema(), tasks->buffer());
        auto& t = tasks->rec<data::Schedule>();
        t.ID = id;
        t.DESCRIPTION = description;
        t.DATE = makeDate(6, 3, 2027);
        t.TIME = makeTime(14, 0);
        ASSERT_EQ(tasks->add(), store::kNoError);
    }
    void addCategory(const std::string& name) {
        auto categories = table(data::ContactCategories::schema(), prompter);
        categories->rec<data::ContactCategories>().CONTACTCATEGORY = name;
        ASSERT_EQ(categories->add(), store::kNoError);
    }
    Contact firstContact() {
        contacts->setStart(data::keys::Contact::KEYCLIENTID);
        EXPECT_EQ(contacts->next(), store::kNoError);
        return contacts->rec<Contact>();
    }
    // Fills the new contact's name in the form the browse opens, then `more`.
    void addContact(BrowseContacts& browse, const std::function<void(UpdateContacts&)>& more) {
        inForm<UpdateContacts>(browse.view(), Qt::Key_Insert, [&](UpdateContacts& form) {
            form.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
            typeInto(named(&form, "Last Name"), "Lovelace");
            typeInto(named(&form, "First Name"), "Ada");
            more(form);
        });
    }
};

TEST_F(ContactWindowsTest, AContactIsRelatedToATaskThroughTheLinkFormAndCopiedToTheClipboard) {
    addTask(7, "Quarterly review");
    auto* browse = new BrowseContacts(prompter);
    browse->show();
    addContact(*browse, [&](UpdateContacts& form) {
        EXPECT_EQ(form.windowTitle(), "Update the Contact File");
        typeInto(named(&form, "Email"), "ada@example.org");
        form.tabs().setCurrentIndex(2);
        auto* related = form.findChild<RelatedTasks*>();
        ASSERT_NE(related, nullptr);
        inForm<UpdateLink>(*named<QPushButton>(related, "Insert"), Qt::Key_Space, [&](UpdateLink& link) {
            EXPECT_EQ(link.windowTitle(), "Update the Link File");
            whenModal([](QWidget* picker) {
                EXPECT_EQ(picker->windowTitle(), "Select Task");
                QTest::keyClick(picker->findChild<QTableView*>(), Qt::Key_Return);
            });
            named<QPushButton>(&link, "Relate Task to Contact")->click();
            EXPECT_EQ(named<QLineEdit>(&link, "Description")->text(), "Quarterly review");
            QTest::keyClick(&link, Qt::Key_Return);
        });
        ASSERT_EQ(related->list().topLevelItemCount(), 1);
        EXPECT_EQ(related->list().topLevelItem(0)->text(2), "Quarterly review");
        EXPECT_EQ(related->list().topLevelItem(0)->text(1), "2:00PM");
        QTest::keyClick(&form, Qt::Key_Return);
    });
    const Contact ada = firstContact();
    EXPECT_EQ(ada.CLIENTID, 1);
    EXPECT_EQ(ada.EMAIL, "ada@example.org");
    ASSERT_EQ(links->records(), 1);
    links->setStart(0);
    ASSERT_EQ(links->next(), store::kNoError);
    EXPECT_EQ(links->rec<data::Link>().ID, 7);
    EXPECT_EQ(links->rec<data::Link>().CLIENTID, 1);
    EXPECT_TRUE(prompter.shown().empty());

    // The card, thirteen lines, labelled where the list says so.
    named<QPushButton>(browse, "Copy to Clipboard")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Lovelace\nAda\n\n\n\n\nWork Phone:\nHome Phone:\nFax:\nOther Phone:\nEmail: ada@example.org\n"
              "Web Site:\nCategory:\n");

    // A contact left without a save takes its reserved number and links along.
    addContact(*browse, [&](UpdateContacts& form) {
        auto* related = form.findChild<RelatedTasks*>();
        for (int time = 0; time < 2; ++time) {
            inForm<UpdateLink>(*named<QPushButton>(related, "Insert"), Qt::Key_Space, [&](UpdateLink& link) {
                link.relate(7);
                QTest::keyClick(&link, Qt::Key_Return);
                if (link.isVisible()) named<QPushButton>(&link, "Cancel")->click();
            });
        }
        // The second time the same task was refused.
        EXPECT_EQ(prompter.shown().back().title, "Duplicate Key Error");
        EXPECT_EQ(prompter.shown().back().text,
                  "Adding this record creates a duplicate entry for the key:L:KeyClient");
        EXPECT_EQ(related->list().topLevelItemCount(), 1);
        EXPECT_EQ(links->records(), 2);
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_EQ(contacts->records(), 1);
    EXPECT_EQ(links->records(), 1);
    browse->close();
}

TEST_F(ContactWindowsTest, ATypedCategoryIsAddedOnlyWhenAskedAndCannotGoWhileContactsUseIt) {
    addCategory("Family");
    auto* browse = new BrowseContacts(prompter);
    browse->show();
    addContact(*browse, [&](UpdateContacts& form) {
        FieldEditor* category = form.binder().editor("C_:CONTACTCATEGORY");
        prompter.answerNext(kNo);
        typeInto(category->control(), "Club");
        QTest::keyClick(&form, Qt::Key_Return);  // OK asks too
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(category->control()->isAncestorOf(form.focusWidget()) ||
                    form.focusWidget() == category->control());
        // Yes opens the category form with the name typed; its OK adds it.
        prompter.answerNext(kYes);
        whenModal([](QWidget* categoryForm) { QTest::keyClick(categoryForm, Qt::Key_Return); });
        QTest::keyClick(&form, Qt::Key_Return);
    });
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].title, "Category not found");
    EXPECT_EQ(prompter.shown()[0].text, "Add new category?");
    EXPECT_EQ(firstContact().CONTACTCATEGORY, "Club");
    EXPECT_EQ(table(data::ContactCategories::schema(), prompter)->records(), 2);

    // In use: neither deleted nor renamed.
    prompter.clear();
    auto* categories = new BrowseContactCategories(prompter);
    categories->show();
    categories->view().selectRow(0);
    EXPECT_EQ(categories->model().text(0, 0), "Club");
    prompter.answerNext(kOk);  // yes, delete it
    QTest::keyClick(&categories->view(), Qt::Key_Delete);
    EXPECT_EQ(prompter.shown().back().title, "Referential Integrity Delete Error");
    inForm<QDialog>(categories->view(), Qt::Key_Return, [&](QDialog& form) {
        typeInto(named(&form, "Contact Category"), "Clubs");
        QTest::keyClick(&form, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        named<QPushButton>(&form, "Cancel")->click();
    });
    EXPECT_EQ(prompter.shown().back().title, "Referential Integrity Update Error");
    EXPECT_EQ(categories->model().text(0, 0), "Club");
    EXPECT_EQ(firstContact().CONTACTCATEGORY, "Club");
    categories->close();
    browse->close();
}

TEST_F(ContactWindowsTest, AnEmailAddressWithAControlCharacterIsRefusedUnwritten) {
    auto* browse = new BrowseContacts(prompter);
    browse->show();
    addContact(*browse, [&](UpdateContacts& form) {
        form.binder().editor("C_:EMAIL")->setText("ada@example.org\tbcc");
        QTest::keyClick(&form, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.focusWidget(), named(&form, "Email"));
        named<QPushButton>(&form, "Cancel")->click();
    });
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Invalid Address");
    EXPECT_EQ(contacts->records(), 0);
    browse->close();
}

}  // namespace
}  // namespace plorix::ui
