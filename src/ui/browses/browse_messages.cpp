#include "ui/browses/browse_messages.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>

#include "data/tables/messages.h"
#include "runtime/pictures.h"
#include "settings/settings.h"
#include "ui/forms/update_messages.h"
#include "ui/kit/record_form.h"
#include "ui/kit/browse_picker.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Messages;
namespace keys = data::keys;

BrowseSpec messagesSpec() {
    return {.schema = &Messages::schema(),
            .title = "Email Messages",
            .section = "BrowseMessages",
            .tabs = {{"Email ID", keys::Messages::KEYEMAILID},
                     {"Contact", keys::Messages::KEYCONTACT},
                     {"Subject", keys::Messages::KEYSUBJECT},
                     {"Last Date Sent", keys::Messages::KEYLASTDATESENT},
                     {"Controls", keys::Messages::KEYEMAILID}},
            .columns = {{"M_:EMAILTO", "", "Email To", 24},
                        {"M_:EMAILTONAME", "", "Email To Name", 18},
                        {"M_:SUBJECT", "", "Subject", 24},
                        {"M_:CC", "", "CC", 14},
                        {"M_:BCC", "", "BCC", 14},
                        {"M_:ATTACHMENT", "", "Attachment", 18}},
            .emptyText = "No messages are stored yet. Press Add to write one."};
}

}  // namespace

BrowseMessages::BrowseMessages(Prompter& prompter, Send send, std::function<void(std::int32_t)> choose,
                               QWidget* parent)
    : BrowseWindow(messagesSpec(), prompter, parent), choose_(std::move(choose)) {
    if (choose_) makePartOfPicker(*this);
    controls_ = new QLabel(this);
    controls_->setAccessibleName(QStringLiteral("Message details"));
    controls_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    controlRow().addWidget(controls_, 1);

    auto chosen = [this] { return hasSelection(); };
    setActions({.add = [this] { return edit(data::FormAction::Adding, false); },
                .edit =
                    [this](const void*) {
                        if (choose_) {
                            choose_(selectedId());
                            return false;
                        }
                        return edit(data::FormAction::Changing, false);
                    },
                .remove =
                    [this](const void*) {
                        return deleteRecordAt(Messages::schema(), selectedPosition(), this->prompter());
                    }});
    std::vector<BrowseButton> buttons;
    if (send)
        buttons.push_back({"Se&nd", "Send highlighted email message",
                           [this, send] {
                               if (hasSelection()) send(selectedId());
                           },
                           chosen});
    if (choose_)
        buttons.push_back(
            {"&Select", "Use the highlighted message", [this] { choose_(selectedId()); }, chosen});
    buttons.push_back({"&Add", "Add a new message", [this] { insertRecord(); }, {}});
    buttons.push_back({"Cop&y", "Copy record",
                       [this] {
                           if (edit(data::FormAction::Adding, true)) refresh();
                       },
                       chosen});
    buttons.push_back({"&Edit", "Edit the highlighted message",
                       [this] {
                           if (hasSelection() && edit(data::FormAction::Changing, false)) refresh();
                       },
                       chosen});
    buttons.push_back({"&Delete", "Delete the highlighted message", [this] { deleteRecord(); }, chosen});
    setMenu(buttons);
    setButtons(std::move(buttons));
    connect(view().selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showControls(); });
    start();
    setWindowTitle(userTitle(declaration().title));
}

std::int32_t BrowseMessages::selectedId() const {
    const auto* message = static_cast<const Messages*>(selected());
    return message ? message->EMAILID : 0;
}

void BrowseMessages::preparePage(int tab) {
    BrowseWindow::preparePage(tab);
    controls_->setVisible(tab == ControlsTab);
    showControls();
}

// The Controls tab tells what the columns leave out: how the highlighted
// message goes, where to, and when it last went.
void BrowseMessages::showControls() {
    const auto* m = static_cast<const Messages*>(selected());
    if (!m) {
        controls_->setText(QStringLiteral("No message is highlighted."));
        return;
    }
    QString text = QStringLiteral("Message %1: %2").arg(m->EMAILID).arg(qs(m->MAILTYPE.str()).trimmed());
    if (!m->EMAILTOGROUP.empty())
        text += QStringLiteral(" to category ") + qs(m->EMAILTOGROUP.str()).trimmed();
    text += m->LASTDATESENT ? QStringLiteral(", last sent ") +
                                  qs(formatDate(m->LASTDATESENT, settings::settings().DateFormat)).trimmed()
                            : QStringLiteral(", never sent");
    const QString server = qs(m->MAIL_SERVER.str()).trimmed();
    if (!server.isEmpty()) text += QStringLiteral(", through ") + server;
    controls_->setText(text);
}

bool BrowseMessages::edit(data::FormAction action, bool copy) {
    const auto* source = static_cast<const Messages*>(selected());
    if (action == data::FormAction::Changing)
        return updateMessage(action, selectedPosition(), {}, prompter(), this);
    std::function<void(Messages&)> prime;
    if (copy && source)
        prime = [copied = *source](Messages& m) {
            m = copied;
            m.LASTDATESENT = 0;  // the copy has not gone anywhere yet
        };
    return updateMessage(action, 0, prime, prompter(), this);
}

BrowseMessages* openBrowseMessages(Prompter& prompter, BrowseMessages::Send send, QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseMessages>(parent)) return open;
    auto* window = new BrowseMessages(prompter, std::move(send), {}, parent);
    window->show();
    return window;
}

std::optional<std::int32_t> selectMessage(Prompter& prompter, QWidget* parent) {
    return pickRecord<std::int32_t>("Select an Email Message", "SelectMessages", parent,
                                    [&](const auto& choose, QWidget* picker) {
                                        return new BrowseMessages(
                                            prompter, {},
                                            [choose](std::int32_t id) {
                                                if (id != 0) choose(id);
                                            },
                                            picker);
                                    });
}

}  // namespace plorix::ui
