#include "app/server_watch.h"

#include <algorithm>

#include "store/postgres/server_reach.h"

namespace plorix::app {
namespace {

// The shortest wait before a lost listening connection is tried again, in
// milliseconds (the server's back-off may ask for longer).
constexpr int kListenRetryMs = 1000;

}  // namespace

ServerWatch::ServerWatch(const store::ServerAddress& server, std::function<void()> changed)
    : url_(server.url), changed_(std::move(changed)), listener_(server.url, server.schema) {
    retry_.setSingleShot(true);
    // On the moment the back-off ends, so that this connect, which never
    // waits, is the one tried rather than an operation of the window's.
    retry_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&retry_, &QTimer::timeout, [this] { follow(listener_.start()); });
    giveUp_.setSingleShot(true);
    QObject::connect(&giveUp_, &QTimer::timeout, [this] { follow(listener_.advance()); });
    follow(listener_.start());
}

ServerWatch::~ServerWatch() = default;

void ServerWatch::follow(Step step) {
    // It may be the notifier whose signal runs this: it is kept, silent,
    // until the next step.
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->disconnect();
    }
    retired_ = std::move(notifier_);
    giveUp_.stop();
    switch (step) {
    case Step::Listening:
        notifier_ = std::make_unique<QSocketNotifier>(listener_.socket(), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
        if (heard_) changed_();  // what happened meanwhile is read now
        heard_ = true;
        return;
    case Step::Failed: {
        const auto backoff = store::postgres::backoffLeft(url_).count();
        retry_.start(static_cast<int>(std::max<long long>(backoff, kListenRetryMs)));
        return;
    }
    case Step::Read:
    case Step::Write:
        notifier_ = std::make_unique<QSocketNotifier>(
            listener_.socket(), step == Step::Read ? QSocketNotifier::Read : QSocketNotifier::Write);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated,
                         [this] { follow(listener_.advance()); });
        giveUp_.start(listener_.timeLeftMs());
        return;
    }
}

void ServerWatch::readable() {
    const bool changed = listener_.takeChanges();
    // Lost: connected again at once, which also makes this the connect
    // that finds out whether the server is still there.
    if (!listener_.listening()) follow(listener_.start());
    if (changed) changed_();
}

}  // namespace plorix::app
