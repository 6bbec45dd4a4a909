#pragma once
// Hears of other stations' commits to the server that holds the data file's
// tables, as FolderWatch hears of writes to a shared file: a listening
// connection whose socket the event loop watches. While the connection is
// lost the owner polls, and it is tried again every few seconds; a change
// may have gone unheard meanwhile, so a loss and a return count as changes.

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

private:
    void listen();
    void readable();

    std::function<void()> changed_;
    store::postgres::ChangeListener listener_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer retry_;
};

}  // namespace plorix::app
