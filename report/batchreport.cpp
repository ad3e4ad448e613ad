#include "report/batchreport.h"

#include "base/failure.h"
#include "base/language.h"
#include "cycles/cyclename.h"
#include "cycles/orderedwork.h"
#include "report/reportdocument.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <numeric>

namespace kvaro {

namespace {

// How many cycles' charts are loaded ahead of the one being drawn: enough that the drawing
// never waits, few enough that memory stays that of a handful of cycles.
constexpr int ChartsAhead = 2;

struct ReadCycle {
    BatchRow row;
    std::optional<CycleReport> report;
};

ReadCycle readCycle(const BatchCycle& cycle, CycleSource source, QChar decimalSeparator,
                    const Language& language)
{
    ReadCycle read;
    try {
        const LoadedReportCycle loaded =
            loadReportCycle(cycle.path, source, decimalSeparator, language);
        read.row = batchRow(loaded.report, cycle.progress);
        read.report = loaded.report;
    } catch (const Failure& failure) {
        read.row.number = cycleNumberFromName(QFileInfo(cycle.path).fileName());
        read.row.progress = cycle.progress;
        read.row.failure = failure.text();
        if (failure.line() >= 0)
            read.row.failure = failure.message().replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    return read;
}

} // namespace

BatchContents readBatch(const QList<BatchCycle>& cycles, CycleSource source, QChar decimalSeparator,
                        const Language& language,
                        const std::function<void(int done, int total)>& progress,
                        const std::function<bool()>& cancelled)
{
    const int total = int(cycles.size());
    QList<ReadCycle> read;
    read.reserve(total);
    {
        OrderedWork<ReadCycle> work(total, [&](int index) {
            return readCycle(cycles.at(index), source, decimalSeparator, language);
        });
        for (int i = 0; i < total; ++i) {
            if (cancelled && cancelled())
                break;
            read.append(work.take(i));
            if (progress)
                progress(i + 1, total);
        }
    }
    // In the order the cycles ran; one that could not be read, having no start, at the end.
    QList<int> order(read.size());
    std::iota(order.begin(), order.end(), 0);
    const auto start = [&](int i) {
        const BatchRow& row = read.at(i).row;
        return std::make_tuple(!row.date.has_value(), row.date.value_or(QDate()),
                               row.startTimeOfDay.value_or(0));
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return start(a) < start(b); });
    BatchContents contents;
    for (const int i : order) {
        contents.cycles.append(cycles.at(i));
        contents.rows.append(read.at(i).row);
        contents.reports.append(read.at(i).report);
    }
    return contents;
}

struct BatchReportWriter::Output {
    explicit Output(const QString& path) : file(path) {}
    QSaveFile file;
    std::unique_ptr<ReportDocument> document;
    // The charts of the cycles, loaded ahead of their pages.
    std::unique_ptr<OrderedWork<std::shared_ptr<const ChartModel>>> charts;
};

BatchReportWriter::BatchReportWriter(const QString& path, CycleSource source,
                                     const Language& language, QChar decimalSeparator)
    : m_path(path), m_source(source), m_language(language), m_decimalSeparator(decimalSeparator)
{
}

// The loading stops and the document ends before its file goes: a file never committed is
// removed.
BatchReportWriter::~BatchReportWriter()
{
    if (m_output) {
        m_output->charts.reset();
        m_output->document.reset();
    }
}

bool BatchReportWriter::begin(const QString& oven, const QDate& from, const QDate& to,
                              BatchContents contents)
{
    m_contents = std::move(contents);
    m_output = std::make_unique<Output>(m_path);
    if (!m_output->file.open(QIODevice::WriteOnly))
        return false;
    m_output->document = std::make_unique<ReportDocument>(
        &m_output->file, m_language, m_decimalSeparator,
        fillIn(m_language.text(Text::BatchTitle),
               {oven, from.toString(Qt::ISODate), to.toString(Qt::ISODate)}));
    ReportDocument& document = *m_output->document;
    if (!document.isValid())
        return false;
    if (m_generatedAt.isValid())
        document.setGeneratedAt(m_generatedAt);
    // "Page 7 of 15" needs every page counted before the first is drawn.
    int pages = document.coverPages(oven, from, to, m_contents.rows);
    for (const std::optional<CycleReport>& report : std::as_const(m_contents.reports)) {
        if (report)
            pages += document.cyclePages(*report);
    }
    document.numberPagesThrough(pages);
    document.addCover(oven, from, to, m_contents.rows);

    // The pages print the reports read for the cover, so they keep the count just made; the
    // charts, too large to keep for a month of cycles, are loaded again a few ahead.
    m_output->charts = std::make_unique<OrderedWork<std::shared_ptr<const ChartModel>>>(
        int(m_contents.cycles.size()),
        [this](int index) -> std::shared_ptr<const ChartModel> {
            if (!m_contents.reports.at(index))
                return nullptr;
            try {
                return loadReportChart(m_contents.cycles.at(index).path, m_source,
                                       m_decimalSeparator, m_language);
            } catch (const Failure&) {
                return nullptr;
            }
        },
        1, ChartsAhead);
    return true;
}

bool BatchReportWriter::addNext()
{
    if (!m_output || !m_output->document || m_next >= m_contents.cycles.size())
        return false;
    const int index = m_next++;
    const std::shared_ptr<const ChartModel> chart = m_output->charts->take(index);
    // A cycle the cover could not read has no pages: the cover says why.
    if (const std::optional<CycleReport>& report = m_contents.reports.at(index)) {
        // Changed since the cover was read so that it cannot be drawn: its pages keep their
        // place, without the chart.
        m_output->document->addCycle(*report, chart.get());
    }
    return true;
}

int BatchReportWriter::pageCount() const
{
    return m_output && m_output->document ? m_output->document->pageCount() : 0;
}

bool BatchReportWriter::finish()
{
    if (!m_output || !m_output->document)
        return false;
    m_output->charts.reset();
    const bool ended = m_output->document->finish();
    m_output->document.reset();
    return ended && m_output->file.commit();
}

BatchOutcome writeBatchReport(const QString& path, const QString& oven, const QDate& from,
                              const QDate& to, const QList<BatchCycle>& cycles, CycleSource source,
                              const Language& language, QChar decimalSeparator,
                              const std::function<void(int done, int total)>& progress,
                              const std::function<bool()>& cancelled, const QDateTime& generatedAt)
{
    BatchOutcome outcome;
    const int total = int(cycles.size()) * 2;
    BatchContents contents = readBatch(
        cycles, source, decimalSeparator, language,
        [&](int done, int) {
            if (progress)
                progress(done, total);
        },
        cancelled);
    if (cancelled && cancelled()) {
        outcome.cancelled = true;
        return outcome;
    }
    outcome.rows = contents.rows;
    BatchReportWriter writer(path, source, language, decimalSeparator);
    writer.setGeneratedAt(generatedAt);
    if (!writer.begin(oven, from, to, std::move(contents)))
        return outcome;
    while (writer.addNext()) {
        if (cancelled && cancelled()) {
            outcome.cancelled = true;
            return outcome;
        }
        if (progress)
            progress(int(cycles.size()) + writer.done(), total);
    }
    outcome.pages = writer.pageCount();
    outcome.written = writer.finish();
    return outcome;
}

} // namespace kvaro
