#pragma once

#include "chart/chartsummary.h"

#include <QObject>
#include <QPoint>

class QPushButton;

namespace kvaro {

class FilterListDelegate;
class FilterListModel;
class TForm2;

// The drawn cycle in the main window: the load behind cycleReadyToDraw and the summary it
// writes to the tabs, the filter list Listboxprawy with its two buttons, the zoom buttons,
// panning within bounds, the readout under the mouse, the clipboard copy and the PNG and
// PDF exports on the export tab.
class ChartController : public QObject
{
    Q_OBJECT

public:
    explicit ChartController(TForm2& form);

    // What the last load wrote; every load starts from it.
    const ChartSummary& summary() const { return m_summary; }
    FilterListModel* filterModel() const { return m_filterModel; }
    QPushButton* savePngButton() const { return m_savePng; }
    QPushButton* savePdfButton() const { return m_savePdf; }

public slots:
    // Memo1 holds a cycle and the series are empty: load, show the figures, full view.
    void drawCycle();
    void ChartZoomReset();

    void AdvSmoothButton2Click(); // "+"
    void AdvSmoothButton3Click(); // "-"
    void AdvSmoothButton1Click(); // "X"
    void Chart1MouseMove(QPoint pixel);
    void AdvSmoothButton11Click(); // "Kopiuj do schowka"
    void AdvSmoothButton9Click();  // "Zaznacz wsz."
    void AdvSmoothButton10Click(); // "Odznacz wsz."

    // The exports: the dialog, then the save. A failed save says which file.
    void savePngClick();
    void savePdfClick();
    bool saveChartPng(const QString& path);
    bool saveChartPdf(const QString& path);

private:
    bool chartShown() const;
    void applySummary();
    void showFilterList();
    void showZoomLevel();
    void languageLoaded();
    QString suggestedFileName(const QString& suffix) const;
    void exportClick(const QPushButton* button, const QString& suffix,
                     bool (ChartController::*save)(const QString&));
    bool reportSave(bool saved, const QString& path);

    TForm2& m_form;
    ChartSummary m_summary;
    FilterListModel* m_filterModel;
    FilterListDelegate* m_filterDelegate;
    QPushButton* m_savePng;
    QPushButton* m_savePdf;
};

} // namespace kvaro
