#include "ui/kit/browse_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "data/process_tables.h"
#include "data/warnings.h"
#include "runtime/ini_file.h"
#include "settings/settings.h"
#include "ui/kit/record_table_model.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

// The column layout as the user left it, and the built-in one it was made
// from: a layout made for other columns is not applied.
constexpr std::string_view kLayoutKey = "SRCF?Browse:1";
constexpr std::string_view kBuiltInKey = "SRCFOriginal?Browse:1";
constexpr int kWheelRows = 3;
// The tab the browse was left on opens again.
constexpr std::string_view kTabKey = "Tab";

QString builtInLayout(const BrowseSpec& declaration) {
    QStringList parts;
    for (const BrowseColumn& column : declaration.columns) parts << QString::number(column.width);
    return parts.join(',');
}

}  // namespace

QString userTitle(std::string_view title) {
    const settings::Settings& s = settings::settings();
    return s.MultiUser && !s.UserID.empty() ? qs(title) + QStringLiteral(" - ") + qs(s.UserID) : qs(title);
}

void bringForward(QWidget& window) {
    window.showNormal();
    window.raise();
    window.activateWindow();
}

std::unique_ptr<store::Table> ownTable(const store::TableSchema& schema, Prompter& prompter) {
    store::Table& shared = data::processTable(schema);
    data::TableUse use(shared, prompter);
    auto own = std::make_unique<store::Table>(schema);
    own->setName(shared.name());
    if (own->open() != store::kNoError)
        data::standardWarning(prompter, data::Warning::FileAccessError, schema.label);
    return own;
}

BrowseWindow::BrowseWindow(BrowseSpec declaration, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window),
      spec_(std::move(declaration)),
      prompter_(prompter),
      use_(data::processTable(*spec_.schema), prompter) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(qs(spec_.title));
    page_ = std::make_unique<data::BrowsePage>(*spec_.schema, use_->name());
    if (page_->open() != store::kNoError) {
        data::standardWarning(prompter_, data::Warning::FileAccessError, spec_.schema->label);
        errorShown_ = true;
    }
    model_ = new RecordTableModel(spec_, *page_, this);

    auto* layout = new QVBoxLayout(this);
    if (spec_.tabs.size() > 1) {
        tabs_ = new QTabBar(this);
        for (const BrowseTab& tab : spec_.tabs) tabs_->addTab(qs(tab.text));
        tabs_->setAccessibleName(QStringLiteral("Views"));
        layout->addWidget(tabs_);
        connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
            if (!started_) return;
            preparePage(index);
            move([this] { return page_->first(); }, 0);
        });
    }
    controlRow_ = new QHBoxLayout;
    layout->addLayout(controlRow_);

    stack_ = new QStackedWidget(this);
    auto* listArea = new QWidget(stack_);
    auto* listRow = new QHBoxLayout(listArea);
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->setSpacing(0);
    view_ = new QTableView(listArea);
    view_->setModel(model_);
    view_->setAccessibleName(qs(spec_.title));
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(false);
    view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->verticalHeader()->hide();
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->horizontalHeader()->setStretchLastSection(true);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    connect(view_, &QTableView::customContextMenuRequested, this, &BrowseWindow::popUpMenu);
    connect(view_, &QTableView::doubleClicked, this, [this] { changeRecord(); });
    // The scroll bar moves the page through the table, not the rows of the page.
    scrollBar_ = new QScrollBar(Qt::Vertical, listArea);
    scrollBar_->setRange(0, 2);
    scrollBar_->setAccessibleName(QStringLiteral("Scroll through the list"));
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &BrowseWindow::scrollBarAction);
    listRow->addWidget(view_);
    listRow->addWidget(scrollBar_);
    empty_ = new QLabel(qs(spec_.emptyText), stack_);
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setAccessibleName(qs(spec_.emptyText));
    stack_->addWidget(listArea);
    stack_->addWidget(empty_);
    layout->addWidget(stack_, 1);

    auto* locatorRow = new QHBoxLayout;
    locatorLabel_ = new QLabel(QStringLiteral("&Locate:"), this);
    locator_ = new QLineEdit(this);
    locator_->setAccessibleName(QStringLiteral("Locate"));
    locatorLabel_->setBuddy(locator_);
    connect(locator_, &QLineEdit::textEdited, this, &BrowseWindow::locate);
    locatorRow->addWidget(locatorLabel_);
    locatorRow->addWidget(locator_, 1);
    layout->addLayout(locatorRow);
    buttonRow_ = new QHBoxLayout;
    layout->addLayout(buttonRow_);

    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { updateButtons(); });
    const int charWidth = fontMetrics().averageCharWidth();
    resize(charWidth * 90, fontMetrics().height() * 30);
}

BrowseWindow::~BrowseWindow() {
    if (started_) saveColumns();
    // The page and the declaration go before the child widgets that would ask the
    // model about them while closing; the buttons' rules, which may ask the
    // derived window (gone by now), are not asked again.
    buttons_.clear();
    view_->setModel(nullptr);
}

void BrowseWindow::setButtons(std::vector<BrowseButton> buttons) {
    for (const BrowseButton& b : buttons) {
        auto* button = new QPushButton(qs(b.text), this);
        button->setToolTip(qs(b.tip));
        button->setAccessibleName(qs(b.text).remove('&'));
        connect(button, &QPushButton::clicked, this, [run = b.run] { run(); });
        buttons_.emplace_back(button, b.enabledWhen);
        buttonRow_->addWidget(button);
    }
    buttonRow_->addStretch();
    auto* close = new QPushButton(QStringLiteral("Cl&ose"), this);
    close->setToolTip(QStringLiteral("Close this window"));
    close->setAccessibleName(QStringLiteral("Close"));
    // The window this browse is, or the picker it sits in.
    connect(close, &QPushButton::clicked, this, [this] { window()->close(); });
    buttonRow_->addWidget(close);
}

// Tab moves in reading order: the tabs, the window's controls above the
// list, the list, the locator, the buttons.
void BrowseWindow::orderTabs() {
    std::vector<QWidget*> chain;
    if (tabs_) chain.push_back(tabs_);
    for (QHBoxLayout* row : {controlRow_, static_cast<QHBoxLayout*>(nullptr), buttonRow_}) {
        if (!row) {
            chain.push_back(view_);
            chain.push_back(locator_);
            continue;
        }
        for (int i = 0; i < row->count(); ++i)
            if (QWidget* w = row->itemAt(i)->widget(); w && w->focusPolicy() != Qt::NoFocus)
                chain.push_back(w);
    }
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void BrowseWindow::start() {
    started_ = true;
    orderTabs();
    restoreColumns();
    // Wide enough for every column until the user gives it a size of their own.
    int columns =
        scrollBar_->sizeHint().width() + 2 * view_->frameWidth() + layout()->contentsMargins().left() * 2;
    for (int i = 0; i < model_->columnCount(); ++i) columns += view_->columnWidth(i);
    resize(std::max(width(), columns), height());
    if (isWindow()) rememberPosition(*this, std::string(spec_.section));
    page_->setPageSize(fittingRows());
    if (tabs_) {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(
            IniFile(std::string(settings::kPositionIni)).getInt(spec_.section, kTabKey, 0));
    }
    preparePage(tab());
    move([this] { return page_->first(); }, 0);
}

void BrowseWindow::preparePage(int tab) {
    page_->setKey(spec_.tabs[static_cast<std::size_t>(tab)].key);
    page_->setRange(nullptr, 0);
}

int BrowseWindow::tab() const { return tabs_ ? tabs_->currentIndex() : 0; }

void BrowseWindow::setTab(int tab) {
    if (tabs_ && tab != tabs_->currentIndex())
        tabs_->setCurrentIndex(tab);
    else if (started_) {
        preparePage(tab);
        move([this] { return page_->first(); }, 0);
    }
}

// Runs a move of the page and shows the result; a read that fails is
// reported once, as the standard file error naming the table.
void BrowseWindow::move(const Move& move, int selectRow) {
    if (move() != store::kNoError && !errorShown_) {
        errorShown_ = true;
        data::standardWarning(prompter_, data::Warning::RecordRetrievalError, spec_.schema->label);
    }
    showPage(selectRow);
}

void BrowseWindow::showPage(int selectRow) {
    model_->reload();
    const int rows = model_->rowCount();
    stack_->setCurrentIndex(rows == 0 ? 1 : 0);
    scrollBar_->setValue(page_->atStart() ? 0 : page_->atEnd() ? 2 : 1);
    const bool locates = page_->canLocate();
    locatorLabel_->setVisible(locates);
    locator_->setVisible(locates);
    if (rows > 0) view_->selectRow(std::clamp(selectRow, 0, rows - 1));
    updateButtons();
}

void BrowseWindow::refresh() {
    const void* current = selected();
    const std::int64_t position = current ? model_->position(view_->currentIndex().row()) : 0;
    const int row = view_->currentIndex().row();
    move([this] { return page_->refresh(); }, row);
    if (position && page_->rowOf(position) >= 0) view_->selectRow(page_->rowOf(position));
}

void BrowseWindow::showRecord(const void* record, std::int64_t position) {
    move([this, record] { return page_->seek(record); }, 0);
    if (page_->rowOf(position) >= 0) view_->selectRow(page_->rowOf(position));
}

const void* BrowseWindow::selected() const {
    const QModelIndex index = view_->currentIndex();
    return index.isValid() ? model_->record(index.row()) : nullptr;
}

std::int64_t BrowseWindow::selectedPosition() const {
    return selected() ? model_->position(view_->currentIndex().row()) : 0;
}

void BrowseWindow::updateButtons() {
    for (auto& [button, enabled] : buttons_) button->setEnabled(!enabled || enabled());
}

void BrowseWindow::locate(const QString& text) {
    move([this, text] { return page_->locate(text.toStdString()); }, 0);
}

void BrowseWindow::rewriteSelected(const std::function<void(void*)>& change) {
    auto table = ownTable(*spec_.schema, prompter_);
    const std::int64_t position = selectedPosition();
    if (!hasSelection() || table->reget(position) != store::kNoError) return;
    change(table->buffer());
    (void)table->put();
    refresh();
    // The record may now sort beyond the page: the page moves to it.
    if (page_->rowOf(position) < 0) showRecord(table->buffer(), position);
}

void BrowseWindow::insertRecord() {
    if (actions_.add && actions_.add()) refresh();
}

void BrowseWindow::changeRecord() {
    if (const void* record = selected(); record && actions_.edit && actions_.edit(record)) refresh();
}

void BrowseWindow::deleteRecord() {
    if (const void* record = selected(); record && actions_.remove && actions_.remove(record)) refresh();
}

void BrowseWindow::scrollBarAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        move([this] { return page_->scroll(1); }, model_->rowCount() - 1);
        break;
    case QAbstractSlider::SliderSingleStepSub: move([this] { return page_->scroll(-1); }, 0); break;
    case QAbstractSlider::SliderPageStepAdd: move([this] { return page_->pageDown(); }, 0); break;
    case QAbstractSlider::SliderPageStepSub: move([this] { return page_->pageUp(); }, 0); break;
    case QAbstractSlider::SliderToMinimum: move([this] { return page_->first(); }, 0); break;
    case QAbstractSlider::SliderToMaximum:
        move([this] { return page_->last(); }, model_->rowCount() - 1);
        break;
    default: break;
    }
}

bool BrowseWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport() && event->type() == QEvent::Resize) fitPage();
    if (watched == view_->viewport() && event->type() == QEvent::Wheel) {
        const int steps = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        if (steps)
            move([this, steps] { return page_->scroll(-steps * kWheelRows); }, view_->currentIndex().row());
        return true;
    }
    if (watched != view_ || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const int row = view_->currentIndex().row();
    const int last = model_->rowCount() - 1;
    const bool control = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Down:
        if (row < last) return false;
        move([this] { return page_->scroll(1); }, last);
        return true;
    case Qt::Key_Up:
        if (row > 0) return false;
        move([this] { return page_->scroll(-1); }, 0);
        return true;
    case Qt::Key_PageDown: move([this] { return page_->pageDown(); }, row); return true;
    case Qt::Key_PageUp: move([this] { return page_->pageUp(); }, row); return true;
    case Qt::Key_Home:
        if (!control) return false;
        move([this] { return page_->first(); }, 0);
        return true;
    case Qt::Key_End:
        if (!control) return false;
        move([this] { return page_->last(); }, last);
        return true;
    case Qt::Key_Insert: insertRecord(); return true;
    case Qt::Key_Delete: deleteRecord(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: changeRecord(); return true;
    default: return false;
    }
}

void BrowseWindow::popUpMenu(const QPoint& at) {
    if (menuItems_.empty()) return;
    QMenu menu(this);
    for (const BrowseButton& item : menuItems_) {
        if (item.text == "-") {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(qs(item.text));
        action->setEnabled(!item.enabledWhen || item.enabledWhen());
        connect(action, &QAction::triggered, this, [run = item.run] { run(); });
    }
    menu.exec(view_->viewport()->mapToGlobal(at));
}

int BrowseWindow::fittingRows() const {
    const int rowHeight = std::max(1, view_->verticalHeader()->defaultSectionSize());
    return std::max(1, view_->viewport()->height() / rowHeight);
}

void BrowseWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitPage();
}

// As many rows as the list shows: a page is what the user sees.
void BrowseWindow::fitPage() {
    if (!started_) return;
    const int rows = fittingRows();
    if (rows == page_->pageSize()) return;
    page_->setPageSize(rows);
    refresh();
}

void BrowseWindow::restoreColumns() {
    IniFile ini{std::string(settings::kPositionIni)};
    const QString builtIn = builtInLayout(spec_);
    const int charWidth = fontMetrics().averageCharWidth();
    QStringList widths;
    if (qs(ini.getString(spec_.section, kBuiltInKey)) == builtIn)
        widths = qs(ini.getString(spec_.section, kLayoutKey)).split(',', Qt::SkipEmptyParts);
    else
        ini.putString(spec_.section, kBuiltInKey, builtIn.toStdString());
    for (int i = 0; i < static_cast<int>(spec_.columns.size()); ++i) {
        bool ok = false;
        const int stored = i < widths.size() ? widths[i].toInt(&ok) : 0;
        // Capitals and digits run wider than the average character.
        const int builtInWidth =
            spec_.columns[static_cast<std::size_t>(i)].width * charWidth * 5 / 4 + charWidth;
        view_->setColumnWidth(i, ok && stored > 0 ? stored : builtInWidth);
    }
}

void BrowseWindow::saveColumns() {
    QStringList widths;
    for (int i = 0; i < model_->columnCount(); ++i) widths << QString::number(view_->columnWidth(i));
    IniFile ini{std::string(settings::kPositionIni)};
    ini.putString(spec_.section, kBuiltInKey, builtInLayout(spec_).toStdString());
    ini.putString(spec_.section, kLayoutKey, widths.join(',').toStdString());
    if (tabs_) ini.putInt(spec_.section, kTabKey, tabs_->currentIndex());
}

}  // namespace plorix::ui
