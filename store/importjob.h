#pragma once

#include "store/importer.h"

#include <QObject>

#include <atomic>

namespace kvaro {

class Drives;

// One import, to be run on a worker thread: the window starts it and hears of it only
// through the signals, which reach the window's thread queued.
class ImportJob : public QObject
{
    Q_OBJECT

public:
    // drives must outlive the job.
    ImportJob(const Drives& drives, QString storeHome, QChar decimalSeparator, Language language,
              QObject* parent = nullptr);

    // Thread-safe: the file in hand is finished, the rest are left on the drive.
    void requestStop() { m_stop = true; }

public slots:
    void run();

signals:
    void driveScanned(const kvaro::DriveScan& scan);
    void progress(int done, int total);
    void finished(const kvaro::ImportResult& result);

private:
    const Drives& m_drives;
    QString m_storeHome; // the folder whose Data/ is the store
    QChar m_decimalSeparator;
    Language m_language; // a copy: the window may switch languages meanwhile
    std::atomic<bool> m_stop = false;
};

} // namespace kvaro
