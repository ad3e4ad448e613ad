#pragma once

#include "report/cyclereport.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kvaro {

class Language;

// A batch's cycles as read for its cover, ordered by their start: each cycle's cover line
// and, where it could be read, the report its pages print. A cycle that cannot be read
// gets a line that says why and no report.
struct BatchContents {
    QList<BatchCycle> cycles;
    QList<BatchRow> rows;
    QList<std::optional<CycleReport>> reports;
};
// Reads the cycles in parallel on the global thread pool. Progress counts cycles read
// (called from the calling thread); a true cancel check stops it early and the contents are
// then partial. Qt Core only: runs on any thread.
BatchContents readBatch(const QList<BatchCycle>& cycles, CycleSource source, QChar decimalSeparator,
                        const Language& language,
                        const std::function<void(int done, int total)>& progress = {},
                        const std::function<bool()>& cancelled = {});

// A batch report written page by page: the cover first, then one cycle per call of
// addNext(), so a window can draw between the pages. The pages are numbered through the
// whole report. While a cycle's pages are drawn, the next cycles' charts are loaded on the
// thread pool, a few ahead. Nothing reaches path unless finish() returns true: a dropped
// or failed batch leaves no file.
class BatchReportWriter
{
public:
    BatchReportWriter(const QString& path, CycleSource source, const Language& language,
                      QChar decimalSeparator);
    ~BatchReportWriter();
    BatchReportWriter(const BatchReportWriter&) = delete;
    BatchReportWriter& operator=(const BatchReportWriter&) = delete;

    // When the report was made, for the sign-off blocks (by default now).
    void setGeneratedAt(const QDateTime& time) { m_generatedAt = time; }
    // Opens the file and writes the cover; false when the file cannot be written.
    bool begin(const QString& oven, const QDate& from, const QDate& to, BatchContents contents);
    // Writes the next cycle's pages; false once every cycle is written.
    bool addNext();
    int done() const { return m_next; }
    int total() const { return int(m_contents.cycles.size()); }
    int pageCount() const;
    // Commits the file; false when it could not be written.
    bool finish();

private:
    QString m_path;
    CycleSource m_source;
    const Language& m_language;
    QChar m_decimalSeparator;
    QDateTime m_generatedAt;
    BatchContents m_contents;
    int m_next = 0;
    struct Output;
    std::unique_ptr<Output> m_output;
};

// The whole batch in one call, for the command line and the benchmark: reads the cover,
// then writes every cycle. Progress counts cycles read and then cycles written (total is
// twice the cycles); a true cancel check stops it and no file is written.
struct BatchOutcome {
    bool written = false;
    bool cancelled = false;
    QList<BatchRow> rows;
    int pages = 0;
};
BatchOutcome writeBatchReport(const QString& path, const QString& oven, const QDate& from,
                              const QDate& to, const QList<BatchCycle>& cycles, CycleSource source,
                              const Language& language, QChar decimalSeparator,
                              const std::function<void(int done, int total)>& progress = {},
                              const std::function<bool()>& cancelled = {},
                              const QDateTime& generatedAt = {});

} // namespace kvaro
