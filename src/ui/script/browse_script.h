#pragma once
// BROWSESCRIPT: the script items of one task in their order, with the
// buttons that add, copy, edit, delete and move items, import and export
// script files, clear and print the script, and run it now ("Test Run").
// A script another station changes meanwhile is read again, and a change
// asked for on items that have moved under the user is not made.

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "data/tables/scripting.h"
#include "platform/desktop.h"
#include "script/script_items.h"
#include "ui/kit/browse_window.h"
#include "ui/script/script_editor.h"

namespace plorix::ui {

class BrowseScript final : public BrowseWindow {
    Q_OBJECT
public:
    BrowseScript(const ScriptEditorServices& services, std::int32_t taskId, QWidget* parent = nullptr);

    std::int32_t taskId() const { return taskId_; }
    // The number of items the list shows.
    int itemCount() const { return shown_.count; }
    // The task's description, as the title and the printout name it.
    static std::string taskName(std::int32_t taskId, Prompter& prompter);

    // The buttons' work, as they do it.
    bool addItem();
    bool copyItem();
    void moveItem(script::MoveDirection direction);
    void importItems(const QString& path);
    void exportItems(const QString& path);
    void clearItems();
    void printItems();
    void testRun();

    // The desktop window a test run gives the keyboard back to: the one
    // that was active before the editor opened when it is not ours, else
    // the topmost window of another program.
    platform::WindowId returnWindow() const;

protected:
    void preparePage(int tab) override;
    bool event(QEvent* event) override;

private:
    const data::Scripting* selectedItem() const { return static_cast<const data::Scripting*>(selected()); }
    bool editItem(const void* record);
    bool removeItem(const void* record);
    void chooseImport();
    void chooseExport();
    // Reads the script again when another station changed it; true when it
    // had changed (the list shows the new state then).
    bool followOtherStations();
    // The script as stored: its items' fields, count and first and last numbers.
    struct Stored {
        std::string text;
        int count = 0;
        std::int32_t first = 0;
        std::int32_t last = 0;
    };
    Stored storedState() const;
    void takeStored() { shown_ = storedState(); }
    void selectSequence(std::int32_t sequence);
    bool atEnd(bool first) const;

    ScriptEditorServices services_;
    std::int32_t taskId_;
    Stored shown_;
    platform::WindowId before_ = platform::kNoWindow;
    QTimer watch_;
    QTimer testRunEnd_;
    // The windows a test run minimised, restored once it is over.
    std::vector<QPointer<QWidget>> steppedAside_;
};

}  // namespace plorix::ui
