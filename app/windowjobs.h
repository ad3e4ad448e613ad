#pragma once

#include <QObject>
#include <QPointer>

#include <set>

namespace kvaro {

class ProgressDialog;

// The window's long work (an import, a catalogue, a listing, a cycle being read or drawn, a
// comparison, a batch report), each job numbered from its start to its end, and the one
// progress dialog they share. The dialog is lent to one job at a time: the first that asks
// while it is free, or an import, which takes it from whoever has it; a job that does not
// have it runs without showing progress. Whoever waits for the window to be quiet (a test,
// a part that wants the list settled) waits for idle().
class WindowJobs : public QObject
{
    Q_OBJECT

public:
    WindowJobs(ProgressDialog* dialog, QObject* parent);

    // A job starts: its number, for the calls below.
    int start();
    // The job has ended: the dialog is closed if the job had it.
    void finish(int job);
    // The dialog, when it is the job's or free (it is then the job's until it finishes);
    // nullptr while another job has it.
    ProgressDialog* dialog(int job);
    // The dialog for the job whatever another job is doing with it: that job shows no more
    // progress.
    ProgressDialog* takeDialog(int job);
    // The dialog as it stands, for the parts that only place or name it.
    ProgressDialog* sharedDialog() const;
    bool isIdle() const { return m_running.empty(); }

signals:
    // The last running job has finished.
    void idle();

private:
    QPointer<ProgressDialog> m_dialog;
    std::set<int> m_running;
    int m_lastJob = 0;
    int m_dialogJob = 0; // the job that has the dialog, 0 for none
};

} // namespace kvaro
