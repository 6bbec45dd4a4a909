#pragma once
// The running scheduler on the session bus: one bus name per data folder,
// so a second start on the same folder hands over to the first, and the
// org.plorix.Plorix1 interface (data/dbus/org.plorix.Plorix1.xml) through
// which other programs add, list, forecast and run tasks and open windows.

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <cstdint>
#include <functional>
#include <string>

#include "data/tables/schedule.h"

namespace plorix::app {

inline constexpr const char* kBusInterface = "org.plorix.Plorix1";
inline constexpr const char* kBusPath = "/org/plorix/Plorix";

// "org.plorix.Plorix" for the default data folder, otherwise
// "org.plorix.Plorix.F" and the SHA-256 digest (hex) of the folder's
// canonical path.
QString instanceBusName(const std::string& folder, const std::string& defaultFolder);

// Claims the folder's name for `service`; when another program holds it,
// that one is asked to show its main window. The exit status of this start
// then (0 when the other one came forward), or -1 to run as the instance.
int claimOrHandOver(class BusService& service, const std::string& folder, bool headless);

// What the front end (the frame, or the headless runner) does for the bus.
struct BusHost {
    std::function<void(const data::Schedule&)> runNow;
    // Opens a window by its menu name ("" for the main window); why not, or "".
    std::function<std::string(const std::string& name)> showWindow;
    std::function<void()> quit;
    // A task was added: open schedule windows show it (none when headless).
    std::function<void()> tasksAdded;
};

class BusService final : public QDBusVirtualObject {
public:
    enum class Claim {
        Owned,           // this program is the folder's instance
        AlreadyRunning,  // another program owns the folder's name
        NoBus,           // no session bus: runs alone, as without one
    };

    explicit BusService(BusHost host = {});
    ~BusService() override;
    // The front end, once it is there (calls arrive only from the event loop).
    void setHost(BusHost host) { host_ = std::move(host); }

    // Publishes the object and asks for `busName`.
    Claim claim(const QString& busName);
    // Asks the folder's running instance to show its main window; why not, or "".
    static std::string activateRunning(const QString& busName);

    void taskFired(std::int32_t id, const std::string& description);
    void tasksChanged();

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QDBusMessage answer(const QDBusMessage& message);
    void emitSignal(const QString& name, const QVariantList& arguments);

    BusHost host_;
    QString name_;  // the name owned; empty until claimed
};

}  // namespace plorix::app
