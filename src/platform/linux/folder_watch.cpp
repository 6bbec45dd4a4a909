#include "platform/linux/folder_watch.h"

#include <array>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace plorix::platform {
namespace {

// File systems whose writes from elsewhere inotify never reports.
constexpr std::array<unsigned long, 5> kNetworkMagic = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x65735546,  // FUSE
};

}  // namespace

bool onLocalFileSystem(const QString& folder) {
    struct statfs info {};
    if (statfs(folder.toLocal8Bit().constData(), &info) != 0) return false;
    const auto magic = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFUL;
    for (unsigned long network : kNetworkMagic)
        if (magic == network) return false;
    return true;
}

FolderWatch::FolderWatch(const QString& folder, std::function<void()> changed)
    : changed_(std::move(changed)) {
    if (!onLocalFileSystem(folder)) return;
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    if (inotify_add_watch(fd_, folder.toLocal8Bit().constData(),
                          IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE) < 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readable(); });
}

FolderWatch::~FolderWatch() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

void FolderWatch::readable() {
    alignas(inotify_event) char buffer[4096];
    bool any = false;
    while (::read(fd_, buffer, sizeof buffer) > 0) any = true;
    if (any) changed_();
}

}  // namespace plorix::platform
