// SETUP: controls made from the settings declarations, OK's write-back in
// its fixed order, the refusal in "inactivated" mode, the housekeeping
// buttons and a picture of the window.

#include "ui/setup_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/configuration.h"
#include "data/tables/todo.h"
#include "qt_test_app.h"
#include "settings/configuration.h"
#include "settings/setting_table.h"
#include "support/temp_dir.h"

namespace plorix::ui {
namespace {

class SetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        setProcessPrompter(&prompter);
    }
    void TearDown() override {
        setProcessPrompter(nullptr);
        data::resetProcessTables();
        data::resetUseCounts();
    }

    // Every Configuration record as key=value, in the order they were added.
    std::vector<std::string> stored() {
        store::Table& table = settings::configurationTable();
        const data::TableUse use(table, prompter);
        std::vector<std::string> out;
        table.setStart(-1);
        while (table.next() == store::kNoError) {
            const auto& r = table.rec<data::Configuration>();
            out.push_back(r.DATATYPE.str() + "=" + r.DATAVALUE.str());
        }
        return out;
    }
    template <typename W>
    W* control(ui::Setup& setup, std::string_view key) {
        auto* w = qobject_cast<W*>(setup.controls().control(key));
        EXPECT_NE(w, nullptr) << key;
        return w;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    settings::Settings live;
};

TEST_F(SetupTest, OkWritesEveryKeyInItsOrderThenAChangedDateFormat) {
    ui::Setup setup(live, prompter);
    control<QCheckBox>(setup, "LogEvents")->setChecked(true);
    control<QCheckBox>(setup, "StartUpSchedule")->setChecked(false);
    control<QSpinBox>(setup, "RepeatAlarmInterval")->setValue(3);
    control<QSpinBox>(setup, "BurstSize")->setValue(0);
    control<QLineEdit>(setup, "Sender")->setText("me@example.org");
    auto* dates = control<QComboBox>(setup, "DateFormat");
    EXPECT_EQ(dates->currentText(), "OCT 31,1959");
    dates->setCurrentText("October 31, 1959");
    setup.accept();

    std::vector<std::string> keys;
    for (std::string_view key : settings::setupWriteOrder())
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.emplace_back(key);
    keys.emplace_back("DateFormat");
    const std::vector<std::string> records = stored();
    ASSERT_EQ(records.size(), keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(records[i].substr(0, records[i].find('=')), keys[i]) << i;

    auto value = [&](std::string_view key) {
        for (const std::string& r : records)
            if (r.substr(0, r.find('=')) == key) return r.substr(r.find('=') + 1);
        return std::string("(absent)");
    };
    EXPECT_EQ(value("LogEvents"), "1");
    EXPECT_EQ(value("StartUpSchedule"), "1");  // stored inverted
    EXPECT_EQ(value("StartUpActive"), "0");
    EXPECT_EQ(value("RepeatAlarmInterval"), "5");
    EXPECT_EQ(value("Sender"), "me@example.org");
    EXPECT_EQ(value("DateFormat"), "d4");

    EXPECT_TRUE(live.LogEvents);
    EXPECT_FALSE(live.StartUpSchedule);
    EXPECT_EQ(live.RepeatAlarmInterval, 5);
    EXPECT_EQ(live.BurstSize, 7);  // 0 is read back as 7
    EXPECT_EQ(live.DateFormat, "d4");
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Information"});
}

TEST_F(SetupTest, LoginStartWritesTheAutostartEntryForThisFolderAndUntickedRemovesIt) {
    const std::filesystem::path entry = dir.path() / "autostart" / "plorix.desktop";
    {
        ui::Setup setup(live, prompter);
        ASSERT_FALSE(setup.loginStart()->isChecked());
        setup.loginStart()->setChecked(true);
        setup.accept();
    }
    ASSERT_TRUE(std::filesystem::exists(entry));
    std::ifstream in(entry);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find(" -d \"" + std::filesystem::current_path().string() + "\"\n"), std::string::npos)
        << text;

    ui::Setup again(live, prompter);
    EXPECT_TRUE(again.loginStart()->isChecked());
    again.loginStart()->setChecked(false);
    again.accept();
    EXPECT_FALSE(std::filesystem::exists(entry));
}

TEST_F(SetupTest, UnchangedStoredDateFormatIsNotRewrittenAndCancelStoresNothing) {
    live.DateFormat = "D3";
    {
        ui::Setup setup(live, prompter);
        control<QCheckBox>(setup, "LogEvents")->setChecked(true);
        setup.reject();
    }
    EXPECT_TRUE(stored().empty());
    EXPECT_FALSE(live.LogEvents);

    ui::Setup setup(live, prompter);
    setup.accept();
    EXPECT_TRUE(prompter.shown().empty());
    for (const std::string& r : stored()) EXPECT_NE(r.rfind("DateFormat=", 0), 0u) << r;
    EXPECT_EQ(live.DateFormat, "D3");
}

TEST_F(SetupTest, InactivatedModeRefusesToOpen) {
    live.inactivated = true;
    QString title, text;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    });
    EXPECT_FALSE(runSetup(nullptr, {}, live));
    EXPECT_EQ(title, "Warning");
    EXPECT_EQ(text, "Configuration cannot be changed in \"inactivated\" mode.");
    EXPECT_TRUE(stored().empty());
}

TEST_F(SetupTest, ControlsFollowTheDeclarationsOnTheirTabs) {
    ui::Setup setup(live, prompter);
    EXPECT_EQ(setup.windowTitle(), "Plorix Setup (Preferences)");
    QStringList tabs;
    for (int i = 0; i < setup.tabs()->count(); ++i) tabs << setup.tabs()->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Start Up", "General", "Messages", "History", "Scripting", "Clipboard",
                                 "Email", "Housekeeping"}));

    for (const settings::SettingDecl& decl : settings::settingDecls()) {
        QWidget* w = setup.controls().control(decl.key);
        if (decl.tab.empty()) {
            EXPECT_EQ(w, nullptr) << decl.key;  // kept as loaded, never shown
            continue;
        }
        ASSERT_NE(w, nullptr) << decl.key;
        // On its own tab, with its prompt as the box's text or its label.
        const int tab = tabs.indexOf(QString::fromUtf8(decl.tab.data(), decl.tab.size()));
        EXPECT_TRUE(setup.tabs()->widget(tab)->isAncestorOf(w)) << decl.key;
        QString prompt;
        if (auto* box = qobject_cast<QCheckBox*>(w)) prompt = box->text();
        for (QLabel* label : setup.findChildren<QLabel*>())
            if (label->buddy() == w) prompt = label->text();
        EXPECT_EQ(prompt.toStdString(), decl.prompt);
    }
    // A text takes no more than the data file keeps (the mail host's 255
    // would be cut to 80 there).
    auto* host = qobject_cast<QLineEdit*>(setup.controls().control("Host"));
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->maxLength(), 80);

    setup.button("Info")->click();
    ASSERT_EQ(prompter.titles(), std::vector<std::string>{"Info"});
    EXPECT_NE(prompter.shown()[0].text.find("[DATE]"), std::string::npos);
}

TEST_F(SetupTest, HousekeepingButtonsAskAndWorkOnTheirTables) {
    {
        store::Table& todo = data::processTable<data::Todo>();
        const data::TableUse use(todo, prompter);
        for (const char* what : {"Call back", "Pay bill"}) {
            store::clearRecord(todo.schema(), &todo.rec<data::Todo>());
            todo.rec<data::Todo>().TODO = what;
            ASSERT_EQ(todo.add(), store::kNoError);
        }
    }
    int emptied = 0;
    ui::Setup setup(live, prompter, {[&] { ++emptied; }});
    prompter.answerNext(kNo);
    setup.button("Clear To Do list")->click();
    prompter.answerNext(kYes);
    setup.button("Clear To Do list")->click();
    EXPECT_EQ(prompter.titles(), (std::vector<std::string>{"Housekeeping", "Housekeeping", "Housekeeping"}));
    EXPECT_EQ(prompter.shown()[2].text, "To Do list removed.");
    {
        store::Table& todo = data::processTable<data::Todo>();
        const data::TableUse use(todo, prompter);
        todo.setStart(-1);
        EXPECT_NE(todo.next(), store::kNoError);
    }

    prompter.answerNext(kYes);
    setup.button("Clear current script queue")->click();
    EXPECT_EQ(emptied, 1);
    ui::Setup withoutQueue(live, prompter);
    EXPECT_FALSE(withoutQueue.button("Clear current script queue")->isEnabled());
}

}  // namespace
}  // namespace plorix::ui
