#include "report/batchreport.h"

#include "cycles/failure.h"
#include "cycles/language.h"
#include "report/reportdocument.h"

#include <QSaveFile>

namespace kvaro {

struct BatchReportWriter::Output {
    explicit Output(const QString& path) : file(path) {}
    QSaveFile file;
    std::unique_ptr<ReportDocument> document;
};

BatchReportWriter::BatchReportWriter(const QString& path, QList<BatchCycle> cycles,
                                     CycleSource source, const Language& language,
                                     QChar decimalSeparator)
    : m_path(path), m_cycles(std::move(cycles)), m_source(source), m_language(language),
      m_decimalSeparator(decimalSeparator)
{
}

// The document ends before its file goes: a file never committed is removed.
BatchReportWriter::~BatchReportWriter()
{
    if (m_output)
        m_output->document.reset();
}

bool BatchReportWriter::begin(const QString& oven, const QDate& from, const QDate& to,
                              const QList<BatchRow>& rows)
{
    m_rows = rows;
    m_output = std::make_unique<Output>(m_path);
    if (!m_output->file.open(QIODevice::WriteOnly))
        return false;
    m_output->document = std::make_unique<ReportDocument>(
        &m_output->file, m_language, m_decimalSeparator,
        fillIn(m_language.text(Text::BatchTitle),
               {oven, from.toString(Qt::ISODate), to.toString(Qt::ISODate)}));
    if (!m_output->document->isValid())
        return false;
    m_output->document->addCover(oven, from, to, rows);
    return true;
}

bool BatchReportWriter::addNext()
{
    if (!m_output || !m_output->document || m_next >= m_cycles.size())
        return false;
    const int index = m_next++;
    // A cycle the cover could not read has no pages: the cover says why.
    if (index < m_rows.size() && !m_rows.at(index).failure.isEmpty())
        return true;
    try {
        const LoadedReportCycle loaded =
            loadReportCycle(m_cycles.at(index).path, m_source, m_decimalSeparator, m_language);
        m_output->document->addCycle(loaded.report, *loaded.chart);
    } catch (const Failure&) {
        // Changed since the cover was read: the cover keeps what it found then.
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
    const bool ended = m_output->document->finish();
    m_output->document.reset();
    return ended && m_output->file.commit();
}

BatchOutcome writeBatchReport(const QString& path, const QString& oven, const QDate& from,
                              const QDate& to, const QList<BatchCycle>& cycles, CycleSource source,
                              const Language& language, QChar decimalSeparator,
                              const std::function<void(int done, int total)>& progress,
                              const std::function<bool()>& cancelled)
{
    BatchOutcome outcome;
    const int total = int(cycles.size()) * 2;
    outcome.rows = readBatchRows(
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
    BatchReportWriter writer(path, cycles, source, language, decimalSeparator);
    if (!writer.begin(oven, from, to, outcome.rows))
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
