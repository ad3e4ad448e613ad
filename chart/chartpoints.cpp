#include "chart/chartpoints.h"

#include "chart/chartloader.h"

#include <limits>

namespace kvaro {

namespace {

constexpr qint32 CustomLabel = std::numeric_limits<qint32>::min();

// The seconds an elapsed-time label stands for when elapsedLabel writes exactly that text
// for them, else CustomLabel.
qint32 keyOf(const QString& label)
{
    if (label.size() != 5 && label.size() != 8)
        return CustomLabel;
    qint64 seconds = 0;
    for (qsizetype i = 0; i < label.size(); ++i) {
        const QChar c = label.at(i);
        if (i % 3 == 2) {
            if (c != QLatin1Char(':'))
                return CustomLabel;
            continue;
        }
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return CustomLabel;
        // Each two-digit field is one place of a base-60 number.
        seconds =
            i % 3 == 0 ? seconds * 60 + 10 * (c.unicode() - '0') : seconds + c.unicode() - '0';
    }
    if (seconds > std::numeric_limits<qint32>::max() || elapsedLabel(seconds) != label)
        return CustomLabel;
    return qint32(seconds);
}

bool fitsKey(qint64 seconds)
{
    return seconds > CustomLabel && seconds <= std::numeric_limits<qint32>::max();
}

} // namespace

ChartPoints::Ref::operator ChartPoint() const
{
    return {x, y, QString()};
}

ChartPoints::ChartPoints() = default;
ChartPoints::ChartPoints(const ChartPoints&) = default;
ChartPoints::ChartPoints(ChartPoints&&) noexcept = default;
ChartPoints& ChartPoints::operator=(const ChartPoints&) = default;
ChartPoints& ChartPoints::operator=(ChartPoints&&) noexcept = default;
ChartPoints::~ChartPoints() = default;

ChartPoints::ChartPoints(std::initializer_list<ChartPoint> points)
{
    reserve(qsizetype(points.size()));
    for (const ChartPoint& point : points)
        append(point);
}

ChartPoints::ChartPoints(const QVector<ChartPoint>& points)
{
    reserve(points.size());
    for (const ChartPoint& point : points)
        append(point);
}

ChartPoints::Data& ChartPoints::write()
{
    if (!d)
        d = new Data;
    return *d; // a shared one is copied here first
}

void ChartPoints::reserve(qsizetype size)
{
    Data& data = write();
    data.xs.reserve(std::size_t(size));
    data.ys.reserve(std::size_t(size));
    data.keys.reserve(std::size_t(size));
}

void ChartPoints::clear()
{
    d.reset();
}

void ChartPoints::append(const ChartPoint& point)
{
    Data& data = write();
    const qint32 key = keyOf(point.label);
    if (key == CustomLabel)
        data.labels.insert(qsizetype(data.xs.size()), point.label);
    data.xs.push_back(point.x);
    data.ys.push_back(point.y);
    data.keys.push_back(key);
}

void ChartPoints::appendElapsed(double x, double y, qint64 elapsedSeconds)
{
    Data& data = write();
    if (fitsKey(elapsedSeconds)) {
        data.keys.push_back(qint32(elapsedSeconds));
    } else {
        data.labels.insert(qsizetype(data.xs.size()), elapsedLabel(elapsedSeconds));
        data.keys.push_back(CustomLabel);
    }
    data.xs.push_back(x);
    data.ys.push_back(y);
}

QString ChartPoints::label(qsizetype i) const
{
    const qint32 key = d->keys[std::size_t(i)];
    return key == CustomLabel ? d->labels.value(i) : elapsedLabel(key);
}

qint64 ChartPoints::elapsed(qsizetype i) const
{
    const qint32 key = d->keys[std::size_t(i)];
    if (key >= 0)
        return key;
    // What a label reads as when parsed back: negative keys and other texts.
    const QStringList parts = label(i).split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return -1;
    qint64 seconds = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < 0)
            return -1;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

ChartPoints::Ref ChartPoints::operator[](qsizetype i)
{
    Data& data = write();
    return {data.xs[std::size_t(i)], data.ys[std::size_t(i)]};
}

std::span<const double> ChartPoints::xs() const
{
    return d ? std::span<const double>(d->xs) : std::span<const double>();
}

std::span<const double> ChartPoints::ys() const
{
    return d ? std::span<const double>(d->ys) : std::span<const double>();
}

QVector<ChartPoint> ChartPoints::toVector() const
{
    QVector<ChartPoint> points;
    points.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        points.append(at(i));
    return points;
}

bool ChartPoints::operator==(const ChartPoints& other) const
{
    if (isSharedWith(other))
        return true;
    if (size() != other.size())
        return false;
    for (qsizetype i = 0; i < size(); ++i) {
        if (at(i) != other.at(i))
            return false;
    }
    return true;
}

} // namespace kvaro
