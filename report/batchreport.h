#pragma once

#include "report/cyclereport.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace kvaro {

class Language;

// A batch report written page by page: the cover first, then one cycle per call of
// addNext(), so a window can draw between the pages. Nothing reaches path unless finish()
// returns true: a dropped or failed batch leaves no file.
class BatchReportWriter
{
public:
    BatchReportWriter(const QString& path, QList<BatchCycle> cycles, CycleSource source,
                      const Language& language, QChar decimalSeparator);
    ~BatchReportWriter();
    BatchReportWriter(const BatchReportWriter&) = delete;
    BatchReportWriter& operator=(const BatchReportWriter&) = delete;

    // Opens the file and writes the cover; false when the file cannot be written.
    bool begin(const QString& oven, const QDate& from, const QDate& to,
               const QList<BatchRow>& rows);
    // Writes the next cycle's pages; false once every cycle is written.
    bool addNext();
    int done() const { return m_next; }
    int total() const { return int(m_cycles.size()); }
    int pageCount() const;
    // Commits the file; false when it could not be written.
    bool finish();

private:
    QString m_path;
    QList<BatchCycle> m_cycles;
    CycleSource m_source;
    const Language& m_language;
    QChar m_decimalSeparator;
    QList<BatchRow> m_rows;
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
                              const std::function<bool()>& cancelled = {});

} // namespace kvaro
