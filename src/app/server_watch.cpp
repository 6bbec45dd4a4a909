#include "app/server_watch.h"

namespace plorix::app {
namespace {

// How often a lost listening connection is tried again, in milliseconds.
constexpr int kListenRetryMs = 5000;

}  // namespace

ServerWatch::ServerWatch(const store::ServerAddress& server, std::function<void()> changed)
    : changed_(std::move(changed)), listener_(server.url, server.schema) {
    retry_.setSingleShot(true);
    retry_.setInterval(kListenRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] {
        listen();
        if (listening()) changed_();  // what happened meanwhile is read now
    });
    listen();
}

ServerWatch::~ServerWatch() = default;

void ServerWatch::listen() {
    notifier_.reset();
    if (!listener_.listen()) {
        retry_.start();
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listener_.socket(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
}

void ServerWatch::readable() {
    const bool changed = listener_.takeChanges();
    if (!listener_.listening()) {
        notifier_.reset();
        retry_.start();
    }
    if (changed) changed_();
}

}  // namespace plorix::app
