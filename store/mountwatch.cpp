#include "store/mountwatch.h"

#include <QSocketNotifier>

namespace kvaro {

MountTableWatch::MountTableWatch(const QString& mountTable, QObject* parent)
    : MountWatch(parent), m_table(mountTable)
{
    if (!m_table.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    m_notifier = new QSocketNotifier(m_table.handle(), QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatch::changed);
}

} // namespace kvaro
