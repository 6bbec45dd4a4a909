#pragma once
// A browse: the records of one table in the order of the key its tab
// offers, a page at a time (data::BrowsePage), with a locator on a text key,
// the window's buttons and right-click menu declared as tables, and its
// place and column widths kept in POSITION.INI.
//
// A window file builds one on its BrowseSpec, adds its buttons and menu,
// says what each tab ranges over (preparePage), then calls start().

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "data/browse_page.h"
#include "data/open_routine.h"
#include "runtime/prompter.h"
#include "ui/kit/browse_declaration.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace plorix::ui {

class RecordTableModel;

// A button or menu item: its text, tip and action, and when it is enabled
// (always when empty). A menu item with the text "-" is a separator.
struct BrowseButton {
    std::string_view text;
    std::string_view tip;
    std::function<void()> run;
    std::function<bool()> enabledWhen;
};

// What the standard keys do: Insert adds, Delete deletes, Enter or a
// double-click edits. Each returns whether the table changed.
struct BrowseActions {
    std::function<bool()> add;
    std::function<bool(const void* record)> edit;
    std::function<bool(const void* record)> remove;
};

class BrowseWindow : public QWidget {
    Q_OBJECT
public:
    BrowseWindow(BrowseSpec declaration, Prompter& prompter, QWidget* parent = nullptr);
    ~BrowseWindow() override;

    // Shows the first page of the first tab. Call once the window is declared.
    void start();
    const BrowseSpec& declaration() const { return spec_; }
    data::BrowsePage& page() { return *page_; }
    RecordTableModel& model() { return *model_; }
    QTableView& view() { return *view_; }
    Prompter& prompter() { return prompter_; }

    int tab() const;
    void setTab(int tab);
    // Reads the page again (the table changed), keeping the selected record
    // when it is still there.
    void refresh();
    // Shows the page that starts at `record` and selects it.
    void showRecord(const void* record, std::int64_t position);
    // The selected record (a copy on the page), nullptr when none.
    const void* selected() const;
    bool hasSelection() const { return selected() != nullptr; }
    // Where the selected record is stored (for Table::reget), 0 when none.
    std::int64_t selectedPosition() const;
    // Applies `change` to the selected record as stored and writes it at
    // once, keeping it selected. A failed write says nothing: the list, read
    // again, shows what is stored.
    void rewriteSelected(const std::function<void(void* record)>& change);
    void updateButtons();

    // The standard actions, as the keys and the declared buttons call them.
    void setActions(BrowseActions actions) { actions_ = std::move(actions); }
    void insertRecord();
    void changeRecord();
    void deleteRecord();
    // The buttons below the list, left to right ("Cl&ose" is added last),
    // and the right-click menu.
    void setButtons(std::vector<BrowseButton> buttons);
    void setMenu(std::vector<BrowseButton> items) { menuItems_ = std::move(items); }
    // Room above the list for the window's own controls.
    QHBoxLayout& controlRow() { return *controlRow_; }

protected:
    // Sets the page's key, range and filter for a tab; the default takes the
    // tab's key over the whole table.
    virtual void preparePage(int tab);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    using Move = std::function<int()>;
    void move(const Move& move, int selectRow);
    void showPage(int selectRow);
    void locate(const QString& text);
    void scrollBarAction(int action);
    void popUpMenu(const QPoint& at);
    void restoreColumns();
    void saveColumns();
    int fittingRows() const;
    void fitPage();
    void orderTabs();

    BrowseSpec spec_;
    Prompter& prompter_;
    data::TableUse use_;
    std::unique_ptr<data::BrowsePage> page_;
    RecordTableModel* model_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QHBoxLayout* controlRow_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QTableView* view_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLabel* empty_ = nullptr;
    QLabel* locatorLabel_ = nullptr;
    QLineEdit* locator_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    std::vector<std::pair<QPushButton*, std::function<bool()>>> buttons_;
    std::vector<BrowseButton> menuItems_;
    BrowseActions actions_;
    bool errorShown_ = false;
    bool started_ = false;
};

// A window's title, followed by " - " and the user's name in multi-user mode.
QString userTitle(std::string_view title);

// Shows `window` in front, restored when it was minimised.
void bringForward(QWidget& window);

// The browse of type W already open as a window of `parent`, brought
// forward; nullptr when none is open.
template <typename W>
W* bringForwardOpen(QWidget* parent) {
    W* open = parent ? parent->findChild<W*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (open) bringForward(*open);
    return open;
}

// A table of the program's (its stored name, and its file created when
// missing) opened once more with a record buffer of the caller's own.
std::unique_ptr<store::Table> ownTable(const store::TableSchema& schema, Prompter& prompter);

}  // namespace plorix::ui
