#include "catalogue/cyclestatistics.h"

#include "base/failure.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "cycles/fieldviews.h"
#include "cycles/wallclock.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <optional>

namespace kvaro {

namespace {

// The first `count` fields Split would give: the same cuts, stopping early. Asking the
// record for a field below `count` then fails exactly as on the whole split.
QStringList splitPrefix(QStringView rest, int count)
{
    const QLatin1Char sep(';');
    QStringList list;
    while (!rest.isEmpty() && list.size() < count) {
        const qsizetype at = rest.indexOf(sep);
        if (at < 0) {
            list.append(rest.toString());
            rest = {};
        } else {
            list.append(rest.left(at).toString());
            rest = rest.mid(at + 1);
            if (rest.isEmpty() && at > 0)
                list.append(QString());
        }
    }
    if (list.size() > count)
        list.resize(count);
    return list;
}

// The time of day of a record line whose first six fields are plain, as Record::timeOfDay
// gives it; nothing for any other line, which the caller reads through Record. Walking
// 100 000 records this way costs no string per field.
std::optional<int> plainTimeOfDay(const FieldViews& fields)
{
    if (fields.size() <= field::Second || !fields.startsWithHeatingType())
        return std::nullopt;
    const auto hour = plainInteger(fields.at(field::Hour));
    const auto minute = plainInteger(fields.at(field::Minute));
    const auto second = plainInteger(fields.at(field::Second));
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    return *hour * 3600 + *minute * 60 + *second;
}

// Calls examine(record) for each line of the scan range until it returns true. The range
// ends two lines before the last, so a line is looked at only once two more are known to
// follow it; line 0 is looked at in any case.
template <typename Examine>
bool scan(CycleFileText& text, const QString& name, int fieldsNeeded, Examine examine)
{
    for (int index = 0; index == 0 || text.hasLine(index + 2); ++index) {
        const Record record(splitPrefix(text.line(index), fieldsNeeded), name, index);
        if (record.isRecordLine() && examine(record))
            return true;
    }
    return false;
}

} // namespace

int getCyklSekund(const QString& path, Reading reading)
{
    const auto text = CycleFileText::open(path, reading, LineBuffer::Case::Keep);
    const QString name = QFileInfo(path).fileName();
    int result = 0;
    scan(*text, name, field::ProgrammedSeconds + 1, [&](const Record& record) {
        // In 64 bits: a damaged file's minutes times 60 need not fit an int.
        const qint64 seconds = qint64(record.integer(field::ProgrammedMinutes)) * 60 +
                               record.integer(field::ProgrammedSeconds);
        result = int(std::clamp<qint64>(seconds, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max()));
        return true;
    });
    return result;
}

int getSekundWtemperaturze(const QString& path, int temperatura, Reading reading)
{
    const auto text = CycleFileText::open(path, reading, LineBuffer::Case::Keep);
    const QString name = QFileInfo(path).fileName();
    const double threshold = double(temperatura) - 5;
    int reachedLine = -1;
    int reachedAt = 0;
    // Lines before the set temperature is reached: read straight from the text while they
    // are plain, through Record otherwise.
    const auto reached = [&](int index, int time, double value) {
        if (!(value >= threshold && value > 0))
            return false;
        reachedLine = index;
        reachedAt = time;
        return true;
    };
    for (int index = 0; index == 0 || text->hasLine(index + 2); ++index) {
        const QString line = text->line(index);
        const FieldViews fields(line, field::WorkingTemperature + 1);
        if (const auto time = plainTimeOfDay(fields);
            time && fields.size() > field::WorkingTemperature) {
            std::optional<double> value;
            try {
                value = toDecimal(fields.at(field::WorkingTemperature).toString());
            } catch (const Failure&) {
                // Record below says where.
            }
            if (value) {
                if (reached(index, *time, *value))
                    break;
                continue;
            }
        }
        const Record record(splitPrefix(line, field::WorkingTemperature + 1), name, index);
        if (!record.isRecordLine())
            continue;
        const int time = record.timeOfDay();
        if (reached(index, time, record.decimal(field::WorkingTemperature)))
            break;
    }
    if (reachedLine < 0)
        return 0;

    // The records between the reaching line and the last one are walked, not skipped:
    // only they tell a midnight from a clock that was set back.
    ElapsedClock clock;
    clock.elapsed(reachedAt);
    for (int index = reachedLine + 1; text->hasLine(index + 1); ++index) {
        const QString line = text->line(index);
        if (const auto time = plainTimeOfDay(FieldViews(line, field::Second + 1))) {
            clock.elapsed(*time);
            continue;
        }
        const Record record(splitPrefix(line, field::Second + 1), name, index);
        if (record.isRecordLine())
            clock.elapsed(record.timeOfDay());
    }
    qint64 held = 0;
    try {
        held = clock.elapsed(Record(text->lastLine(), name, -1).timeOfDay());
    } catch (Failure& failure) {
        throw failure.at(name, text->lineCount() - 1);
    }
    return int(std::min<qint64>(held, std::numeric_limits<int>::max()));
}

} // namespace kvaro
