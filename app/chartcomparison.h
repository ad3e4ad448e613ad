#pragma once

#include "app/appservices.h"
#include "app/workerthread.h"
#include "chart/comparison.h"

#include <QObject>
#include <QString>

#include <memory>

namespace kvaro {

class ChartModel;
class ChartView;
class Language;
class WindowJobs;

// Another stored cycle laid over the drawn one, aligned at their starts, until it is
// removed or another cycle is drawn. It is read and loaded on a worker thread as a drawn
// cycle is, into a chart of its own: the window's filter list and summary stay the drawn
// cycle's.
class ChartComparison : public QObject
{
    Q_OBJECT

public:
    struct State {
        const QChar& decimalSeparator;
        const Language& language;
        const ChartModel& chart; // the drawn cycle's
    };

    ChartComparison(ChartView* Chart1, const State& state, const AppServices& services,
                    WindowJobs& jobs, QObject* parent);

    // The cycle laid over the drawn one, or nullptr.
    const Comparison* comparison() const { return m_comparison.get(); }
    bool isBusy() const { return m_job != 0; }

signals:
    void comparisonChanged(bool shown);

public slots:
    // Lays the stored cycle at path over the drawn one, in place of any comparison shown;
    // nothing while no cycle is drawn. Failures become messages.
    void compareCycle(const QString& path);
    void removeComparison();
    // What was compared with the drawn cycle says nothing about the next: a comparison
    // shown or under way goes.
    void drawnCycleGoes();
    // The drawn cycle is on screen (or not): a comparison can be asked for.
    void drawnChanged(bool drawn);
    void languageLoaded();

private:
    struct Load {
        QString path;
        ChartModel chart;
        QStringList messages;
        bool drawable = false;
    };
    static Load load(const QString& path, QChar decimalSeparator, const Language& language);
    void loaded(int request, Load load);

    ChartView* m_chart1;
    State m_state;
    AppServices m_services;
    WindowJobs& m_jobs;
    bool m_drawn = false;
    AsideWork m_work{this};
    int m_request = 0;
    int m_job = 0;
    std::unique_ptr<const Comparison> m_comparison;
};

} // namespace kvaro
