#include "cycles/cyclename.h"

#include "base/linebuffer.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"

namespace kvaro {

namespace {

constexpr int MinimumNameLength = 7;
// The last four identifier fields also carry short forms.
constexpr int ShortFormFirst = field::OvenIdFirst + 4;

void appendAt(QString& name, const QString& text, int position) // 1-based
{
    if (position <= text.size())
        name += text.at(position - 1);
}

QChar safe(QChar c)
{
    const char16_t u = c.unicode();
    const bool ok = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                    (u >= u'0' && u <= u'9') || u == u'-' || u == u'_';
    return ok ? c : QLatin1Char('_');
}

} // namespace

QString ovenName(const QStringList& fields)
{
    if (fields.size() < field::OvenIdRecordSize)
        return unknownOven();
    QString name;
    for (int index = field::OvenIdFirst; index <= field::OvenIdLast; ++index) {
        const QString& text = fields.at(index);
        if (text.size() >= 3) {
            appendAt(name, text, 4);
            appendAt(name, text, 2);
        } else if (index >= ShortFormFirst) {
            appendAt(name, text, 2);
        }
    }
    if (name.size() < MinimumNameLength)
        return unknownOven();
    for (QChar& c : name)
        c = safe(c);
    return name;
}

QString ovenNameOfCycle(const LineBuffer& memo1)
{
    for (int i = 0; i < memo1.count(); ++i) {
        const QStringList fields = Split(memo1.line(i));
        if (!fields.isEmpty() && isHeatingTypeCode(fields.first()))
            return ovenName(fields);
    }
    return {};
}

QString cycleNumberFromName(const QString& fileName)
{
    // "P123.csv", as nearly every name reads: the text between the two.
    const QLatin1String extension(".csv");
    const qsizetype end = fileName.size() - extension.size();
    if (fileName.startsWith(QLatin1Char('P')) && fileName.indexOf(QLatin1Char('P'), 1) < 0 &&
        end >= 1 && fileName.indexOf(extension) == end)
        return fileName.sliced(1, end - 1);
    QString number = fileName;
    number.remove(QLatin1Char('P'), Qt::CaseSensitive);
    number.remove(QStringLiteral(".csv"), Qt::CaseSensitive);
    return number;
}

} // namespace kvaro
