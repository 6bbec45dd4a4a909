#pragma once
// BROWSEMESSAGES ("Email Messages"): the stored e-mail, news and mass
// mailing messages by number, contact, subject or the date they were last
// sent. From the frame "Se&nd" queues the highlighted message for the
// script engine to send; opened to select ("Send Email" script items) it
// returns the chosen message's M_:EMAILID.

#include <cstdint>
#include <functional>
#include <optional>

#include "data/form_save.h"
#include "ui/kit/browse_window.h"

class QLabel;

namespace plorix::ui {

class BrowseMessages final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { EmailIdTab, ContactTab, SubjectTab, LastDateSentTab, ControlsTab };
    // Queues a message for sending (the frame's script queue).
    using Send = std::function<void(std::int32_t emailId)>;
    // With `choose` the browse selects: "&Select", Enter and a double-click
    // hand the highlighted message's number to it. Without `send` there is
    // no "Se&nd".
    BrowseMessages(Prompter& prompter, Send send, std::function<void(std::int32_t)> choose,
                   QWidget* parent = nullptr);

    std::int32_t selectedId() const;

protected:
    void preparePage(int tab) override;

private:
    bool edit(data::FormAction action, bool copy);
    void showControls();

    std::function<void(std::int32_t)> choose_;
    QLabel* controls_ = nullptr;
};

// Opens the browse beside the frame (or brings the open one forward).
BrowseMessages* openBrowseMessages(Prompter& prompter, BrowseMessages::Send send, QWidget* parent);

// The message chosen in the browse opened to select (its M_:EMAILID, as a
// "Send Email" script item keeps it); nullopt when it was closed.
std::optional<std::int32_t> selectMessage(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
