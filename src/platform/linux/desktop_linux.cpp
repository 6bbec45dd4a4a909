#include "platform/linux/desktop_linux.h"

#include "platform/linux/clipboard_linux.h"
#include "platform/linux/dbus_dde.h"
#include "platform/linux/sound_canberra.h"
#include "platform/linux/user_login.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include "platform/linux/xtest_keyboard.h"

namespace plorix::platform {

struct LinuxDesktop::Parts {
    Parts(ArgumentSplitter split, const std::string& displayName)
        : connection(displayName),
          windows(connection),
          keyboard(connection),
          processes(std::move(split), displayName),
          clipboard(displayName),
          sound(connection) {}
    X11Connection connection;  // first: the others use it
    X11Windows windows;
    XTestKeyboard keyboard;
    LinuxProcesses processes;
    LinuxClipboard clipboard;
    CanberraSound sound;
    LoginUser user;
    DBusDde dde;
};

LinuxDesktop::LinuxDesktop(ArgumentSplitter splitArguments, std::string displayName)
    : own_(std::make_unique<Parts>(std::move(splitArguments), displayName)),
      parts_{&own_->windows, &own_->keyboard, &own_->processes, &own_->clipboard,
             &own_->sound,   &own_->user,     &own_->dde},
      scope_(std::make_unique<ScopedDesktop>(parts_)) {}

LinuxDesktop::~LinuxDesktop() { scope_.reset(); }

}  // namespace plorix::platform
