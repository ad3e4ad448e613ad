#pragma once

#include <QHash>
#include <QSharedDataPointer>
#include <QString>
#include <QVector>

#include <initializer_list>
#include <iterator>
#include <memory>
#include <span>
#include <vector>

namespace kvaro {

struct ChartPoint {
    double x = 0;
    double y = 0;
    QString label; // elapsed time since the cycle start
    bool operator==(const ChartPoint&) const = default;
};

// A series' points held as columns: x, y and, in place of a label text per point, the
// elapsed seconds the label is made from. A long cycle has millions of points, and a text
// per point was most of the memory a chart took. The rare label that is no elapsed-time
// text (anything elapsedLabel would not write) is kept beside the columns.
//
// Copies share the columns until one of them is written, so the view holds the model's
// points without a copy of its own and sees at once whether they changed. Series that are
// appended point for point alongside another (appendAlongside) share its x and time
// columns as well, which most of a cycle's series are.
class ChartPoints
{
    // x and time per point, shared by the series appended alongside each other. Only ever
    // appended to at its end, and only without moving its storage while others hold it:
    // each holder reads its own first points, which never change under it.
    struct Keys {
        std::vector<double> xs;
        // Elapsed seconds per point; CustomLabel marks a point whose label is in labels.
        std::vector<qint32> elapsed;
        QHash<qsizetype, QString> labels;
    };
    struct Data : QSharedData {
        std::shared_ptr<Keys> keys = std::make_shared<Keys>();
        qsizetype count = 0; // this series' points: the first count keys
        std::vector<double> ys;
    };

public:
    // A writable view of one point, for points[i].y = value.
    struct Ref {
        double& x;
        double& y;
        operator ChartPoint() const;
    };

    class const_iterator
    {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = ChartPoint;
        using difference_type = qsizetype;
        using reference = ChartPoint;
        struct pointer {
            ChartPoint point;
            const ChartPoint* operator->() const { return &point; }
        };

        const_iterator() = default;
        const_iterator(const ChartPoints* points, qsizetype index)
            : m_points(points), m_index(index)
        {
        }
        ChartPoint operator*() const { return m_points->at(m_index); }
        pointer operator->() const { return {m_points->at(m_index)}; }
        ChartPoint operator[](qsizetype n) const { return m_points->at(m_index + n); }
        const_iterator& operator++() { return ++m_index, *this; }
        const_iterator operator++(int) { return {m_points, m_index++}; }
        const_iterator& operator--() { return --m_index, *this; }
        const_iterator operator--(int) { return {m_points, m_index--}; }
        const_iterator& operator+=(qsizetype n) { return m_index += n, *this; }
        const_iterator& operator-=(qsizetype n) { return m_index -= n, *this; }
        friend const_iterator operator+(const_iterator it, qsizetype n) { return it += n; }
        friend const_iterator operator+(qsizetype n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, qsizetype n) { return it -= n; }
        friend qsizetype operator-(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index - b.m_index;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index == b.m_index;
        }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b)
        {
            return a.m_index <=> b.m_index;
        }

    private:
        const ChartPoints* m_points = nullptr;
        qsizetype m_index = 0;
    };
    using iterator = const_iterator;
    using value_type = ChartPoint;
    using size_type = qsizetype;

    ChartPoints();
    ChartPoints(std::initializer_list<ChartPoint> points);
    ChartPoints(const QVector<ChartPoint>& points); // NOLINT: stands in for the old vector
    ChartPoints(const ChartPoints&);
    ChartPoints(ChartPoints&&) noexcept;
    ChartPoints& operator=(const ChartPoints&);
    ChartPoints& operator=(ChartPoints&&) noexcept;
    ~ChartPoints();

    qsizetype size() const { return d ? d->count : 0; }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return size() == 0; }
    bool empty() const { return isEmpty(); }

    void reserve(qsizetype size);
    // Lets go of the columns: a holder of the same columns keeps them untouched.
    void clear();
    void append(const ChartPoint& point);
    // The loader's way in: the label is made from the seconds only when someone asks.
    void appendElapsed(double x, double y, qint64 elapsedSeconds);
    // A point at the x and label of leader's last point (which must exist). Where this
    // series went along with leader so far, the two keep sharing those columns.
    void appendAlongside(const ChartPoints& leader, double y);

    double x(qsizetype i) const { return d->keys->xs[std::size_t(i)]; }
    double y(qsizetype i) const { return d->ys[std::size_t(i)]; }
    QString label(qsizetype i) const;
    // The elapsed seconds the label of point i stands for, or -1 where it is no
    // elapsed-time text.
    qint64 elapsed(qsizetype i) const;

    ChartPoint at(qsizetype i) const { return {x(i), y(i), label(i)}; }
    ChartPoint operator[](qsizetype i) const { return at(i); }
    Ref operator[](qsizetype i);
    ChartPoint first() const { return at(0); }
    ChartPoint last() const { return at(size() - 1); }
    ChartPoint constFirst() const { return first(); }
    ChartPoint constLast() const { return last(); }

    // The columns, in the order the points were added.
    std::span<const double> xs() const;
    std::span<const double> ys() const;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    QVector<ChartPoint> toVector() const;
    operator QVector<ChartPoint>() const { return toVector(); } // NOLINT

    // Whether both hold the very same columns (two empty ones always do).
    bool isSharedWith(const ChartPoints& other) const { return d == other.d; }
    bool operator==(const ChartPoints& other) const;

private:
    Data& write();
    // The keys of data, made its own where appending (or, with anywhere, writing at any
    // point) would change what another holder sees.
    static Keys& keysToAppend(Data& data);
    static Keys& ownKeys(Data& data);
    static void appendKey(Data& data, double x, qint32 key, const QString& label);

    QSharedDataPointer<Data> d;
};

} // namespace kvaro
