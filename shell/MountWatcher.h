// Volume mounted / unmounted notices: the kernel marks the mount table
// readable-with-priority when it changes; the watcher compares the mount
// points before and after and reports each one that came or went.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>
#include <set>
#include <string>

class MountWatcher final : public QObject {
    Q_OBJECT
public:
    explicit MountWatcher(const QString& mountInfoPath = QStringLiteral("/proc/self/mountinfo"));
    ~MountWatcher() override;

    // Compares the mount table with the last one seen (also called by the notifier).
    void Check();
    // Takes the mount table as it is now as the last one seen, without notices.
    void Resync();

signals:
    void volumeMounted(const QString& mountPoint);
    void volumeUnmounted(const QString& mountPoint);

private:
    std::string path_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::set<std::string> mountPoints_;
};
