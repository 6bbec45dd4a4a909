#pragma once
// DDE on this desktop: one D-Bus method call per command. The service is a
// bus name, the topic an object path, and the command "interface.Method"
// with optional string arguments (platform/dde_command.h). Like a DDE
// conversation, the call only reaches an application that is already
// running: a service that nobody owns is never started by the bus.

#include <memory>
#include <string>

#include "platform/dde.h"

namespace plorix::platform {

class DBusDde final : public Dde {
public:
    // The session bus of the desktop. The connection is made at the first
    // command; without a session bus (DBUS_SESSION_BUS_ADDRESS unset) every
    // command finds no service, and no bus daemon is launched.
    DBusDde();
    // A bus at an address ("unix:path=/tmp/..."), as a test's own daemon.
    explicit DBusDde(std::string busAddress);
    ~DBusDde() override;
    DBusDde(const DBusDde&) = delete;
    DBusDde& operator=(const DBusDde&) = delete;

    DdeResult execute(std::string_view service, std::string_view topic, std::string_view command) override;

    // How long a call may take before it counts as failed, in milliseconds.
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

private:
    struct Connection;
    Connection* connect();  // nullptr when there is no bus to use
    std::string address_;   // empty: the session bus
    std::unique_ptr<Connection> connection_;
    int timeoutMs_ = 5000;
};

}  // namespace plorix::platform
