#pragma once
// UPDATEMESSAGES ("Add Email Message" / "Change Email Message"): one stored
// message on two tabs (its addressing, its text). The mail type decides the
// address's label and which fields show; an address that belongs to a
// contact names the message after it; "&Send Now" saves the message as OK
// would and sends it while the form stays open.

#include <cstdint>
#include <functional>

#include "data/tables/messages.h"
#include "ui/kit/update_form.h"

class QLabel;
class QPushButton;
class QToolButton;

namespace plorix::ui {

class SendNow;

class UpdateMessages final : public UpdateForm {
    Q_OBJECT
public:
    // Edits `messages`' buffer, which holds the message.
    UpdateMessages(store::Table& messages, data::FormAction action, Prompter& prompter,
                   QWidget* parent = nullptr);

    data::Messages& message() { return table().rec<data::Messages>(); }
    // Labels the address and shows the fields of the mail type shown;
    // `fill` gives a blank address or category the one used last.
    void applyMailType(bool fill);
    // "&Send Now".
    void sendNow();
    bool sending() const;
    // Saved by "&Send Now": kept even when the form is then cancelled.
    bool kept() const { return kept_; }

    void accept() override;
    void reject() override;

signals:
    void sendFinished(bool sent);

protected:
    bool prepareSave() override;
    int save() override;

private:
    FieldEditor* field(std::string_view name) const { return binder().editor(name); }
    void addressAccepted();
    void categoryAccepted();
    void attachmentAccepted();
    void chooseContact();
    void chooseCategory();
    void chooseFile();
    void rememberAddress();
    void sendDone(bool sent);

    QLabel* addressLabel_ = nullptr;
    QToolButton* contactButton_ = nullptr;
    QToolButton* categoryButton_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QWidget* tabs_ = nullptr;
    SendNow* sender_ = nullptr;
    bool kept_ = false;
};

// Adds a message (its number reserved at once, primed by `prime`, "Email"
// unless primed otherwise) or changes the one stored at `position`; whether
// it was saved.
bool updateMessage(data::FormAction action, std::int64_t position,
                   const std::function<void(data::Messages&)>& prime, Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
