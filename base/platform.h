#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The outside world the operations need, behind small interfaces so tests can supply
// their own: today's date, the locale's number and date forms, and modal messages.
namespace kvaro {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock
{
public:
    QDate today() const override;
    QDateTime now() const override;
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDate today() const override { return m_now.date(); }
    QDateTime now() const override { return m_now; }
    void set(QDateTime now) { m_now = std::move(now); }

private:
    QDateTime m_now;
};

class Locale
{
public:
    virtual ~Locale() = default;
    virtual QChar decimalSeparator() const = 0;
    // A QDate format string (for example "dd.MM.yyyy").
    virtual QString shortDateFormat() const = 0;

    QString shortDate(const QDate& date) const { return date.toString(shortDateFormat()); }
};

// Reads the system locale once, when constructed: the program keeps the separator it
// started with even if the user changes the locale while it runs.
class SystemLocale : public Locale
{
public:
    SystemLocale();
    QChar decimalSeparator() const override { return m_separator; }
    QString shortDateFormat() const override { return m_dateFormat; }

private:
    QChar m_separator;
    QString m_dateFormat;
};

class FixedLocale : public Locale
{
public:
    explicit FixedLocale(QChar separator = QLatin1Char('.'),
                         QString dateFormat = QStringLiteral("dd.MM.yyyy"))
        : m_separator(separator), m_dateFormat(std::move(dateFormat))
    {
    }
    QChar decimalSeparator() const override { return m_separator; }
    QString shortDateFormat() const override { return m_dateFormat; }

private:
    QChar m_separator;
    QString m_dateFormat;
};

// Modal messages with the caption "LERTA Kvaro" and one OK button. The window shows them;
// tests and the command line collect them.
class Messages
{
public:
    virtual ~Messages() = default;
    virtual void show(const QString& text) = 0;
};

class RecordingMessages : public Messages
{
public:
    void show(const QString& text) override { m_texts.append(text); }
    const QStringList& texts() const { return m_texts; }
    void clear() { m_texts.clear(); }

private:
    QStringList m_texts;
};

inline const QString applicationTitle()
{
    return QStringLiteral("LERTA Kvaro");
}

// Numbers shown to the user: the shortest general form with up to 15 significant digits,
// written with the given decimal separator (3,77 on a "," locale).
QString formatGeneral(double value, QChar decimalSeparator);

} // namespace kvaro
