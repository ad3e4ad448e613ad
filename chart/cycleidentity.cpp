#include "chart/cycleidentity.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "chart/recordfields.h"
#include "cycles/cycleformat.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTime>

#include <functional>

namespace kvaro {

namespace {

const QString Unknown = QStringLiteral("?");

// The value read from one line, or "?" where the line or its fields do not read.
QString fromLine(const LineBuffer& lines, int index,
                 const std::function<QString(const RecordFields&)>& read)
{
    if (index < 0 || index >= lines.count())
        return Unknown;
    try {
        RecordFields fields(lines.fileName());
        fields.assign(lines.line(index), index);
        return read(fields);
    } catch (const Failure&) {
        return Unknown;
    }
}

QString timeOf(const RecordFields& fields)
{
    const QTime time = QTime(0, 0).addSecs(fields.timeOfDay());
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString dateOf(const RecordFields& fields)
{
    const int year = fields.integer(field::StartYear);
    const QDate date(2000 + year, fields.integer(field::StartMonth),
                     fields.integer(field::StartDay));
    // Year "0" is how the controller writes "no date".
    return year != 0 && date.isValid() ? date.toString(Qt::ISODate) : Unknown;
}

} // namespace

QString cycleIdentityLine(const LineBuffer& lines, bool stored, const Language& language)
{
    const QFileInfo file(lines.fileName());
    const QString date = fromLine(lines, line::FirstRecord, dateOf);
    const QString start = fromLine(lines, line::FirstRecord, timeOf);
    const QString end = fromLine(lines, lines.trimmedCount() - 1, timeOf);
    if (!stored)
        return fillIn(language.text(Text::ChartIdentityFile), {file.fileName(), date, start, end});
    // The number as the cycle list takes it from the name.
    QString number = file.fileName();
    number.remove(QLatin1Char('P')).remove(QStringLiteral(".csv"));
    return fillIn(language.text(Text::ChartIdentityStored),
                  {file.dir().dirName(), number, date, start, end});
}

} // namespace kvaro
