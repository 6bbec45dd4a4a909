#include "ui/script/browse_script.h"

#include <QEvent>
#include <QEventLoop>
#include <QTableView>

#include "data/warnings.h"
#include "script/item_description.h"
#include "ui/kit/record_table_model.h"
#include "ui/qt_text.h"
#include "ui/script/update_scripting.h"

namespace plorix::ui {

namespace {

using data::Scripting;
using script::MoveDirection;

BrowseSpec scriptSpec() {
    return {.schema = &Scripting::schema(),
            .title = "Script Items",
            .section = "BrowseScript",
            .tabs = {{"Script Items", data::keys::Scripting::KEYID}},
            .columns = {{"SCR:ACTION", "", "Action", 18}, {"", "", "Details", 50}},
            .emptyText = "This task has no script items yet. Press Add to write the first."};
}

constexpr int kDetailsColumn = 1;
// How often the list looks for changes another station made.
constexpr int kWatchMilliseconds = 2000;

}  // namespace

BrowseScript::BrowseScript(const ScriptEditorServices& services, std::int32_t taskId, QWidget* parent)
    : BrowseWindow(scriptSpec(), services.prompter, parent), services_(services), taskId_(taskId) {
    setWindowFlag(Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose);
    // Where the keyboard was before the editor came: a test run gives it back.
    before_ = platform::desktop().windows->foreground();
    model().setDecoration([](const void* r, int column, int role) -> QVariant {
        if (column == kDetailsColumn && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
            return qs(script::itemDescription(*static_cast<const Scripting*>(r)));
        return {};
    });
    setActions({.add = [this] { return addItem(); },
                .edit = [this](const void* r) { return editItem(r); },
                .remove = [this](const void* r) { return removeItem(r); }});
    const auto chosen = [this] { return hasSelection(); };
    const auto any = [this] { return itemCount() > 0; };
    const auto notFirst = [this] { return hasSelection() && !atEnd(true); };
    const auto notLast = [this] { return hasSelection() && !atEnd(false); };
    const auto move = [this](MoveDirection d) { return [this, d] { moveItem(d); }; };
    setButtons({{"&Add", "Add a script item", [this] { insertRecord(); }, {}},
                {"Cop&y", "Copy the highlighted script item", [this] { copyItem(); }, chosen},
                {"&Edit", "Edit the highlighted script item", [this] { changeRecord(); }, chosen},
                {"&Delete", "Delete the highlighted script item", [this] { deleteRecord(); }, chosen},
                {"&Up", "Move record up one", move(MoveDirection::Up), notFirst},
                {"&Top", "Move record to the top", move(MoveDirection::Top), notFirst},
                {"Do&wn", "Move record down one", move(MoveDirection::Down), notLast},
                {"&Bottom", "Move record to the bottom", move(MoveDirection::Bottom), notLast},
                {"&Import", "Import script items from a text file", [this] { chooseImport(); }, {}},
                {"E&xport", "Export the script items to a text file", [this] { chooseExport(); }, any},
                {"Clear", "Clear all script items", [this] { clearItems(); }, any},
                {"&Print", "Print all script items for the current task", [this] { printItems(); }, any},
                {"Test &Run", "Run the script now, as the task would run it", [this] { testRun(); },
                 [this] { return itemCount() > 0 && bool(services_.testRun); }}});
    setMenu({{"&Add", "", [this] { insertRecord(); }, {}},
             {"Cop&y", "", [this] { copyItem(); }, chosen},
             {"&Edit", "", [this] { changeRecord(); }, chosen},
             {"&Delete", "", [this] { deleteRecord(); }, chosen}});
    connect(&watch_, &QTimer::timeout, this, [this] { followOtherStations(); });
    watch_.start(kWatchMilliseconds);
    // Once a test run is over the editor is back in front.
    connect(&testRunEnd_, &QTimer::timeout, this, [this] {
        if (services_.scriptRunning && services_.scriptRunning()) return;
        testRunEnd_.stop();
        // A window that went to the tray meanwhile stays there.
        for (const QPointer<QWidget>& w : steppedAside_)
            if (w && w != this && w->isVisible() && w->isMinimized()) w->showNormal();
        steppedAside_.clear();
        bringForward(*this);
    });
    takeStored();
    start();
    setWindowTitle(QStringLiteral("Script Items - ") + qs(taskName(taskId, prompter())));
}

void BrowseScript::preparePage(int tab) {
    page().setKey(declaration().tabs[static_cast<std::size_t>(tab)].key);
    Scripting range;
    range.ID = taskId_;
    page().setRange(&range, 1);
}

bool BrowseScript::atEnd(bool first) const {
    const data::Scripting* item = selectedItem();
    return !item || item->SEQUENCE == (first ? shown_.first : shown_.last);
}

bool BrowseScript::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) followOtherStations();
    return BrowseWindow::event(event);
}

BrowseScript::Stored BrowseScript::storedState() const {
    auto table = ownTable(Scripting::schema(), const_cast<BrowseScript*>(this)->prompter());
    Stored state;
    if (!table->isOpen()) return state;
    Scripting& rec = table->rec<Scripting>();
    rec.ID = taskId_;
    rec.SEQUENCE = std::numeric_limits<std::int32_t>::min();
    table->setAt(data::keys::Scripting::KEYID);
    while (table->next() == store::kNoError && rec.ID == taskId_) {
        if (state.count++ == 0) state.first = rec.SEQUENCE;
        state.last = rec.SEQUENCE;
        for (const store::FieldDesc& f : Scripting::schema().fields)
            state.text += store::fieldToText(f, &rec) + '\x1f';
    }
    return state;
}

bool BrowseScript::followOtherStations() {
    Stored now = storedState();
    if (now.text == shown_.text) return false;
    shown_ = std::move(now);
    refresh();
    updateButtons();
    return true;
}

void BrowseScript::selectSequence(std::int32_t sequence) {
    refresh();
    takeStored();
    for (int row = 0; row < model().rowCount(); ++row)
        if (static_cast<const Scripting*>(model().record(row))->SEQUENCE == sequence) view().selectRow(row);
    updateButtons();
}

bool BrowseScript::addItem() {
    if (!addScriptingItem(services_, taskId_, nullptr, this)) return false;
    takeStored();
    return true;
}

bool BrowseScript::copyItem() {
    const Scripting* item = selectedItem();
    if (!item) return false;
    const Scripting copy = *item;
    if (!addScriptingItem(services_, taskId_, &copy, this)) return false;
    refresh();
    takeStored();
    return true;
}

bool BrowseScript::editItem(const void* record) {
    const std::int32_t sequence = static_cast<const Scripting*>(record)->SEQUENCE;
    const bool saved = changeScriptingItem(services_, selectedPosition(), this);
    if (saved) selectSequence(sequence);
    return saved;
}

bool BrowseScript::removeItem(const void* record) {
    const std::int32_t sequence = static_cast<const Scripting*>(record)->SEQUENCE;
    if (followOtherStations()) return false;
    if (data::standardWarning(prompter(), data::Warning::ConfirmDelete) != kOk) return false;
    if (!script::deleteScriptItem(taskId_, sequence, prompter())) return false;
    takeStored();
    return true;
}

void BrowseScript::moveItem(MoveDirection direction) {
    const Scripting* item = selectedItem();
    if (!item || followOtherStations()) return;
    const std::int32_t from = item->SEQUENCE;
    std::int32_t to = from;
    switch (direction) {
    case MoveDirection::Up: to = from - 1; break;
    case MoveDirection::Top: to = shown_.first; break;
    case MoveDirection::Down: to = from + 1; break;
    case MoveDirection::Bottom: to = shown_.last; break;
    }
    if (script::moveScriptItem(taskId_, from, direction, prompter())) selectSequence(to);
}

void browseScript(const ScriptEditorServices& services, std::int32_t taskId, QWidget* parent) {
    if (taskId == 0) return;
    auto* window = new BrowseScript(services, taskId, parent);
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    loop.exec();
}

}  // namespace plorix::ui
