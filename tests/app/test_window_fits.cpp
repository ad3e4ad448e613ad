// Nothing in the window is cut off: at its smallest size and at a roomy one, in both
// languages, with a week of cycles listed and one drawn, every text fits the box it is
// drawn in.
#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/style.h"
#include "app/tform2.h"
#include "app/trendwindow.h"
#include "app/widgets/keepwhole.h"
#include "app/widgets/timeline.h"
#include "app/windowparts.h"
#include "chart/view/chartview.h"
#include "cycles/fields.h"
#include "store/drives.h"
#include "store/mountwatch.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextDocument>

#include <qcustomplot.h>

using kvaro::testing::control;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

// The week before the fake clock's day, a cycle a day, long enough to have every figure.
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;

    explicit Machine(bool english, const QString& dateFormat = QStringLiteral("dd.MM.yyyy"))
    {
        locale = FixedLocale(QLatin1Char(','), dateFormat);
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        if (english)
            writeFile(working(QStringLiteral("Data.dat")), "EN\r\n");
        for (int day = 0; day < 7; ++day) {
            gen::CycleSpec spec;
            spec.start = QDateTime(QDate(2024, 5, 1).addDays(day), QTime(6, 0));
            spec.heatingType = 0;
            spec.burnerCount = 2;
            spec.probeCount = 2;
            spec.durationSeconds = 3 * 3600;
            spec.samplePeriodSeconds = 60;
            spec.number = day + 1;
            spec.seed = quint64(day + 1);
            writeFile(program(QStringLiteral("Data/1000001/P%1.csv").arg(day + 1)),
                      normalisedCopy(gen::writeCycle(spec), locale.decimalSeparator()));
        }
        form = create();
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* catalogue = form->findChild<CatalogueController*>();
        catalogue->ComboPiecItemSelected(0);
        QVERIFY(kvaro::testing::settle(catalogue));
        catalogue->AdvSmoothButton1Click(QDate(2024, 5, 1), QDate(2024, 5, 7));
        QVERIFY(kvaro::testing::settle(catalogue));
        form->FileOpenDialog1FileOkClick(program(QStringLiteral("Data/1000001/P3.csv")));
        QVERIFY(kvaro::testing::settle(form));
        QCoreApplication::processEvents();
    }
};

// The labels and buttons of a window whose text is wider or taller than the room it has.
QStringList cutTexts(QWidget& window)
{
    QStringList cut;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&window) || label->text().isEmpty() || !label->pixmap().isNull())
            continue;
        const QRect room = label->contentsRect().marginsRemoved(
            QMargins(label->margin(), label->margin(), label->margin(), label->margin()));
        QSize needed;
        if (label->wordWrap()) {
            needed = {0, label->heightForWidth(label->width())};
            if (needed.height() <= label->height())
                continue;
        } else {
            QString text = label->text();
            if (label->textFormat() == Qt::RichText ||
                (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text))) {
                QTextDocument document;
                document.setDefaultFont(label->font());
                document.setDocumentMargin(0);
                document.setHtml(text);
                text = document.toPlainText();
            }
            needed = label->fontMetrics().size(0, text);
            if (needed.width() <= room.width() && needed.height() <= room.height())
                continue;
        }
        cut << QStringLiteral("%1 \"%2\": needs %3×%4 in %5×%6")
                   .arg(label->objectName(), label->text())
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(room.width())
                   .arg(room.height());
    }
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&window) || button->text().isEmpty())
            continue;
        const QSize needed(buttonTextWidth(*button), button->fontMetrics().height());
        if (needed.width() <= button->width() && needed.height() <= button->height())
            continue;
        cut << QStringLiteral("%1 \"%2\": needs %3×%4 in %5×%6")
                   .arg(button->objectName(), button->text())
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(button->width())
                   .arg(button->height());
    }
    return cut;
}

} // namespace

class TestWindowFits : public QObject
{
    Q_OBJECT

private slots:
    // The look the program starts with: its style sheet and fonts decide what fits.
    void initTestCase() { applyLook(*qApp); }
    void everyTextFits_data();
    void everyTextFits();
    void datePickerStaysOnTheScreen();
    void trendTableHeadersCanBeRead_data();
    void trendTableHeadersCanBeRead();
};

void TestWindowFits::everyTextFits_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("dateFormat");
    const QString numeric = QStringLiteral("dd.MM.yyyy");
    QTest::newRow("Polish, smallest") << false << QSize(1024, 720) << numeric;
    QTest::newRow("English, smallest") << true << QSize(1024, 720) << numeric;
    QTest::newRow("Polish, roomy") << false << QSize(1400, 1000) << numeric;
    QTest::newRow("English, roomy") << true << QSize(1400, 1000) << numeric;
    // A system whose short dates name the month: the range on the date button is longer.
    QTest::newRow("month names, smallest") << false << QSize(1024, 720) << "dd MMM yyyy";
}

void TestWindowFits::everyTextFits()
{
    QFETCH(bool, english);
    QFETCH(QSize, size);
    QFETCH(QString, dateFormat);
    Machine m(english, dateFormat);
    QCOMPARE(m.form->minimumSize(), QSize(1024, 720));
    m.form->resize(size);
    QCoreApplication::processEvents();
    QVERIFY(m.form->findChild<ChartDrawing*>()->isDrawn());

    const QStringList cut = cutTexts(*m.form);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(u'\n')));

    // With every series unchecked, the hint that says so lies within the plot.
    QTest::mouseClick(control<QPushButton>(*m.form, "AdvSmoothButton10"), Qt::LeftButton);
    auto* plot = control<ChartView>(*m.form, "Chart1")->findChild<QCustomPlot*>();
    plot->replot();
    plot->replot(); // the second lays the wrapped hint out
    QCPLayoutInset* inset = plot->axisRect()->insetLayout();
    int hints = 0;
    for (int i = 0; i < inset->elementCount(); ++i) {
        auto* hint = qobject_cast<QCPTextElement*>(inset->elementAt(i));
        if (!hint || !hint->visible())
            continue;
        ++hints;
        QVERIFY2(plot->axisRect()->rect().contains(hint->outerRect()), qPrintable(hint->text()));
    }
    QCOMPARE(hints, 1);

    // The time line's day and hour labels lie whole within the strip.
    auto* timeLine = control<TimeLine>(*m.form, "TimeLine");
    const QList<TimeLine::Label> labels = timeLine->labels();
    QVERIFY(labels.size() >= 7);
    for (const TimeLine::Label& label : labels) {
        const QSizeF needed = QFontMetricsF(label.font).size(0, label.text);
        QVERIFY2(QRectF(timeLine->rect()).contains(label.box) &&
                     needed.width() <= label.box.width() && needed.height() <= label.box.height(),
                 qPrintable(QStringLiteral("\"%1\" needs %2×%3 in %4×%5 at %6,%7 of %8×%9")
                                .arg(label.text)
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(label.box.width())
                                .arg(label.box.height())
                                .arg(label.box.x())
                                .arg(label.box.y())
                                .arg(timeLine->width())
                                .arg(timeLine->height())));
    }
}

// Opened from a window at its smallest size, the calendar lies on the screen whole, its
// confirm button within reach; where the screen is lower than the calendar, it starts at
// the screen's top.
void TestWindowFits::datePickerStaysOnTheScreen()
{
    Machine m(false);
    m.form->resize(m.form->minimumSize());
    m.form->move(0, 0);
    QCoreApplication::processEvents();
    QTest::mouseClick(control<QPushButton>(*m.form, "DataButton"), Qt::LeftButton);
    QWidget* picker = QApplication::activePopupWidget();
    QVERIFY(picker);
    const QRect room = m.form->screen()->availableGeometry();
    const QRect placed = picker->frameGeometry();
    QVERIFY2(placed.height() > room.height() ? placed.top() == room.top() : room.contains(placed),
             qPrintable(QStringLiteral("%1,%2 %3×%4 on %5×%6")
                            .arg(placed.x())
                            .arg(placed.y())
                            .arg(placed.width())
                            .arg(placed.height())
                            .arg(room.width())
                            .arg(room.height())));
    picker->close();
}

void TestWindowFits::trendTableHeadersCanBeRead_data()
{
    QTest::addColumn<bool>("english");
    QTest::newRow("Polish") << false;
    QTest::newRow("English") << true;
}

// A column narrower than its heading shows the heading elided, and its whole text as a
// tooltip; the table scrolls sideways to columns that do not fit.
void TestWindowFits::trendTableHeadersCanBeRead()
{
    QFETCH(bool, english);
    Machine m(english);
    auto* catalogue = m.form->findChild<CatalogueController*>();
    TrendWindow window(
        {catalogue->catalogue(), QStringLiteral("1000001"), QDate(2024, 5, 1), QDate(2024, 5, 7)},
        m.form->JezykMemo(), m.form->services());
    window.resize(window.minimumSizeHint().expandedTo(QSize(640, 480)));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.start();
    auto* table = control<QTableView>(window, "TrendTable");
    QTRY_COMPARE(table->model()->rowCount(), 7);
    QCoreApplication::processEvents();
    QHeaderView* header = table->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
        const QString heading = table->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(table->model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 heading);
    }
    // Every column can be scrolled to.
    const int wanted = header->length();
    QVERIFY(wanted <= table->viewport()->width() || table->horizontalScrollBar()->maximum() > 0);
}

QTEST_MAIN(TestWindowFits)
#include "test_window_fits.moc"
