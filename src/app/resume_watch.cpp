#include "app/resume_watch.h"

#include <QDBusConnection>

namespace plorix::app {

ResumeWatch::ResumeWatch(std::function<void()> resumed, QObject* parent)
    : QObject(parent), resumed_(std::move(resumed)) {
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected()) return;
    system.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                   QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                   SLOT(prepareForSleep(bool)));
}

void ResumeWatch::prepareForSleep(bool sleeping) {
    if (!sleeping) resumed_();
}

}  // namespace plorix::app
