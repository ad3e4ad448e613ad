#include "app/chartcomparison.h"

#include "app/progressdialog.h"
#include "app/windowjobs.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/openedcycle.h"
#include "chart/view/chartview.h"

#include <QWidget>

namespace kvaro {

ChartComparison::ChartComparison(ChartView* Chart1, const State& state, const AppServices& services,
                                 WindowJobs& jobs, QObject* parent)
    : QObject(parent), m_chart1(Chart1), m_state(state), m_services(services), m_jobs(jobs)
{
    languageLoaded();
}

ChartComparison::Load ChartComparison::load(const QString& path, QChar decimalSeparator,
                                            const Language& language)
{
    const OpenedCycle opened = openCycle(path, CycleSource::Stored, decimalSeparator);
    if (!opened.drawable)
        return Load{path, {}, {language.text(Text::NotDrawable)}, false};
    ChartLoad loaded = WczytajWykres(opened.lines, language);
    QStringList said = loaded.messages;
    try {
        loaded.rethrowFailure();
    } catch (const Failure& failure) {
        said.append(failure.message());
    }
    return Load{path, std::move(loaded.chart), said, true};
}

void ChartComparison::compareCycle(const QString& path)
{
    if (!m_drawn)
        return;
    const int request = ++m_request;
    if (m_job != 0)
        m_jobs.finish(m_job);
    m_job = m_jobs.start();
    if (ProgressDialog* dialog = m_jobs.dialog(m_job)) {
        dialog->setBusy();
        dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_chart1->window());
    }
    m_work.start<Load>([path, separator = m_state.decimalSeparator, language = m_state.language](
                           const CancelCheck&) { return load(path, separator, language); },
                       [this, request](Load&& result, std::exception_ptr failure) {
                           if (request != m_request)
                               return; // another cycle was drawn or compared meanwhile
                           m_jobs.finish(std::exchange(m_job, 0));
                           if (failure) {
                               guarded(m_services.messages,
                                       [&] { std::rethrow_exception(failure); });
                               return;
                           }
                           loaded(request, std::move(result));
                       });
}

void ChartComparison::loaded(int request, Load load)
{
    Q_UNUSED(request);
    for (const QString& message : load.messages)
        m_services.messages.show(message);
    if (!load.drawable || !m_drawn)
        return;
    auto comparison = std::make_unique<const Comparison>(
        compareCycles(m_state.chart, load.chart, cycleNumberOf(load.path)));
    // The view lets go of the old comparison before it is destroyed.
    m_chart1->setComparison(comparison.get());
    m_comparison = std::move(comparison);
    emit comparisonChanged(true);
}

void ChartComparison::removeComparison()
{
    if (!m_comparison)
        return;
    m_chart1->setComparison(nullptr);
    m_comparison.reset();
    emit comparisonChanged(false);
}

void ChartComparison::drawnCycleGoes()
{
    ++m_request;
    if (m_job != 0)
        m_jobs.finish(std::exchange(m_job, 0));
    m_work.cancelAll();
    removeComparison();
}

void ChartComparison::drawnChanged(bool drawn)
{
    m_drawn = drawn;
}

void ChartComparison::languageLoaded()
{
    m_chart1->setComparisonTexts(m_state.language.text(Text::ComparedSeries),
                                 m_state.language.text(Text::ReadoutDifference));
}

} // namespace kvaro
