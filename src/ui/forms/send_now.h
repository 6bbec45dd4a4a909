#pragma once
// "&Send Now": one stored message sent at once, its transfer on the mail
// worker thread while the window that asked goes on, and a box that tells
// how it went: "Mail sent:  " and the address, or "Could not send:  ", the
// address, the result code and its text.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "runtime/prompter.h"

class QTimer;

namespace plorix::script {
class MessageSender;
class PendingSend;
}  // namespace plorix::script

namespace plorix::ui {

class SendNow final : public QObject {
    Q_OBJECT
public:
    explicit SendNow(Prompter& prompter, QObject* parent = nullptr);
    ~SendNow() override;

    // Starts sending the stored message `emailId`; `address` is what the
    // boxes name. False when the send ended at once (no such message, no
    // mail setup), the user told.
    bool start(std::int32_t emailId, const QString& address);
    bool running() const { return pending_ != nullptr; }

signals:
    // The transfer has ended and the user has been told.
    void finished(bool sent);

private:
    class Quiet;
    void poll();

    std::unique_ptr<Quiet> quiet_;
    std::unique_ptr<script::MessageSender> sender_;
    std::unique_ptr<script::PendingSend> pending_;
    QString address_;
    QTimer* timer_ = nullptr;
};

}  // namespace plorix::ui
