// The window's CSV export: the button follows the drawn cycle, and the saved table is the
// one of the cycle on the chart.
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/tform2.h"
#include "app/widgets/statusnote.h"
#include "app/windowparts.h"
#include "chart/openedcycle.h"
#include "exports/cycletable.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using kvaro::testing::control;
using kvaro::testing::readFile;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

gen::CycleSpec oilCycle()
{
    gen::CycleSpec spec;
    spec.heatingType = 0;
    spec.burnerCount = 2;
    spec.probeCount = 2;
    spec.durationSeconds = 2 * 3600;
    spec.samplePeriodSeconds = 20;
    return spec;
}

// The window with its chart, in the shipped languages (Polish first).
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;
    ChartParts controller{};

    QString path(const QString& name) const { return home.filePath(name); }

    void start()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        form = create();
        controller = attachChart(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    // Opens a file the way the open dialog's confirmation does.
    void open(const QString& file)
    {
        form->FileOpenDialog1FileOkClick(file);
        QVERIFY(kvaro::testing::settle(form));
        QCoreApplication::processEvents();
    }

    QString oil(const QString& name)
    {
        const QString file = path(name);
        gen::writeCycleFile(file, oilCycle());
        return file;
    }

    // The oil cycle's lines with one of them changed.
    QString changed(const QString& name, const std::function<void(QList<QByteArray>&)>& change)
    {
        QList<QByteArray> lines = gen::writeCycle(oilCycle()).split('\n');
        change(lines);
        const QString file = path(name);
        writeFile(file, lines.join('\n'));
        return file;
    }
};

} // namespace

class TestCsvWindow : public QObject
{
    Q_OBJECT

private slots:
    void buttonFollowsTheDrawnCycle_data();
    void buttonFollowsTheDrawnCycle();
    void savesTheDrawnCycle();
};

// A cycle that is not drawn whole leaves nothing to save, whichever way it failed.
void TestCsvWindow::buttonFollowsTheDrawnCycle_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("too few lines") << "short";
    QTest::newRow("heating type 7") << "kind 7";
    QTest::newRow("a field that does not convert") << "bad field";
}

void TestCsvWindow::buttonFollowsTheDrawnCycle()
{
    QFETCH(QString, kind);
    Machine m;
    m.start();
    TForm2& form = *m.form;
    QPushButton* button = control<QPushButton>(form, "SaveCsvButton");
    QCOMPARE(button, m.controller.saving->saveCsvButton());
    QVERIFY(control<QWidget>(form, "AdvSmoothTabPage1")->isAncestorOf(button));
    QCOMPARE(button->text(), QStringLiteral("Zapisz CSV"));
    QVERIFY(!button->isEnabled());

    m.open(m.oil(QStringLiteral("P1.csv")));
    QVERIFY(button->isEnabled());
    form.AdvSmoothButton7Click();
    QCOMPARE(button->text(), QStringLiteral("Save as CSV"));

    QString file;
    if (kind == QLatin1String("short")) {
        file = m.path(QStringLiteral("P2.csv"));
        writeFile(file, "header\r\n0,1,2\r\n");
    } else if (kind == QLatin1String("kind 7")) {
        file = m.changed(QStringLiteral("P2.csv"),
                         [](QList<QByteArray>& lines) { lines[1][0] = '7'; });
    } else {
        file = m.changed(QStringLiteral("P2.csv"), [](QList<QByteArray>& lines) {
            QList<QByteArray> fields = lines[100].split(',');
            fields[1] = "x1";
            lines[100] = fields.join(',');
        });
    }
    m.open(file);
    QCOMPARE(m.messages.texts().size(), 1);
    QVERIFY(!button->isEnabled());
    const QString csv = m.path(QStringLiteral("P2-table.csv"));
    QVERIFY(!kvaro::testing::savedBy(m.controller.saving,
                                     [&] { m.controller.saving->saveChartCsv(csv); }));
    QVERIFY(!QFile::exists(csv));
    QCOMPARE(m.messages.texts().size(), 1);

    m.open(m.oil(QStringLiteral("P3.csv")));
    QVERIFY(button->isEnabled());
}

void TestCsvWindow::savesTheDrawnCycle()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    const QString file = m.oil(QStringLiteral("P1.csv"));
    // What the table of the picked file holds on the window's "," locale.
    const CsvTable expected = cycleTable(openCycle(file, CycleSource::Picked, QLatin1Char(',')),
                                         form.JezykMemo(), QLatin1Char(','));
    m.open(file);
    // The file changes after it was drawn: the table is still the one on the chart.
    writeFile(file, "header\r\n");

    const QString csv = m.path(QStringLiteral("P1-table.csv"));
    QVERIFY(kvaro::testing::savedBy(m.controller.saving,
                                    [&] { m.controller.saving->saveChartCsv(csv); }));
    QVERIFY2(m.messages.texts().isEmpty(), qPrintable(m.messages.texts().join(u'|')));
    QCOMPARE(control<StatusNote>(form, "DolnyBarNote")->note(),
             QStringLiteral("Zapisano tabelę: ") + shortPath(csv));
    const QByteArray bytes = readFile(csv);
    QCOMPARE(bytes, expected.bytes());
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"
                             "Godzina;Czas od startu;T1 [\xC2\xB0"
                             "C];"));
    QCOMPARE(expected.rowCount(), int(form.chartModel().at(series::T1).points.size()) + 1);

    const QString nowhere = m.path(QStringLiteral("missing/folder/P1.csv"));
    QVERIFY(!kvaro::testing::savedBy(m.controller.saving,
                                     [&] { m.controller.saving->saveChartCsv(nowhere); }));
    QCOMPARE(m.messages.texts().size(), 1);
    // The whole path and the system's reason, both in the interface language: Qt words the
    // reason in Polish too once its translations are loaded.
    QCOMPARE(m.messages.texts().constFirst(),
             fillIn(form.text(Text::CannotWrite),
                    {QDir::toNativeSeparators(nowhere),
                     QCoreApplication::translate("QIODevice", "No such file or directory")}));
    QVERIFY(!m.messages.texts().constFirst().contains(QStringLiteral("No such file")));
    QVERIFY(m.controller.saving->saveCsvButton()->isEnabled());
}

QTEST_MAIN(TestCsvWindow)
#include "test_csv_window.moc"
