#include "app/scheduler_engine.h"

#include "data/process_tables.h"
#include "data/tables.h"
#include "platform/desktop.h"
#include "scheduler/fire.h"
#include "scheduler/reminder.h"
#include "script/mail_sender.h"
#include "script/program_actions.h"
#include "script/script_items.h"
#include "settings/settings.h"

namespace plorix::app {

SchedulerEngine::SchedulerEngine(const Clock& clock, Prompter& prompter, EngineFrontEnd frontEnd)
    : clock_(clock), prompter_(prompter), frontEnd_(std::move(frontEnd)) {
    // The tables the tick works on stay open while the program runs.
    for (const store::TableSchema* schema :
         {&data::Clipboard::schema(), &data::Configuration::schema(), &data::Messages::schema(),
          &data::Schedule::schema(), &data::Scripting::schema(), &data::WindowLookup::schema()}) {
        tables_.emplace_back(data::processTable(*schema), prompter_);
    }
    settings::startUpSettings(prompter_);

    script::ScriptServices services;
    services.clock = &clock_;
    services.prompter = &prompter_;
    services.mail = &script::processMailSender();
    services.waitYielding = frontEnd_.waitYielding;
    services.onKeystrokePass = frontEnd_.onKeystrokePass;
    stepper_ = std::make_unique<script::ScriptStepper>(queue_, services);

    context_.reset(new scheduler::FireContext{
        clock_, prompter_, settings::settings(), data::processTable<data::Schedule>(),
        data::processTable<data::Scripting>(), *platform::desktop().sound, schedulerHooks()});
    tick_ = std::make_unique<scheduler::FrameTick>(*context_, tickHooks());
    clipboard_ = std::make_unique<scheduler::ClipboardMonitor>(data::processTable<data::Clipboard>(), clock_);
    clipboard_->setOnChange(frontEnd_.clipboardChanged);
    windows_ = std::make_unique<scheduler::WindowMonitor>(data::processTable<data::WindowLookup>(), clock_);
}

SchedulerEngine::~SchedulerEngine() = default;

scheduler::SchedulerHooks SchedulerEngine::schedulerHooks() {
    scheduler::SchedulerHooks hooks;
    hooks.showReminder = frontEnd_.showReminder;
    hooks.openReminders = scheduler::openReminderWindows;
    hooks.startProgram = [this](std::int32_t id, std::string_view command, std::string_view folder) {
        startProgram(id, command, folder);
    };
    hooks.scriptQueued = [this] { return !queue_.empty(); };
    hooks.bringFrameBack = frontEnd_.bringFrameBack;
    hooks.deleteScript = [this](std::int32_t id) { script::deleteScript(id, prompter_); };
    hooks.firing = frontEnd_.firing;
    return hooks;
}

scheduler::TickReport SchedulerEngine::tick() {
    scheduler::TickReport report = tick_->tick();
    if (report.scheduleChanged && frontEnd_.scheduleChanged) frontEnd_.scheduleChanged();
    return report;
}

scheduler::TickHooks SchedulerEngine::tickHooks() {
    scheduler::TickHooks hooks;
    hooks.clipboardCheck = [this] { return clipboard_->step(); };
    hooks.windowMonitorPass = [this] { return windows_->step(settings::settings().maxWindows); };
    hooks.scriptStep = [this] {
        stepper_->step();
        return stepper_->takeProgressText();
    };
    hooks.trayChanged = frontEnd_.trayChanged;
    hooks.watchSchedule = true;
    return hooks;
}

void SchedulerEngine::startProgram(std::int32_t id, std::string_view command, std::string_view folder) {
    script::ProgramStart start;
    start.command = std::string(command);
    start.folder = std::string(folder);
    start.reportFailure = true;
    script::programActions().startProgram(start, prompter_);
    if (id != 0) stepper_->loadScheduledScript(id);
}

void SchedulerEngine::runNow(const data::Schedule& entry) {
    context_->schedule.rec<data::Schedule>() = entry;
    scheduler::runNow(*context_);
}

void SchedulerEngine::followSettings() { state().active = settings::settings().StartUpActive; }

void advanceTrayAnimation(scheduler::FrameState& state) {
    const auto phases = static_cast<int>(scheduler::kAnimationIcons.size());
    state.animationStep = state.animationStep % phases + 1;
    state.currentIcon = scheduler::kAnimationIcons[static_cast<std::size_t>(state.animationStep - 1)];
}

}  // namespace plorix::app
