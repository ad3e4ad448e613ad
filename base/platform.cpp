#include "base/platform.h"

#include <QLocale>

namespace kvaro {

QDate SystemClock::today() const
{
    return QDate::currentDate();
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

SystemLocale::SystemLocale()
{
    const QLocale system = QLocale::system();
    const QString separator = system.decimalPoint();
    m_separator = separator.isEmpty() ? QLatin1Char('.') : separator.at(0);
    m_dateFormat = system.dateFormat(QLocale::ShortFormat);
    // Two-digit years are ambiguous in a list of cycles spanning decades.
    if (!m_dateFormat.contains(QLatin1String("yyyy")))
        m_dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
}

QString formatGeneral(double value, QChar decimalSeparator)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace kvaro
