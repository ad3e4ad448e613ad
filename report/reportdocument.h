#pragma once

#include "report/cyclereport.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace kvaro {

class ChartModel;
class Language;

// A report as a PDF of A4 pages: a batch's cover, then one cycle after another, each on
// pages of its own. Lines, text and the chart stay vector drawing. Needs a QApplication
// (the chart is drawn by the window's chart view, offscreen) and the GUI thread.
class ReportDocument
{
public:
    // The pages go to device, which must be open for writing and outlive the document.
    ReportDocument(QIODevice* device, const Language& language, QChar decimalSeparator,
                   const QString& title);
    ~ReportDocument();
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    // False when the device cannot take a PDF.
    bool isValid() const;

    // The table of a batch's cycles with the total consumption.
    void addCover(const QString& oven, const QDate& from, const QDate& to,
                  const QList<BatchRow>& rows);
    // One cycle: header, figures, chart, events, output periods.
    void addCycle(const CycleReport& report, const ChartModel& chart);

    int pageCount() const;
    // Ends the document; false when it could not be written.
    bool finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// The report of one drawn cycle into a PDF file; false when the file cannot be written.
bool writeCycleReport(const QString& path, const CycleReport& report, const ChartModel& chart,
                      const Language& language, QChar decimalSeparator);

} // namespace kvaro
