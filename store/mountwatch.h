#pragma once

#include <QFile>
#include <QObject>

class QSocketNotifier;

namespace kvaro {

// Tells when a volume was mounted or unmounted, so the window can offer the import again
// once the controller drive was swapped for another. A test signals changes itself.
class MountWatch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void changed();
};

// Linux: the kernel flags the mount table as "priority data" on every mount or unmount;
// a notifier on it costs nothing while nothing happens. Watches nothing when the table
// cannot be opened.
class MountTableWatch : public MountWatch
{
    Q_OBJECT

public:
    explicit MountTableWatch(const QString& mountTable = QStringLiteral("/proc/self/mountinfo"),
                             QObject* parent = nullptr);

    bool isWatching() const { return m_notifier != nullptr; }

private:
    QFile m_table;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace kvaro
