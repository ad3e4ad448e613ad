#pragma once

#include "app/appservices.h"
#include "app/workerthread.h"
#include "chart/openedcycle.h"

#include <QObject>
#include <QString>

class QWidget;

namespace kvaro {

class Language;
class WindowJobs;

// Cycles of more records than this show MsgDialog at once while they are read and loaded;
// smaller ones only when it takes long.
inline constexpr int LargeCycleRecords = 100000;
// A file larger than this holds a large cycle: a record line carries over 80 fields.
inline constexpr qint64 LargeCycleBytes = qint64(LargeCycleRecords) * 150;

// The one way the window opens a cycle file, whoever asked (the open dialog, a dropped or
// given file, the cycle list, the trend): what is drawn goes, the file is read on a worker
// thread, and once read it is checked, a file that cannot be drawn is said so, and the
// lines travel on with opened(). Opening another file meanwhile drops the older answer:
// the cycle opened last is the one shown, whichever is read first.
class CycleOpener : public QObject
{
    Q_OBJECT

public:
    CycleOpener(WindowJobs& jobs, const Language& language, const AppServices& services,
                QWidget* window);

    void open(const QString& path, CycleSource source);
    // The file asked for last has not been answered yet.
    bool isBusy() const { return m_job != 0; }

signals:
    // A file is being opened: what is drawn goes now.
    void opening();
    // The file asked for last was read; `cycle.drawable` says whether it is to be drawn
    // (one that is not has been said so already).
    void opened(const kvaro::OpenedCycle& cycle);

private:
    void answered(int request, OpenedCycle cycle, std::exception_ptr failure);

    WindowJobs& m_jobs;
    const Language& m_language;
    AppServices m_services;
    QWidget* m_window;
    AsideWork m_work{this};
    int m_request = 0; // the file asked for last
    int m_job = 0;     // its job while it is read
};

} // namespace kvaro
