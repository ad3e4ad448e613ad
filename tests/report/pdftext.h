#pragma once

// A written PDF read back (poppler.h), with the fixtures the report tests share.
#include "base/language.h"
#include "chart/view/chartview.h"
#include "tests/chart/cyclefixture.h"
#include "tests/report/poppler.h"
#include "tests/testfiles.h"

#include <QTest>

namespace kvaro::testing {

// The shipped language file of that name.
inline Language shippedLanguage(const char* name)
{
    QString text = QString::fromUtf8(
        readFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/") + QLatin1String(name)));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return Language(lines);
}

// A small burner cycle at one-minute steps from 10:00:00: it reaches its set temperature
// of 180 °C after two minutes, burner 1 lights its flame at 10:03 (exchanger 150.5 °C),
// burner 2 reports a fault at 10:05 (exchanger 99.4 °C), the heaters' output is on from
// 10:02 to 10:04, and 2.75 kg of fuel are used.
inline QStringList smallCycleLines(int extraEvents = 0)
{
    using namespace kvaro::test;
    QList<Rec> list;
    const int count = 8 + extraEvents;
    for (int i = 0; i < count; ++i) {
        Rec r;
        r.time = QTime(10, 0, 0).addSecs(60 * i);
        r.working = QString::number(i == 0 ? 20 : i == 1 ? 100 : 180 + i);
        r.fuel = i == count - 1 ? QStringLiteral("2.75") : QStringLiteral("%1").arg(i * 0.25);
        r.exchanger[0] = QStringLiteral("150.5");
        r.exchanger[1] = QStringLiteral("99.4");
        r.events[0] = i >= 3 ? 2 : 1;
        r.events[1] = i >= 5 ? 4 : 1;
        // A long cycle's burner 1 switches between working and flame every minute.
        if (i >= 8)
            r.events[0] = i % 2 ? 1 : 2;
        if (i >= 2 && i <= 4)
            r.outputs[0] = QStringLiteral("1");
        list.append(r);
    }
    FirstSettings settings;
    settings.airing = QStringLiteral("1");
    const LineBuffer buffer = cycle(list, settings);
    QStringList lines;
    for (int i = 0; i < buffer.count(); ++i) {
        QString line = buffer.line(i);
        // The first record carries the start date: 7 May 2024.
        if (i == 1) {
            QStringList fields = line.split(QLatin1Char(';'));
            fields[field::StartYear] = QStringLiteral("24");
            fields[field::StartMonth] = QStringLiteral("5");
            fields[field::StartDay] = QStringLiteral("7");
            line = fields.join(QLatin1Char(';'));
        }
        lines.append(line);
    }
    return lines;
}

inline void writeCycleFile(const QString& path, const QStringList& lines)
{
    writeFile(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

} // namespace kvaro::testing
