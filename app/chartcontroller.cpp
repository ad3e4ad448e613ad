#include "app/chartcontroller.h"

#include "app/tform2.h"
#include "app/widgets/filterlistdelegate.h"
#include "app/widgets/filterlistmodel.h"
#include "app/widgets/picturebox.h"
#include "assets/assets.h"
#include "chart/chartloader.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

namespace kvaro {

namespace {

QPushButton* exportButton(const char* name)
{
    auto* button = new QPushButton;
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(picturePath(QStringLiteral("TabEksport.svg"))));
    button->setIconSize(QSize(22, 22));
    button->setMinimumSize(130, 44);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

ChartController::ChartController(TForm2& form)
    : QObject(&form), m_form(form),
      m_filterModel(new FilterListModel(form.filterList(), form.chartModel(), this)),
      m_filterDelegate(new FilterListDelegate(this)), m_savePng(exportButton("SavePngButton")),
      m_savePdf(exportButton("SavePdfButton"))
{
    const TForm2Controls& c = m_form.controls();

    // Texts that come from the cycle file are never read as markup.
    for (QLabel* label : {c.Label1, c.Label2, c.Label3, c.SrRoznicaGrzania,
                          c.CzasOsiagnieciaLabel, c.PalnikStatus, c.AdvSmoothLabel3, c.CzasLabel})
        label->setTextFormat(Qt::PlainText);

    c.Listboxprawy->setModel(m_filterModel);
    c.Listboxprawy->setItemDelegate(m_filterDelegate);
    c.Listboxprawy->setSelectionMode(QAbstractItemView::NoSelection);
    c.Listboxprawy->setMouseTracking(true);
    c.Listboxprawy->viewport()->setAttribute(Qt::WA_Hover);
    c.Listboxprawy->setUniformItemSizes(false);
    showFilterList();
    connect(m_filterModel, &FilterListModel::seriesChanged, c.Chart1, &ChartView::refresh);

    c.Chart1->setScrollPermission([this](Qt::Orientation axis, double newMin, double newMax) {
        bool allow = true;
        navigation::Chart1AllowScroll(
            axis == Qt::Vertical ? navigation::Axis::Left : navigation::Axis::Bottom, newMin,
            newMax, int(m_form.chartModel().at(series::T1).points.size()), allow);
        return allow;
    });

    connect(&m_form, &TForm2::cycleReadyToDraw, this, &ChartController::drawCycle);
    connect(&m_form, &TForm2::languageLoaded, this, &ChartController::languageLoaded);
    connect(c.AdvSmoothButton2, &QPushButton::clicked, this, &ChartController::AdvSmoothButton2Click);
    connect(c.AdvSmoothButton3, &QPushButton::clicked, this, &ChartController::AdvSmoothButton3Click);
    connect(c.AdvSmoothButton1, &QPushButton::clicked, this, &ChartController::AdvSmoothButton1Click);
    connect(c.Chart1, &ChartView::mouseMoved, this, &ChartController::Chart1MouseMove);
    connect(c.AdvSmoothButton11, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton11Click);
    connect(c.AdvSmoothButton9, &QPushButton::clicked, this, &ChartController::AdvSmoothButton9Click);
    connect(c.AdvSmoothButton10, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton10Click);

    m_form.addToExportTab(m_savePng);
    m_form.addToExportTab(m_savePdf);
    connect(m_savePng, &QPushButton::clicked, this, &ChartController::savePngClick);
    connect(m_savePdf, &QPushButton::clicked, this, &ChartController::savePdfClick);
    languageLoaded();
}

bool ChartController::chartShown() const
{
    return !m_form.controls().Chart1->isHidden();
}

void ChartController::drawCycle()
{
    const bool loaded = m_form.guard([this] {
        WczytajWykres(m_form.Memo1, m_form.JezykMemo(), m_form.chartModel(), m_summary,
                      m_form.filterList(), m_form.services().messages);
    });
    // A load stopped part-way keeps what it drew and wrote so far, on screen too; only a
    // load that ran to its end returns to the full view.
    applySummary();
    showFilterList();
    m_form.controls().Chart1->refresh();
    if (loaded)
        ChartZoomReset();
}

void ChartController::applySummary()
{
    const TForm2Controls& c = m_form.controls();
    const ChartSummary& s = m_summary;
    c.Label1->setText(s.Label1);
    c.Label2->setText(s.Label2);
    c.Label3->setText(s.Label3);
    c.SrRoznicaGrzania->setText(s.SrRoznicaGrzania);
    c.CzasOsiagnieciaLabel->setText(s.CzasOsiagnieciaLabel);
    c.PalnikStatus->setText(s.PalnikStatus);

    const SummaryShown& shown = s.shown;
    c.PalnikImg->setVisible(shown.PalnikImg);
    c.PalnikStatus->setVisible(shown.PalnikStatus);
    c.GrodzImg->setVisible(shown.GrodzImg);
    c.PrzewietrzanieImg->setVisible(shown.PrzewietrzanieImg);
    c.RegulacjaMocyImg->setVisible(shown.RegulacjaMocyImg);
    c.regulacjaMocyBar->setValue(s.regulacjaMocyBarPosition);
    c.regulacjaMocyBar->setVisible(shown.regulacjaMocyBar);
    c.Olej->setVisible(shown.Olej);
    c.Gaz->setVisible(shown.Gaz);
    c.Prad->setVisible(shown.Prad);
    const QString fuel = fuelPictureName(s.FooterImage);
    c.FooterImage->setPicture(fuel.isEmpty() ? QString() : fuel + QStringLiteral(".svg"));
    c.FooterImage->setVisible(shown.FooterImage);
    // Only the pages that describe a drawn cycle: disabling the whole pager would also lock
    // away the open, import and language buttons, and with them the way out.
    for (QWidget* page : {c.AdvSmoothTabPager11, c.AdvSmoothTabPager12, c.AdvSmoothTabPager13})
        c.Advsmoothtabpager1->setTabEnabled(c.Advsmoothtabpager1->indexOf(page),
                                            s.Advsmoothtabpager1Enabled);
    c.Chart1->setVisible(shown.Chart1);
}

void ChartController::showFilterList()
{
    QListView* list = m_form.controls().Listboxprawy;
    m_filterModel->itemsChanged();
    for (int row = 0; row < m_filterModel->rowCount(); ++row)
        list->setRowHidden(row, !m_filterModel->isShown(row));
}

void ChartController::showZoomLevel()
{
    m_form.controls().AdvSmoothLabel5->setText(navigation::zoomLabel(m_form.ZoomLevel));
}

void ChartController::ChartZoomReset()
{
    m_form.controls().Chart1->resetZoom();
    m_form.ZoomLevel = navigation::ZoomReset;
    showZoomLevel();
}

void ChartController::AdvSmoothButton2Click()
{
    if (!chartShown() || !navigation::canZoomIn(m_form.ZoomLevel))
        return;
    m_form.controls().Chart1->zoomBy(navigation::ZoomInPercent);
    m_form.ZoomLevel = navigation::zoomedIn(m_form.ZoomLevel);
    showZoomLevel();
}

void ChartController::AdvSmoothButton3Click()
{
    if (!chartShown() || !navigation::canZoomOut(m_form.ZoomLevel))
        return;
    m_form.controls().Chart1->zoomBy(navigation::ZoomOutPercent);
    m_form.ZoomLevel = navigation::zoomedOut(m_form.ZoomLevel);
    showZoomLevel();
}

void ChartController::AdvSmoothButton1Click()
{
    if (chartShown())
        ChartZoomReset();
}

void ChartController::Chart1MouseMove(QPoint pixel)
{
    if (!chartShown())
        return;
    const TForm2Controls& c = m_form.controls();
    const navigation::Readout readout = navigation::readoutAt(
        m_form.chartModel(), c.Chart1->bottomValueAt(pixel.x()), m_form.LocaleDecimalSeparator());
    c.AdvSmoothLabel3->setText(readout.temperature);
    c.CzasLabel->setText(readout.time);
}

void ChartController::AdvSmoothButton11Click()
{
    if (chartShown())
        QGuiApplication::clipboard()->setImage(m_form.controls().Chart1->grabImage());
}

void ChartController::AdvSmoothButton9Click()
{
    m_form.filterList().AdvSmoothButton9Click(m_form.chartModel());
    showFilterList();
    m_form.controls().Chart1->refresh();
}

void ChartController::AdvSmoothButton10Click()
{
    m_form.filterList().AdvSmoothButton10Click(m_form.chartModel());
    showFilterList();
    m_form.controls().Chart1->refresh();
}

void ChartController::languageLoaded()
{
    // TForm2 has set the new captions into the filter list and the chart's titles; the
    // export buttons carry texts of their own.
    m_filterModel->itemsChanged();
    m_savePng->setText(m_form.JezykMemo().text(Text::SavePng));
    m_savePdf->setText(m_form.JezykMemo().text(Text::SavePdf));
}

QString ChartController::suggestedFileName(const QString& suffix) const
{
    const QString cycle = QFileInfo(m_form.Memo1.fileName()).completeBaseName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath((cycle.isEmpty() ? QStringLiteral("Kvaro") : cycle) + suffix);
}

void ChartController::savePngClick()
{
    exportClick(m_savePng, QStringLiteral(".png"), &ChartController::saveChartPng);
}

void ChartController::savePdfClick()
{
    exportClick(m_savePdf, QStringLiteral(".pdf"), &ChartController::saveChartPdf);
}

void ChartController::exportClick(const QPushButton* button, const QString& suffix,
                                  bool (ChartController::*save)(const QString&))
{
    if (!chartShown())
        return;
    const QString filter = suffix.mid(1).toUpper() + QStringLiteral(" (*") + suffix + u')';
    QString path = QFileDialog::getSaveFileName(&m_form, button->text(),
                                                suggestedFileName(suffix), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    (this->*save)(path);
}

bool ChartController::saveChartPng(const QString& path)
{
    return reportSave(m_form.controls().Chart1->savePng(path), path);
}

bool ChartController::saveChartPdf(const QString& path)
{
    return reportSave(m_form.controls().Chart1->savePdf(path), path);
}

bool ChartController::reportSave(bool saved, const QString& path)
{
    if (!saved)
        m_form.showMessage(
            fillIn(m_form.JezykMemo().text(Text::SaveFailed), {QDir::toNativeSeparators(path)}));
    return saved;
}

} // namespace kvaro
