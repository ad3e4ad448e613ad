#include "app/windowparts.h"

#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/cycleopening.h"
#include "app/importcontroller.h"
#include "app/tform2.h"
#include "app/trendwindow.h"
#include "catalogue/cyclelistmodel.h"
#include "store/drives.h"
#include "store/mountwatch.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>

namespace kvaro {

ChartParts attachChart(TForm2& form)
{
    const TForm2Controls& c = form.controls();
    auto* drawing = new ChartDrawing(
        {c.Chart1,
         c.Advsmoothtabpager1,
         c.AdvSmoothTabPager11,
         c.AdvSmoothTabPager12,
         c.AdvSmoothTabPager13,
         c.Label1,
         c.Label2,
         c.Label3,
         c.SrRoznicaGrzania,
         c.CzasOsiagnieciaLabel,
         c.PalnikStatus,
         c.PalnikImg,
         c.GrodzImg,
         c.PrzewietrzanieImg,
         c.RegulacjaMocyImg,
         c.regulacjaMocyBar,
         c.Olej,
         c.Gaz,
         c.Prad,
         c.FooterImage,
         c.Listboxprawy,
         c.AdvSmoothButton9,
         c.AdvSmoothButton10,
         c.AdvSmoothButton1,
         c.AdvSmoothButton2,
         c.AdvSmoothButton3,
         c.AdvSmoothLabel5,
         c.AdvSmoothLabel3,
         c.CzasLabel,
         c.DolnyBarNote},
        {form.LocaleDecimalSeparator(), form.JezykMemo(), form.chartModel(), form.filterList()},
        form.services(), form.jobs(), &form);
    auto* saving =
        new ChartSaving({c.Chart1, c.AdvSmoothButton11, c.DolnyBarNote},
                        {form.LocaleDecimalSeparator(), form.JezykMemo(), form.chartModel()},
                        form.services(), form.jobs(), &form);
    auto* comparison = new ChartComparison(
        c.Chart1, {form.LocaleDecimalSeparator(), form.JezykMemo(), form.chartModel()},
        form.services(), form.jobs(), &form);

    // A cycle opened anywhere is drawn here; what was drawn goes first.
    QObject::connect(&form.opener(), &CycleOpener::opened, drawing, &ChartDrawing::cycleOpened);
    QObject::connect(&form, &TForm2::chartCleared, drawing, &ChartDrawing::chartCleared);
    QObject::connect(drawing, &ChartDrawing::cycleDrawn, saving, &ChartSaving::cycleDrawn);
    QObject::connect(drawing, &ChartDrawing::loadStarted, saving, &ChartSaving::drawnCycleGoes);
    QObject::connect(&form, &TForm2::chartCleared, saving, &ChartSaving::drawnCycleGoes);
    QObject::connect(drawing, &ChartDrawing::loadStarted, comparison,
                     &ChartComparison::drawnCycleGoes);
    QObject::connect(&form, &TForm2::chartCleared, comparison, &ChartComparison::drawnCycleGoes);
    QObject::connect(drawing, &ChartDrawing::drawnChanged, comparison,
                     &ChartComparison::drawnChanged);

    form.addToExportTab(saving->savePngButton());
    form.addToExportTab(saving->savePdfButton());
    form.addToExportTab(saving->saveCsvButton());
    form.addToExportTab(saving->saveReportButton());
    form.addToExportTab(saving->saveBatchReportButton());
    form.nameButton(saving->savePngButton(), Text::SavePng, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    form.nameButton(saving->saveReportButton(), Text::ReportSave,
                    {QKeySequence(Qt::CTRL | Qt::Key_P)});
    QObject::connect(&form, &TForm2::languageLoaded, drawing, &ChartDrawing::languageLoaded);
    QObject::connect(&form, &TForm2::languageLoaded, saving, &ChartSaving::languageLoaded);
    QObject::connect(&form, &TForm2::languageLoaded, comparison, &ChartComparison::languageLoaded);
    return {drawing, saving, comparison};
}

CatalogueController* attachCatalogue(TForm2& form, Reading reading)
{
    const TForm2Controls& c = form.controls();
    // The picker TForm1 reads its texts from the window's language, so the part comes
    // after the window.
    auto* catalogue =
        new CatalogueController({&form, c.Advsmoothtabpager1, c.ComboPiec, c.DataButton, c.ListBox1,
                                 c.ListBox1Footer, c.FooterConsLabel, c.TimeLine},
                                {form.JezykMemo(), form.jobs()}, form.services(), &form, reading);
    // A listed cycle is opened as any other file is, taken as stored.
    QObject::connect(
        catalogue, &CatalogueController::cycleChosen, &form.opener(),
        [&form](const QString& path) { form.opener().open(path, CycleSource::Stored); });
    QObject::connect(&form, &TForm2::languageLoaded, catalogue,
                     &CatalogueController::languageLoaded);
    // F5 reads the store again: ovens added meanwhile, and the chosen oven's cycles of the
    // range shown, as an import does.
    form.addShortcut(QKeySequence(Qt::Key_F5), [&form, catalogue] {
        form.OdswiezListePiecy();
        catalogue->refreshChosenOven();
    });
    return catalogue;
}

ImportController* attachImport(TForm2& form, std::unique_ptr<Drives> drives,
                               std::unique_ptr<MountWatch> watch)
{
    const TForm2Controls& c = form.controls();
    auto* import = new ImportController(
        {&form, c.KvaroLoadButton, c.DolnyBarEmpty, c.DolnyBarDrive, form.MsgDialog()},
        {form.LocaleDecimalSeparator(), form.JezykMemo(), form.jobs()}, form.services(), &form,
        std::move(drives), std::move(watch));
    QObject::connect(import, &ImportController::importFinished, &form, &TForm2::OdswiezListePiecy);
    return import;
}

void attachTrend(TForm2& form, CatalogueController* catalogue)
{
    QPushButton* button = form.controls().TrendButton;
    button->setEnabled(false);
    QObject::connect(catalogue, &CatalogueController::settled, button, [catalogue, button] {
        button->setEnabled(!catalogue->chosenOvenFolder().isEmpty());
    });
    QObject::connect(button, &QPushButton::clicked, catalogue, [&form, catalogue] {
        if (catalogue->chosenOvenFolder().isEmpty())
            return;
        TrendWindow::Subject subject{catalogue->catalogue(),
                                     QDir(catalogue->chosenOvenFolder()).dirName(),
                                     catalogue->listedFrom(), catalogue->listedTo()};
        auto* window =
            new TrendWindow(std::move(subject), form.JezykMemo(), form.services(), &form);
        window->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(window, &TrendWindow::cycleChosen, catalogue,
                         &CatalogueController::openStoredCycle);
        QObject::connect(&form, &TForm2::languageLoaded, window,
                         [&form, window] { window->setLanguage(form.JezykMemo()); });
        window->show();
        window->start();
    });
}

void attachWindowParts(TForm2& form)
{
    attachWindowParts(form, nullptr, nullptr);
}

void attachWindowParts(TForm2& form, std::unique_ptr<Drives> drives,
                       std::unique_ptr<MountWatch> watch)
{
    // Each part is a QObject child of the window and lives as long as it does.
    auto* catalogue = attachCatalogue(form);
    const ChartParts chart = attachChart(form);
    // The list's menu lays a listed cycle over the drawn one.
    QObject::connect(catalogue, &CatalogueController::compareRequested, chart.comparison,
                     &ChartComparison::compareCycle);
    QObject::connect(catalogue, &CatalogueController::removeComparisonRequested, chart.comparison,
                     &ChartComparison::removeComparison);
    QObject::connect(chart.drawing, &ChartDrawing::drawnChanged, catalogue->compareAction(),
                     &QAction::setEnabled);
    QObject::connect(chart.comparison, &ChartComparison::comparisonChanged,
                     catalogue->removeComparisonAction(), &QAction::setEnabled);
    // The highlighted cycle is the drawn one, whatever opened it (the list, the trend, the
    // open button) and whatever was right-clicked for a comparison; none when nothing is drawn.
    const auto highlight = [chart, catalogue] {
        catalogue->highlightCycle(chart.drawing->isDrawn() ? chart.drawing->Memo1().fileName()
                                                           : QString());
    };
    QObject::connect(chart.drawing, &ChartDrawing::drawnChanged, catalogue, highlight);
    QObject::connect(chart.comparison, &ChartComparison::comparisonChanged, catalogue, highlight);
    // The batch report covers the cycles listed; a cycle being opened is not drawn yet.
    chart.saving->setBatchSource([catalogue] {
        ChartSaving::BatchSource source{
            catalogue->catalogue().OvenFolder, catalogue->listedFrom(), catalogue->listedTo(), {}};
        for (const CycleListItem& item :
             itemsByStart(catalogue->catalogue(), catalogue->model()->items()))
            source.cycles.append({QDir(source.ovenFolder).filePath(item.file), item.progress});
        return source;
    });
    QObject::connect(catalogue->model(), &QAbstractItemModel::modelReset, chart.saving,
                     &ChartSaving::updateExportButtons);
    auto* import = attachImport(form, std::move(drives), std::move(watch));
    // Newly imported cycles of the chosen oven show without choosing it again; the oven
    // list is rebuilt first (attachImport connected it).
    QObject::connect(import, &ImportController::importFinished, catalogue,
                     &CatalogueController::refreshChosenOven);
    attachTrend(form, catalogue);
}

} // namespace kvaro
