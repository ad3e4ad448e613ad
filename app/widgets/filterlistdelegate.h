#pragma once

#include <QStyledItemDelegate>

class QSvgRenderer;

namespace kvaro {

// Draws Listboxprawy's items: headers as shaded bands without a check box (the temperature
// and burner headers with their small picture at the right edge), check-box items and the
// two probe texts indented under their header. Each check-box item shows a swatch of what
// it switches: the series' line, area or lane colour, or an event marker; an events item
// also carries a small button that opens the key of the event pictures. A click anywhere
// else on a check-box item, or Space on it, toggles its mark through the model.
class FilterListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int Indent = 30;
    static constexpr int PictureSize = 16;

    explicit FilterListDelegate(QObject* parent = nullptr);
    ~FilterListDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Where the check box of a check-box item lies within the item's rectangle.
    static QRect checkBoxRect(const QRect& itemRect);
    static QRect swatchRect(const QRect& itemRect);
    // The button of an events item that opens the key of the event pictures.
    static QRect keyButtonRect(const QRect& itemRect);

signals:
    void eventKeyRequested();

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                     const QModelIndex& index) const;
    void paintCheck(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) const;
    void paintSwatch(QPainter* painter, const QRect& rect, int series) const;

    QSvgRenderer* m_temperature;
    QSvgRenderer* m_burner;
};

} // namespace kvaro
