// BROWSESCRIPT's work on the whole script: script files in and out,
// clearing, printing (PRINTCURRENTSCRIPT) and running it now.

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintPreviewDialog>

#include "data/tables/schedule.h"
#include "script/item_description.h"
#include "ui/frame_printer.h"
#include "ui/qt_text.h"
#include "ui/script/browse_script.h"
#include "ui/view_log_print.h"

namespace plorix::ui {

namespace {

using data::Scripting;

const QString kScriptFileFilter = QStringLiteral("Export File (*.pxs);;Text (*.txt);;All (*)");

// The file dialogs change no folder of the program's: the current folder
// is put back once the file is chosen.
template <typename Ask>
QString askFile(Ask ask) {
    const QString folder = QDir::currentPath();
    QString chosen = ask();
    QDir::setCurrent(folder);
    return chosen;
}

}  // namespace

std::string BrowseScript::taskName(std::int32_t taskId, Prompter& prompter) {
    auto table = ownTable(data::Schedule::schema(), prompter);
    if (!table->isOpen()) return {};
    table->rec<data::Schedule>().ID = taskId;
    if (table->get(data::keys::Schedule::KEYID) != store::kNoError) return {};
    return table->rec<data::Schedule>().DESCRIPTION.str();
}

void BrowseScript::chooseImport() {
    const QString path = askFile([this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Choose File to Import"), QString(),
                                            kScriptFileFilter);
    });
    if (!path.isEmpty()) importItems(path);
}

void BrowseScript::chooseExport() {
    // Items are added to the end of a file that exists: no question about replacing it.
    const QString path = askFile([this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Export to File"), QString(),
                                            kScriptFileFilter, nullptr, QFileDialog::DontConfirmOverwrite);
    });
    if (!path.isEmpty()) exportItems(path);
}

void BrowseScript::importItems(const QString& path) {
    followOtherStations();
    if (script::importScript(taskId_, path.toStdString(), prompter()) > 0) refresh();
    takeStored();
    updateButtons();
}

void BrowseScript::exportItems(const QString& path) {
    script::exportScript(taskId_, path.toStdString(), prompter());
}

void BrowseScript::clearItems() {
    if (prompter().message("Clear All", "Delete all script items for the current task?", Icon::Question,
                           kYes | kNo, kNo) != kYes)
        return;
    script::deleteScript(taskId_, prompter());
    refresh();
    takeStored();
    updateButtons();
}

void BrowseScript::printItems() {
    std::vector<std::string> rows{"Script", taskName(taskId_, prompter()), ""};
    {
        auto progress = prompter().progress("Processing Records", "Printing Script");
        auto table = ownTable(Scripting::schema(), prompter());
        Scripting& rec = table->rec<Scripting>();
        rec.ID = taskId_;
        rec.SEQUENCE = std::numeric_limits<std::int32_t>::min();
        table->setAt(data::keys::Scripting::KEYID);
        int done = 0;
        while (table->next() == store::kNoError && rec.ID == taskId_) {
            std::string line = std::to_string(rec.SEQUENCE) + ". " + rec.ACTION.str();
            line.resize(std::max<std::size_t>(line.size() + 1, 32), ' ');
            rows.push_back(line + script::itemDescription(rec));
            if (progress) progress->setPercent(itemCount() ? ++done * 100 / itemCount() : 100);
        }
        if (progress) progress->finish();
    }
    QPrintPreviewDialog preview(&programPrinter(), this);
    preview.setWindowTitle(QStringLiteral("Script"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&rows](QPrinter* printer) { printRows(rows, *printer); });
    preview.exec();
}

platform::WindowId BrowseScript::returnWindow() const {
    platform::Windows& windows = *platform::desktop().windows;
    const int own = static_cast<int>(::getpid());
    if (before_ != platform::kNoWindow && windows.processId(before_) != own) return before_;
    for (const platform::WindowInfo& w : windows.topLevelWindows())
        if (windows.processId(w.id) != own) return w.id;
    return platform::kNoWindow;
}

void BrowseScript::testRun() {
    if (!services_.testRun || itemCount() == 0) return;
    const platform::WindowId back = returnWindow();
    // The script's keystrokes must not land in the editor: Plorix steps aside.
    steppedAside_.clear();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow() && w->windowType() != Qt::ToolTip && !w->isMinimized()) {
            steppedAside_.emplace_back(w);
            w->showMinimized();
        }
    QApplication::processEvents();
    if (back != platform::kNoWindow) platform::desktop().windows->activate(back);
    services_.testRun(taskId_);
    if (services_.scriptRunning) testRunEnd_.start(500);
}

}  // namespace plorix::ui
