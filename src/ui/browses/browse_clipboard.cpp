#include "ui/browses/browse_clipboard.h"

#include <QColor>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>

#include "data/cascade.h"
#include "data/tables/clipboard.h"
#include "data/warnings.h"
#include "platform/desktop.h"
#include "runtime/fixed_text.h"
#include "scheduler/clipboard_monitor.h"
#include "script/program_actions.h"
#include "settings/settings.h"
#include "ui/forms/update_clipboard.h"
#include "ui/kit/record_table_model.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Clipboard;
namespace keys = data::keys;

constexpr int kSaveColumn = 0;
constexpr int kContentsColumn = 1;
constexpr int kShownCharacters = 255;
const QColor kLink(0, 0, 255);
const QColor kLinkSelected(0, 255, 255);

BrowseSpec clipboardSpec() {
    return {.schema = &Clipboard::schema(),
            .title = "Browse Clipboard Saver",
            .section = "BrowseClipboard",
            .tabs = {{"By Date", keys::Clipboard::KEYCLIPDATE}, {"By Content", keys::Clipboard::KEYCLIPHASH}},
            .columns = {{"", "", "Save", 5}, {"CLI:CLIPCONTENTS", "@s255", "Contents", 60}},
            .emptyText =
                "No clipboard text has been saved. Switch on \"Monitor clipboard\" on the Clipboard "
                "tab of Setup to keep what you copy."};
}

// Entries that hold something to run keep their colours when selected.
class LinkColours final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.data(Qt::ForegroundRole).value<QColor>() == kLink)
            option->palette.setColor(QPalette::HighlightedText, kLinkSelected);
    }
};

// One line of the entry's text: line breaks and tabs show as blanks.
QString oneLine(const Clipboard& entry) {
    QString text = qs(entry.CLIPCONTENTS.str()).left(kShownCharacters);
    for (QChar& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return text;
}

}  // namespace

BrowseClipboard::BrowseClipboard(Prompter& prompter, scheduler::BrowseRegistry* browses, QWidget* parent)
    : BrowseWindow(clipboardSpec(), prompter, parent), browses_(browses) {
    model().setDecoration([this](const void* r, int column, int role) -> QVariant {
        const auto& entry = *static_cast<const Clipboard*>(r);
        if (column == kSaveColumn) {
            const bool saved = entry.CLIPKEEP != 0;
            if (role == Qt::DecorationRole)
                return saved ? style()->standardIcon(QStyle::SP_DialogApplyButton) : QIcon();
            if (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole)
                return saved ? QStringLiteral("Saved") : QStringLiteral("Not saved");
            return {};
        }
        if (column != kContentsColumn) return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return oneLine(entry);
        if (role == Qt::ForegroundRole && scheduler::clipLooksRunnable(entry.CLIPCONTENTS.str()))
            return kLink;
        return {};
    });
    view().setItemDelegate(new LinkColours(&view()));

    auto chosen = [this] { return hasSelection(); };
    auto entry = [this] { return static_cast<const Clipboard*>(selected()); };
    setActions({.add = {},
                .edit =
                    [this](const void*) {
                        viewClipboardEntry(selectedPosition(), this->prompter(), this);
                        return false;  // nothing written
                    },
                .remove = [this](const void*) { return removeSelected(); }});
    const BrowseButton remove{"&Delete", "Delete the highlighted entry", [this] { deleteRecord(); }, chosen};
    setMenu({remove});
    setButtons({{"&Copy to Clipboard", "Put the highlighted entry back on the clipboard",
                 [this] { copyToClipboard(); }, chosen},
                {"&View", "Show the whole of the highlighted entry", [this] { changeRecord(); }, chosen},
                remove,
                {"&Toggle Save", "Keep the highlighted entry however long the history grows, or no longer",
                 [this] {
                     rewriteSelected([](void* record) {
                         auto& saved = static_cast<Clipboard*>(record)->CLIPKEEP;
                         saved = saved ? 0 : 1;
                     });
                 },
                 chosen},
                {"&Run", "Open the web or mail address, or start the program, the highlighted entry holds",
                 [this] { run(); },
                 [entry] {
                     if (entry() == nullptr) return false;
                     const auto targets = scheduler::clipRunTargets(entry()->CLIPCONTENTS.str());
                     return !targets.commands.empty() || !targets.webAddress.empty();
                 }}});
    if (browses_) registration_ = browses_->add([this] { refresh(); });
    start();
    const settings::Settings& s = settings::settings();
    if (s.MultiUser && !s.UserID.empty())
        setWindowTitle(QStringLiteral("Browse Clipboard Saver - ") + qs(s.UserID));
}

BrowseClipboard::~BrowseClipboard() {
    if (browses_) browses_->remove(registration_);
}

void BrowseClipboard::preparePage(int tab) {
    page().setKey(declaration().tabs[static_cast<std::size_t>(tab)].key);
    Clipboard owner;
    owner.USER = settings::ownerValue();
    page().setRange(&owner, 1);
}

void BrowseClipboard::copyToClipboard() {
    const auto* entry = static_cast<const Clipboard*>(selected());
    if (entry == nullptr) return;
    if (!platform::desktop().clipboard->setText(clip(entry->CLIPCONTENTS.str())))
        prompter().message("Copy to Clipboard", "The text could not be put on the clipboard.", Icon::Warning,
                           kOk, kOk);
}

bool BrowseClipboard::removeSelected() {
    const auto* entry = static_cast<const Clipboard*>(selected());
    if (entry == nullptr) return false;
    if (entry->CLIPKEEP &&
        prompter().message(
            "Delete Record",
            "This clipboard record has a \"Save\" indicator.  Are you sure you want to delete it?",
            Icon::Question, kYes | kNo, kNo) != kYes)
        return false;
    auto table = ownTable(Clipboard::schema(), prompter());
    if (table->reget(selectedPosition()) != store::kNoError) {
        data::standardWarning(prompter(), data::Warning::RecordRetrievalError, "Clipboard");
        return false;
    }
    return data::deleteRecord(*table, prompter()) == data::kDeleted;
}

bool BrowseClipboard::run() {
    const auto* entry = static_cast<const Clipboard*>(selected());
    if (entry == nullptr) return false;
    scheduler::ClipRunTargets targets = scheduler::clipRunTargets(entry->CLIPCONTENTS.str());
    if (!targets.webAddress.empty()) targets.commands.push_back(targets.webAddress);
    for (std::string& command : targets.commands) {
        script::ProgramStart start;
        start.command = std::move(command);
        start.reportFailure = true;
        script::programActions().startProgram(start, prompter());
    }
    return !targets.commands.empty();
}

BrowseClipboard* openBrowseClipboard(Prompter& prompter, scheduler::BrowseRegistry* browses,
                                     QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseClipboard>(parent)) return open;
    auto* window = new BrowseClipboard(prompter, browses, parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
