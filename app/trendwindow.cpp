#include "app/trendwindow.h"

#include "app/progressdialog.h"
#include "app/widgets/statusnote.h"
#include "app/workerthread.h"
#include "base/failure.h"
#include "base/platform.h"
#include "catalogue/catalogueindex.h"
#include "chart/view/trendchartview.h"
#include "exports/csvtable.h"
#include "trend/trendtable.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

// What a cell sorts by: the start, the cycle number or the figure as a number.
constexpr int SortRole = Qt::UserRole + 1;

// Numbers sort as numbers, and cells without a figure after every figure whichever way.
class TrendSortModel : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override
    {
        const QVariant a = left.data(SortRole);
        const QVariant b = right.data(SortRole);
        const bool ascending = sortOrder() == Qt::AscendingOrder;
        if (!a.isValid() || !b.isValid())
            return a.isValid() == ascending && b.isValid() != ascending;
        if (a.typeId() == QMetaType::QDateTime)
            return a.toDateTime() < b.toDateTime();
        return a.toDouble() < b.toDouble();
    }
};

// The figure shown with the separator of the locale and the decimals of the table.
QString figureText(double value, QChar separator)
{
    QString text = QString::number(value, 'f', std::abs(value) < 100 ? 2 : 1);
    text.replace(QLatin1Char('.'), separator);
    return text;
}

} // namespace

TrendWindow::TrendWindow(Subject subject, const Language& language, const AppServices& services,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), m_subject(std::move(subject)), m_language(language),
      m_services(services)
{
    setObjectName(QStringLiteral("TrendWindow"));
    // No larger than the screen the main window is on: a small one gets it whole.
    QSize size(1100, 760);
    if (parent && parent->screen())
        size = size.boundedTo(parent->screen()->availableGeometry().size());
    resize(size);

    m_figure = new QComboBox(this);
    m_figure->setObjectName(QStringLiteral("TrendFigure"));
    for (int c = int(FirstTrendFigure); c < TrendColumnCount; ++c)
        m_figure->addItem(QString(), c);
    m_figureLabel = new QLabel(this);
    m_figureLabel->setBuddy(m_figure);

    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("TrendSaveCsv"));
    m_save->setEnabled(false);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("TrendClose"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    // The keys people close a window of their own with.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_figureLabel);
    bar->addWidget(m_figure);
    // Says for a few seconds where the table was saved.
    m_note = new StatusNote(this);
    m_note->setObjectName(QStringLiteral("TrendNote"));
    m_note->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(m_note, 1);
    bar->addWidget(m_save);
    bar->addWidget(m_close);

    m_chart = new TrendChartView(this);
    m_chart->setObjectName(QStringLiteral("TrendChart"));
    m_chart->setMinimumHeight(300);
    m_chart->setDecimalSeparator(m_services.locale.decimalSeparator());

    m_model = new QStandardItemModel(this);
    auto* sorted = new TrendSortModel(this);
    sorted->setSourceModel(m_model);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("TrendTable"));
    m_table->setModel(sorted);
    m_table->setSortingEnabled(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_chart);
    splitter->addWidget(m_table);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(splitter, 1);

    m_progress = new ProgressDialog(this);
    m_progress->setObjectName(QStringLiteral("TrendProgress"));
    // Closing the dialog stops the reading: the cycles read so far are shown.
    connect(m_progress, &QDialog::finished, this, [this] {
        if (m_worker)
            m_worker->cancel();
    });

    connect(m_figure, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TrendWindow::drawFigure);
    connect(m_save, &QPushButton::clicked, this, &TrendWindow::saveCsvClicked);
    connect(m_chart, &TrendChartView::pointClicked, this, [this](int index) {
        if (index < m_pointFiles.size())
            emit cycleChosen(m_pointFiles.at(index));
    });
    relabel();
}

void TrendWindow::setLanguage(const Language& language)
{
    m_language = language;
    relabel();
    if (!m_worker) {
        fillTable();
        drawFigure();
    }
}

void TrendWindow::relabel()
{
    setWindowTitle(fillIn(m_language.text(Text::TrendTitle),
                          {m_subject.oven, m_services.locale.shortDate(m_subject.from),
                           m_services.locale.shortDate(m_subject.to)}));
    for (int i = 0; i < m_figure->count(); ++i)
        m_figure->setItemText(
            i, trendFigureTitle(TrendColumn(m_figure->itemData(i).toInt()), m_language));
    m_figureLabel->setText(m_language.text(Text::TrendFigure));
    m_save->setText(m_language.text(Text::TrendSaveCsv));
    m_close->setText(m_language.text(Text::TrendClose));
    m_chart->setToolTip(m_language.text(Text::TrendPointHint));
    m_chart->setStartTitle(m_language.text(Text::TrendStart));
    m_progress->setCaption(windowTitle());
    m_progress->setBody(m_language.text(Text::TrendReading));
}

TrendWindow::~TrendWindow()
{
    // The reading stops between two cycles; nothing of it outlives the window.
    m_worker.reset();
}

void TrendWindow::start()
{
    if (m_worker)
        return;
    m_progressDone = 0;
    m_progress->setProgress(0);
    m_progress->showCentredAfter(ProgressDialog::ShortWorkMs, this);

    auto trend = std::make_shared<Trend>();
    const auto progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                // The bar never runs back.
                if (!m_worker || m_worker->isCancelled() || done < m_progressDone)
                    return;
                m_progressDone = done;
                m_progress->setProgress(total > 0 ? 100.0 * done / total : 100);
            },
            Qt::QueuedConnection);
    };
    m_worker = std::make_unique<WorkerThread>(
        [trend, progress, catalogue = m_subject.catalogue, from = m_subject.from, to = m_subject.to,
         language = m_language](const CancelCheck& cancel) {
            *trend = buildTrend(catalogue, from, to, language, progress, cancel,
                                &CatalogueIndex::user());
        },
        this, [this, trend] { built(std::move(*trend)); });
}

void TrendWindow::built(Trend trend)
{
    const std::unique_ptr<WorkerThread> worker = std::move(m_worker);
    worker->wait();
    m_progress->finish();
    m_trend = std::move(trend);
    fillTable();
    drawFigure();
    m_save->setEnabled(!m_trend.cycles.isEmpty());
    if (!m_trend.report.isEmpty())
        m_services.messages.show(m_trend.report.message());
    emit ready();
}

TrendColumn TrendWindow::shownFigure() const
{
    return TrendColumn(m_figure->currentData().toInt());
}

void TrendWindow::fillTable()
{
    const QChar separator = m_services.locale.decimalSeparator();
    m_model->clear();
    QStringList titles;
    for (int c = 0; c < TrendColumnCount; ++c)
        titles.append(trendColumnTitle(TrendColumn(c), m_language));
    m_model->setHorizontalHeaderLabels(titles);
    // Read whole in the tooltip where a narrow window leaves a heading cut.
    for (int c = 0; c < TrendColumnCount; ++c)
        m_model->horizontalHeaderItem(c)->setToolTip(titles.at(c));
    for (const TrendCycle& cycle : m_trend.cycles) {
        QList<QStandardItem*> row;
        for (int c = 0; c < TrendColumnCount; ++c) {
            const auto column = TrendColumn(c);
            auto* item = new QStandardItem(trendCell(cycle, column, separator));
            if (column == TrendColumn::Start) {
                item->setData(cycle.start, SortRole);
            } else if (column == TrendColumn::Cycle) {
                bool isNumber = false;
                const double number = cycle.number.toDouble(&isNumber);
                item->setData(isNumber ? QVariant(number) : QVariant(), SortRole);
            } else if (const std::optional<double> value = trendValue(cycle, column)) {
                item->setData(*value, SortRole);
            }
            if (column >= FirstTrendFigure)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row.append(item);
        }
        m_model->appendRow(row);
    }
    m_table->sortByColumn(int(TrendColumn::Start), Qt::AscendingOrder);
}

void TrendWindow::drawFigure()
{
    const TrendColumn column = shownFigure();
    const QChar separator = m_services.locale.decimalSeparator();
    m_pointFiles.clear();

    QList<const TrendCycle*> shown;
    for (const TrendCycle& cycle : m_trend.cycles) {
        if (trendValue(cycle, column))
            shown.append(&cycle);
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const TrendCycle* a, const TrendCycle* b) { return a->start < b->start; });
    TrendChartData data;
    data.figure = trendFigureTitle(column, m_language);
    data.from = m_subject.from;
    data.to = m_subject.to;
    for (const TrendCycle* cycle : shown) {
        data.points.append({cycle->start, *trendValue(*cycle, column)});
        m_pointFiles.append(cycle->file);
    }

    const TrendSpread spread = trendSpread(m_trend.cycles, column);
    if (spread.count > 0) {
        const auto level = [&](TrendChartLevel::Kind kind, double value, Text label) {
            data.levels.append(
                {kind, value, fillIn(m_language.text(label), {figureText(value, separator)})});
        };
        level(TrendChartLevel::Kind::Mean, spread.mean, Text::TrendMean);
        level(TrendChartLevel::Kind::Band, spread.mean + 2 * spread.deviation,
              Text::TrendUpperBand);
        level(TrendChartLevel::Kind::Band, spread.mean - 2 * spread.deviation,
              Text::TrendLowerBand);
    }
    m_chart->draw(data);
}

void TrendWindow::saveCsvClicked()
{
    QString path = QFileDialog::getSaveFileName(
        this, m_save->text(), QStringLiteral("trend-") + m_subject.oven + QStringLiteral(".csv"),
        QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    saveCsv(path);
}

void TrendWindow::saveCsv(const QString& path)
{
    guarded(m_services.messages, [&] {
        try {
            trendCsv(m_trend.cycles, m_language, m_services.locale.decimalSeparator()).save(path);
            m_note->showFor(fillIn(m_language.text(Text::SavedTable), {shortPath(path)}));
        } catch (const WriteFailure& failure) {
            m_services.messages.show(cannotWrite(m_language, failure.file(), failure.reason()));
        }
    });
}

} // namespace kvaro
