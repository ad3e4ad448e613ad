#include "exports/csvtable.h"

#include "base/linebuffer.h"

#include <algorithm>
#include <cmath>

namespace kvaro {

CsvTable::CsvTable(QChar decimalSeparator)
    : m_decimalSeparator(decimalSeparator),
      m_fieldSeparator(decimalSeparator == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(','))
{
}

void CsvTable::addRow(const QStringList& fields)
{
    QString row;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += m_fieldSeparator;
        const QString& field = fields.at(i);
        const bool quoted = field.contains(m_fieldSeparator) || field.contains(QLatin1Char('"')) ||
                            field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
        if (quoted) {
            QString doubled = field;
            doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            row += QLatin1Char('"') + doubled + QLatin1Char('"');
        } else {
            row += field;
        }
    }
    m_text += row.toUtf8();
    m_text += "\r\n";
    ++m_rows;
}

QString CsvTable::number(double value, int decimals) const
{
    if (!std::isfinite(value))
        return {};
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), m_decimalSeparator);
    return text;
}

QString CsvTable::fixed(double value, int decimals) const
{
    if (!std::isfinite(value))
        return {};
    QString text = QString::number(value, 'f', std::max(decimals, 0));
    text.replace(QLatin1Char('.'), m_decimalSeparator);
    return text;
}

QString CsvTable::decimalField(double value, QStringView field) const
{
    qsizetype decimals = 0;
    const qsizetype point =
        std::max(field.lastIndexOf(QLatin1Char('.')), field.lastIndexOf(QLatin1Char(',')));
    if (point >= 0) {
        // The digits after the separator; an exponent ("1.5e3") decides nothing here.
        for (qsizetype i = point + 1; i < field.size() && field.at(i).isDigit(); ++i)
            ++decimals;
    }
    return fixed(value, int(std::min<qsizetype>(decimals, 15)));
}

QByteArray CsvTable::bytes() const
{
    return QByteArray("\xEF\xBB\xBF") + m_text;
}

void CsvTable::save(const QString& path) const
{
    LineBuffer::saveBytes(path, bytes());
}

} // namespace kvaro
