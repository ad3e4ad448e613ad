#include "store/ovenname.h"

#include "cycles/cycleformat.h"

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

} // namespace kvaro
