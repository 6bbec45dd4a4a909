#pragma once
// Hears of writes in a folder: through inotify when the folder is on a local
// file system. On a network file system (NFS, SMB/CIFS, FUSE) inotify does
// not see other machines' writes, so local() is false and the owner polls.

#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <memory>

namespace plorix::platform {

// Whether the folder lies on a file system that inotify fully sees.
bool onLocalFileSystem(const QString& folder);

class FolderWatch final {
public:
    FolderWatch(const QString& folder, std::function<void()> changed);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Changes are heard of: the folder is local and the watch was set.
    bool watching() const { return fd_ >= 0; }

private:
    void readable();

    std::function<void()> changed_;

    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace plorix::platform
