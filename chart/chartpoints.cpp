#include "chart/chartpoints.h"

#include "chart/chartloader.h"

#include <algorithm>
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
    return *d; // a shared one is copied here first, its keys still shared
}

ChartPoints::Keys& ChartPoints::ownKeys(Data& data)
{
    if (data.keys.use_count() > 1) {
        auto own = std::make_shared<Keys>();
        const std::size_t n = std::size_t(data.count);
        own->xs.reserve(std::max(n, data.keys->xs.capacity()));
        own->elapsed.reserve(own->xs.capacity());
        own->xs.assign(data.keys->xs.begin(), data.keys->xs.begin() + qsizetype(n));
        own->elapsed.assign(data.keys->elapsed.begin(), data.keys->elapsed.begin() + qsizetype(n));
        for (auto it = data.keys->labels.cbegin(); it != data.keys->labels.cend(); ++it) {
            if (it.key() < data.count)
                own->labels.insert(it.key(), it.value());
        }
        data.keys = std::move(own);
    }
    return *data.keys;
}

ChartPoints::Keys& ChartPoints::keysToAppend(Data& data)
{
    Keys& keys = *data.keys;
    const bool atEnd = qsizetype(keys.xs.size()) == data.count;
    // Growing in place would move the storage the other holders read.
    const bool fits =
        keys.xs.size() < keys.xs.capacity() && keys.elapsed.size() < keys.elapsed.capacity();
    if (atEnd && (fits || data.keys.use_count() == 1))
        return keys;
    Keys& own = ownKeys(data);
    if (qsizetype(own.xs.size()) != data.count) {
        // Sole holder of keys another series appended to since: drop what is not ours.
        own.xs.resize(std::size_t(data.count));
        own.elapsed.resize(std::size_t(data.count));
        for (auto it = own.labels.begin(); it != own.labels.end();)
            it = it.key() >= data.count ? own.labels.erase(it) : std::next(it);
    }
    return own;
}

void ChartPoints::appendKey(Data& data, double x, qint32 key, const QString& label)
{
    Keys& keys = keysToAppend(data);
    if (key == CustomLabel)
        keys.labels.insert(data.count, label);
    keys.xs.push_back(x);
    keys.elapsed.push_back(key);
}

void ChartPoints::reserve(qsizetype size)
{
    Data& data = write();
    data.ys.reserve(std::size_t(size));
    if (data.keys.use_count() == 1) {
        data.keys->xs.reserve(std::size_t(size));
        data.keys->elapsed.reserve(std::size_t(size));
    }
}

void ChartPoints::clear()
{
    d.reset();
}

void ChartPoints::append(const ChartPoint& point)
{
    Data& data = write();
    appendKey(data, point.x, keyOf(point.label), point.label);
    data.ys.push_back(point.y);
    ++data.count;
}

void ChartPoints::appendElapsed(double x, double y, qint64 elapsedSeconds)
{
    Data& data = write();
    if (fitsKey(elapsedSeconds))
        appendKey(data, x, qint32(elapsedSeconds), QString());
    else
        appendKey(data, x, CustomLabel, elapsedLabel(elapsedSeconds));
    data.ys.push_back(y);
    ++data.count;
}

void ChartPoints::appendAlongside(const ChartPoints& leader, double y)
{
    const Data& lead = *leader.d;
    Data& data = write();
    if (data.count == 0 && lead.count == 1)
        data.keys = lead.keys;
    if (data.keys == lead.keys && data.count == lead.count - 1) {
        // The leader appended the point's keys already.
    } else {
        const qsizetype last = lead.count - 1;
        const qint32 key = lead.keys->elapsed[std::size_t(last)];
        appendKey(data, lead.keys->xs[std::size_t(last)], key,
                  key == CustomLabel ? lead.keys->labels.value(last) : QString());
    }
    data.ys.push_back(y);
    ++data.count;
}

QString ChartPoints::label(qsizetype i) const
{
    const qint32 key = d->keys->elapsed[std::size_t(i)];
    return key == CustomLabel ? d->keys->labels.value(i) : elapsedLabel(key);
}

qint64 ChartPoints::elapsed(qsizetype i) const
{
    const qint32 key = d->keys->elapsed[std::size_t(i)];
    if (key >= 0)
        return key;
    // What a label reads as when parsed back: negative keys and other texts.
    return secondsOfLabel(label(i));
}

ChartPoints::Ref ChartPoints::operator[](qsizetype i)
{
    Data& data = write();
    Keys& keys = ownKeys(data);
    return {keys.xs[std::size_t(i)], data.ys[std::size_t(i)]};
}

std::span<const double> ChartPoints::xs() const
{
    return d ? std::span<const double>(d->keys->xs.data(), std::size_t(d->count))
             : std::span<const double>();
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
