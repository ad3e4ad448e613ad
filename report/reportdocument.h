#pragma once

#include "report/cyclereport.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace kvaro {

class ChartModel;
class ChartView;
class Language;

// A report as a PDF of A4 pages: a batch's cover, then one cycle after another, each on
// pages of its own. Lines, text and the chart stay vector drawing; the event markers are
// one fine picture per kind, which every marker of that kind refers to. Needs a
// QApplication (the chart is drawn by the window's chart view, offscreen) and the GUI
// thread.
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

    // When the report was made, as its sign-off block says (by default when the document
    // was begun).
    void setGeneratedAt(const QDateTime& time);
    // The pages numbered through the whole document, out of total; by default each cycle's
    // pages (and the cover's) are numbered on their own.
    void numberPagesThrough(int total);

    // The table of a batch's cycles with the total consumption per unit.
    void addCover(const QString& oven, const QDate& from, const QDate& to,
                  const QList<BatchRow>& rows);
    // One cycle: header, figures, chart, events, output periods and the sign-off block.
    void addCycle(const CycleReport& report, const ChartModel& chart);
    // The same where the chart could not be loaded (null): its place stays empty.
    void addCycle(const CycleReport& report, const ChartModel* chart);
    // The pages each would take, laid out without drawing anything.
    int coverPages(const QString& oven, const QDate& from, const QDate& to,
                   const QList<BatchRow>& rows);
    int cyclePages(const CycleReport& report);

    int pageCount() const;
    // Ends the document; false when it could not be written.
    bool finish();

private:
    void layOutCover(const QString& oven, const QDate& from, const QDate& to,
                     const QList<BatchRow>& rows);
    // chart is null while the pages are only measured.
    void layOutCycle(const CycleReport& report, const ChartModel* chart);

    struct Private;
    std::unique_ptr<Private> d;
};

// The chart view as a report's page draws it, pageWidth being the page's width in 1/96
// inch: its text no smaller than 7 points once printed, the axes named with their units,
// a lane for every output that was ever on.
void setUpReportChart(ChartView& view, const Language& language, qreal pageWidth);
// A cycle in that view as its report shows it: with three burners or more, each burner's
// event markers on a row of their own.
void showInReportChart(ChartView& view, const CycleReport& report, const ChartModel* chart,
                       const Language& language);

// The report of one drawn cycle into a PDF file; false when the file cannot be written.
bool writeCycleReport(const QString& path, const CycleReport& report, const ChartModel& chart,
                      const Language& language, QChar decimalSeparator);

} // namespace kvaro
