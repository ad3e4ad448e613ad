#pragma once

#include <QIcon>
#include <QStyledItemDelegate>

class QTextDocument;

namespace kvaro {

// Draws a cycle-list item: the icon at the left (30 x 25), the caption, the info and the
// notes (small HTML through Qt's rich text), then a progress bar "%.0f%%". Items grow to
// fit their texts.
class CycleListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CycleListDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QString progressText(int value);
    static constexpr QSize IconSize{30, 25};

private:
    void layoutText(QTextDocument& document, const QModelIndex& index, int width) const;

    QIcon m_icon;
};

} // namespace kvaro
