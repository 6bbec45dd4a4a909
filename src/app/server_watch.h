#pragma once
// Hears of other stations' commits to the server that holds the data file's
// tables, as FolderWatch hears of writes to a shared file: a listening
// connection whose socket the event loop watches. Its connects never hold
// the event loop: they move on as the socket is ready. While the connection
// is lost the owner polls, and it is tried again when the server's back-off
// lets it; a change may have gone unheard meanwhile, so a loss and a return
// count as changes.

#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "store/postgres/change_listener.h"
#include "store/served_files.h"

namespace plorix::app {

class ServerWatch final {
public:
    ServerWatch(const store::ServerAddress& server, std::function<void()> changed);
    ~ServerWatch();
    ServerWatch(const ServerWatch&) = delete;
    ServerWatch& operator=(const ServerWatch&) = delete;

    bool listening() const { return listener_.listening(); }
    bool connecting() const { return listener_.connecting(); }

private:
    using Step = store::postgres::ChangeListener::Step;
    void follow(Step step);
    void readable();

    std::string url_;
    std::function<void()> changed_;
    store::postgres::ChangeListener listener_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<QSocketNotifier> retired_;
    QTimer retry_;
    QTimer giveUp_;       // the connect time-out
    bool heard_ = false;  // it listened before
};

}  // namespace plorix::app
