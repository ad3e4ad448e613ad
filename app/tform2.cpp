#include "app/tform2.h"

#include "app/cycleopening.h"
#include "app/progressdialog.h"
#include "app/windowjobs.h"
#include "assets/assets.h"
#include "base/failure.h"
#include "base/platform.h"
#include "chart/openedcycle.h"
#include "chart/view/chartview.h"
#include "store/places.h"
#include "store/storepaths.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTranslator>

namespace kvaro {

TForm2::TForm2(const AppServices& services, QWidget* parent)
    : QWidget(parent), m_services(services),
      m_settings(settingsFolders(services.workingFolder, services.programFolder),
                 services.configFolder)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(applicationTitle());
    setWindowIcon(QIcon(picturePath(QStringLiteral("Kvaro.svg"))));
    resize(1117, 830);
    // Below this the shares leave the filter buttons and the time line too little room.
    setMinimumSize(1024, 720);

    buildLayout();
    orderTabs();
    nameControls();
    setAcceptDrops(true);
    m_msgDialog = new ProgressDialog(this);
    m_jobs = new WindowJobs(m_msgDialog, this);
    m_opener = new CycleOpener(*m_jobs, m_language, m_services, this);
    connect(m_opener, &CycleOpener::opening, this, &TForm2::clearChart);

    auto& c = m_controls;
    connect(c.AdvSmoothButton6, &QPushButton::clicked, this, &TForm2::AdvSmoothButton6Click);
    connect(c.AdvSmoothButton7, &QPushButton::clicked, this, &TForm2::AdvSmoothButton7Click);
    connect(c.AdvSmoothButton8, &QPushButton::clicked, this, &TForm2::AdvSmoothButton8Click);

    FormCreate();
}

TForm2::~TForm2() = default;

void TForm2::FormCreate()
{
    auto& c = m_controls;
    c.ListBox1->setEnabled(false);
    c.DataButton->setEnabled(false);
    if (c.ListBox1->model())
        c.ListBox1->model()->removeRows(0, c.ListBox1->model()->rowCount());
    c.DataButton->setText(m_services.locale.shortDate(m_services.clock.today()));
    m_localeDecimalSeparator = m_services.locale.decimalSeparator();
    if (m_localeDecimalSeparator.isNull())
        m_localeDecimalSeparator = QLatin1Char('.');

    // A missing Data.dat means Polish, and a missing language file costs one message and
    // the design-time texts, not the rest of the start: the oven list still fills.
    m_settings.load();
    guard([this] { LoadLanguage(); });

    // Every filter item is hidden until a cycle is drawn.
    for (int i = 0; i < m_filterList.count(); ++i)
        m_filterList.setShown(i, false);
    OdswiezListePiecy();
}

std::unique_ptr<QFileDialog> TForm2::FileOpenDialog1()
{
    auto dialog = std::make_unique<QFileDialog>(this);
    dialog->setObjectName(QStringLiteral("FileOpenDialog1"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilter(QStringLiteral("csv (*.csv)"));
    return dialog;
}

void TForm2::showMessage(const QString& text)
{
    m_services.messages.show(text);
}

bool TForm2::guard(const std::function<void()>& work)
{
    return guarded(m_services.messages, work);
}

void TForm2::OdswiezListePiecy()
{
    QComboBox* combo = m_controls.ComboPiec;
    // Rebuilding the items is no choice of the user's: the chosen oven stays chosen when
    // it is still there, and no selection signal fires.
    const QSignalBlocker blocker(combo);
    const QString chosen = combo->currentIndex() >= 0 ? combo->currentText() : QString();
    combo->clear();
    combo->addItems(listOvens(StorePaths(m_services.storeHome).storeRoot()));
    combo->setCurrentIndex(chosen.isEmpty() ? -1 : combo->findText(chosen, Qt::MatchExactly));
}

void TForm2::setListBox1Footer(int count)
{
    m_controls.ListBox1Footer->setText(m_language.cycleCount(count));
}

void TForm2::addToExportTab(QWidget* widget)
{
    auto* row = static_cast<QHBoxLayout*>(m_controls.AdvSmoothTabPage1->layout());
    // Before the closing stretch, so the buttons stay together at the left; Tab reaches it
    // after the button before it.
    const int at = row->count() - 1;
    row->insertWidget(at, widget);
    if (QWidget* before = at > 0 ? row->itemAt(at - 1)->widget() : nullptr)
        QWidget::setTabOrder(before, widget);
}

void TForm2::clearChart()
{
    m_chartModel.clearAll();
    // A file that turns out not to be drawable must not leave the last cycle's curves up.
    m_controls.Chart1->refresh();
    emit chartCleared();
}

void TForm2::AdvSmoothButton8Click()
{
    guard([this] {
        QString file;
        {
            // Gone before the cycle is opened, and with it the drop-down of its file name
            // line, which a dialog kept hidden for the next use left open over the chart.
            const std::unique_ptr<QFileDialog> dialog = FileOpenDialog1();
            if (dialog->exec() != QDialog::Accepted)
                return;
            file = dialog->selectedFiles().value(0);
        }
        if (!file.isEmpty())
            FileOpenDialog1FileOkClick(file);
    });
}

void TForm2::FileOpenDialog1FileOkClick(const QString& path)
{
    m_opener->open(path, CycleSource::Picked);
}

} // namespace kvaro
