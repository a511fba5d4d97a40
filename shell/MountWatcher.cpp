#include "shell/MountWatcher.h"

#include "devices/VolumeRecords.h"

#include <fcntl.h>
#include <unistd.h>

namespace {
std::set<std::string> MountPoints(const std::string& path)
{
    std::set<std::string> points;
    for (const MountTableEntry& entry : ReadMountTable(path.c_str())) points.insert(entry.target);
    return points;
}
}  // namespace

MountWatcher::MountWatcher(const QString& mountInfoPath) : path_(mountInfoPath.toStdString())
{
    mountPoints_ = MountPoints(path_);
    fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Exception);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Check(); });
    }
}

MountWatcher::~MountWatcher()
{
    notifier_.reset();
    if (fd_ >= 0)
        close(fd_);
}

void MountWatcher::Check()
{
    if (fd_ >= 0) {
        // Reading the table to its end rearms the change notice.
        char buffer[4096];
        lseek(fd_, 0, SEEK_SET);
        while (read(fd_, buffer, sizeof buffer) > 0) {
        }
    }
    const std::set<std::string> now = MountPoints(path_);
    for (const std::string& point : mountPoints_)
        if (now.count(point) == 0)
            emit volumeUnmounted(QString::fromStdString(point));
    for (const std::string& point : now)
        if (mountPoints_.count(point) == 0)
            emit volumeMounted(QString::fromStdString(point));
    mountPoints_ = now;
}

void MountWatcher::Resync()
{
    mountPoints_ = MountPoints(path_);
}
