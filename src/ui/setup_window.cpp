#include "ui/setup_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <filesystem>

#include "data/process_tables.h"
#include "data/tables/schedule.h"
#include "data/tables/todo.h"
#include "settings/housekeeping.h"
#include "settings/login_start.h"
#include "settings/setup.h"
#include "ui/qt_prompter.h"
#include "ui/window_geometry.h"
#include "ui/qt_text.h"

namespace plorix::ui {
namespace {

constexpr std::string_view kTitle = "Plorix Setup (Preferences)";
constexpr std::string_view kPositionSection = "Setup";

// The tabs in the order shown; the settings name the tab they belong to.
constexpr std::array<std::string_view, 7> kSettingTabs = {
    "Start Up", "General", "Messages", "History", "Scripting", "Clipboard", "Email",
};
constexpr std::string_view kHousekeepingTab = "Housekeeping";
constexpr std::string_view kLoginStartTab = "General";

struct HousekeepingButton {
    std::string_view text;
    void (Setup::*run)();
    bool needsQueue;  // only there when the frame lends its script queue
};

}  // namespace

Setup::Setup(settings::Settings& live, Prompter& prompter, SetupHooks hooks, QWidget* parent)
    : QDialog(parent),
      live_(live),
      edited_(settings::beginSetup(live)),
      prompter_(prompter),
      hooks_(std::move(hooks)) {
    setWindowTitle(qs(kTitle));
    tabs_ = new QTabWidget(this);
    // Every tab in sight: the window is as wide as its tab titles.
    tabs_->tabBar()->setUsesScrollButtons(false);

    auto* info = new QPushButton(tr("Info"));
    info->setObjectName("Info");
    connect(info, &QPushButton::clicked, this, [this] { settings::showTranslateFilenamesInfo(prompter_); });

    for (std::string_view tab : kSettingTabs) {
        auto* page = new QWidget;
        auto* form = new QFormLayout(page);
        controls_.addTab(tab, *form, {"TranslateFilenames", info});
        if (tab == kLoginStartTab) {
            loginStart_ = new QCheckBox(tr("Start Plorix when I log in"), page);
            loginStart_->setChecked(settings::startsAtLogin());
            form->addRow(loginStart_);
        }
        tabs_->addTab(page, qs(tab));
    }
    tabs_->addTab(makeHousekeepingTab(), qs(kHousekeepingTab));
    controls_.show(edited_);
    // Without a tray, closing the window must end the program: it would run on out of reach.
    if (QWidget* keep = controls_.control("KeepInTray"); keep && !QSystemTrayIcon::isSystemTrayAvailable()) {
        keep->setEnabled(false);
        keep->setToolTip(tr("This desktop has no tray to keep Plorix in."));
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &Setup::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &Setup::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    rememberPosition(*this, std::string(kPositionSection));
}

QWidget* Setup::makeHousekeepingTab() {
    static constexpr std::array<HousekeepingButton, 5> kButtons = {{
        {"Clear all disabled tasks", &Setup::clearDisabledTasks, false},
        {"Clear all completed tasks", &Setup::clearCompletedTasks, false},
        {"Clear To Do list", &Setup::clearTodoList, false},
        {"Reset saved window settings", &Setup::resetWindowSettings, false},
        {"Clear current script queue", &Setup::clearScriptQueue, true},
    }};
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    for (const HousekeepingButton& b : kButtons) {
        auto* button = new QPushButton(qs(b.text), page);
        connect(button, &QPushButton::clicked, this, b.run);
        button->setEnabled(!b.needsQueue || hooks_.emptyScriptQueue);
        column->addWidget(button);
    }
    column->addStretch();
    return page;
}

QPushButton* Setup::button(std::string_view text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == qs(text)) return b;
    return nullptr;
}

void Setup::accept() {
    if (loginStart_->isChecked() != settings::startsAtLogin()) {
        const std::string why = settings::setStartAtLogin(
            loginStart_->isChecked(), QCoreApplication::applicationFilePath().toStdString(),
            std::filesystem::current_path().string());
        if (!why.empty()) prompter_.message(kTitle, why, Icon::Warning, kOk, kOk);
    }
    controls_.collect(edited_);
    settings::applySetup(prompter_, edited_, live_);
    QDialog::accept();
}

void Setup::clearDisabledTasks() {
    settings::clearRecords(settings::Clearance::DisabledTasks, data::processTable<data::Schedule>(),
                           prompter_);
}

void Setup::clearCompletedTasks() {
    settings::clearRecords(settings::Clearance::CompletedTasks, data::processTable<data::Schedule>(),
                           prompter_);
}

void Setup::clearTodoList() {
    settings::clearRecords(settings::Clearance::TodoList, data::processTable<data::Todo>(), prompter_);
}

void Setup::resetWindowSettings() { settings::resetWindowSettings(prompter_, live_.iniFile); }

void Setup::clearScriptQueue() { settings::clearScriptQueue(prompter_, hooks_.emptyScriptQueue); }

bool runSetup(QWidget* parent, SetupHooks hooks, settings::Settings& live) {
    QtPrompter prompter(parent);
    if (settings::setupRefused(prompter, live)) return false;
    Setup dialog(live, prompter, std::move(hooks), parent);
    prompter.setParent(&dialog);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace plorix::ui
