#include "ui/exchange/synchronize_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "sync/sync_receive.h"
#include "sync/sync_send.h"
#include "sync/transfer_file.h"
#include "ui/exchange/job_runner.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

namespace {

constexpr std::string_view kFilter = "Synchronization Files (*.SYN *.syn)";

// The name the last send used, offered by the next.
QString& lastSendName() {
    static QString name = QStringLiteral("SyncSch.syn");
    return name;
}

std::string count(std::uint64_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

Synchronize::Synchronize(Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window), prompter_(prompter) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(qs(sync::kSyncTitle));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(tr("This option allows to securely synchronize two\n"
                               "Plorix databases.  You can write to\n"
                               "or read from a file that can be located on a floppy\n"
                               "disk or other removable media."),
                            this);
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    auto* receive = new QPushButton(tr("&Receive"), this);
    auto* send = new QPushButton(tr("&Send"), this);
    auto* exit = new QPushButton(tr("E&xit"), this);
    receive->setToolTip(tr("Merge a transfer file into this installation"));
    send->setToolTip(tr("Write this installation's tasks and to-do items into a transfer file"));
    for (QPushButton* b : {receive, send, exit}) {
        b->setAccessibleName(b->text().remove('&'));
        buttons->addWidget(b);
    }
    send->setDefault(true);
    send->setFocus();
    layout->addLayout(buttons);
    connect(receive, &QPushButton::clicked, this, &Synchronize::askReceive);
    connect(send, &QPushButton::clicked, this, &Synchronize::askSend);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    rememberPosition(*this, "Synchronize");
}

void Synchronize::askSend() {
    const QString file =
        QFileDialog::getSaveFileName(this, tr("File to Send to..."), lastSendName(), qs(kFilter));
    if (file.isEmpty()) return;
    lastSendName() = file;
    sendTo(file.toStdString());
}

void Synchronize::askReceive() {
    const QString file =
        QFileDialog::getOpenFileName(this, tr("File to Receive from..."), QString(), qs(kFilter));
    if (!file.isEmpty()) receiveFrom(file.toStdString());
}

bool Synchronize::sendTo(const std::string& file) {
    if (running_) return false;
    running_ = true;
    setEnabled(false);
    return runJob(std::make_unique<sync::SyncSendJob>(file, prompter_), this,
                  [this](io::SteppedJob::State state, io::SteppedJob& job) {
                      const auto& send = static_cast<sync::SyncSendJob&>(job);
                      ended(state, "Sent " + count(send.tasksSent(), "task", "tasks") + ", " +
                                       count(send.itemsSent(), "script item", "script items") + " and " +
                                       count(send.todosSent(), "to-do item", "to-do items") + ".");
                  });
}

bool Synchronize::receiveFrom(const std::string& file) {
    if (running_) return false;
    running_ = true;
    setEnabled(false);
    runJobOnWorker(
        prompter_, this,
        [&file](Prompter& prompter) { return std::make_unique<sync::SyncReceiveJob>(file, prompter); },
        [this](io::SteppedJob::State state, io::SteppedJob& job) {
            const sync::ReceiveCounts& c = static_cast<sync::SyncReceiveJob&>(job).counts();
            ended(state, "Received " + count(c.tasksAdded, "task", "tasks") + " (" +
                             std::to_string(c.tasksReplaced) + " replaced, " +
                             std::to_string(c.tasksDropped) + " left for a newer local copy), " +
                             count(c.itemsAdded, "script item", "script items") + " and " +
                             count(c.todosAdded, "to-do item", "to-do items") + ".");
        });
    return true;
}

void Synchronize::closeEvent(QCloseEvent* event) {
    // A run ends through its progress window's Cancel, never half-way.
    if (running_)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void Synchronize::ended(io::SteppedJob::State state, const std::string& report) {
    running_ = false;
    setEnabled(true);
    outcome_ = state;
    // A failure has been told already; a cancelled receive has merged nothing.
    if (state == io::SteppedJob::State::Completed)
        prompter_.message(sync::kSyncTitle, report, Icon::Information, kOk, kOk);
    close();
}

}  // namespace plorix::ui
