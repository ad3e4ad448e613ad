#include "app/widgets/filterlistdelegate.h"

#include "assets/assets.h"
#include "chart/eventmarker.h"
#include "chart/filterlist.h"
#include "chart/filterlistmodel.h"
#include "chart/view/eventpicture.h"
#include "chart/view/seriesstyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace kvaro {

namespace {

using Role = FilterList::Role;

Role roleOf(const QModelIndex& index)
{
    return Role(index.data(FilterListModel::ItemRoleRole).toInt());
}

int seriesOf(const QModelIndex& index)
{
    const QVariant series = index.data(FilterListModel::SeriesRole);
    return series.isValid() ? series.toInt() : -1;
}

bool isEvents(const QModelIndex& index)
{
    return burnerEventOf(seriesOf(index)).has_value();
}

bool isHeader(Role role)
{
    return role == Role::TemperatureHeader || role == Role::BurnerHeader || role == Role::Header;
}

const QColor textColour(0x17, 0x39, 0x5f);
const QColor mutedColour(0x5a, 0x72, 0x90);
const QColor lineColour(0x8f, 0xb1, 0xd6);

} // namespace

FilterListDelegate::FilterListDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      m_temperature(new QSvgRenderer(picturePath(QStringLiteral("Termometr.svg")), this)),
      m_burner(new QSvgRenderer(picturePath(QStringLiteral("Palnik.svg")), this))
{
}

FilterListDelegate::~FilterListDelegate() = default;

QRect FilterListDelegate::checkBoxRect(const QRect& itemRect)
{
    const int side = 13;
    return QRect(itemRect.left() + Indent, itemRect.center().y() - side / 2, side, side);
}

QRect FilterListDelegate::swatchRect(const QRect& itemRect)
{
    const int side = 16;
    return QRect(checkBoxRect(itemRect).right() + 6, itemRect.center().y() - side / 2, side, side);
}

QRect FilterListDelegate::keyButtonRect(const QRect& itemRect)
{
    const int side = 15;
    return QRect(itemRect.right() - 4 - side, itemRect.center().y() - side / 2, side, side);
}

QSize FilterListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const
{
    const int line = option.fontMetrics.height();
    return QSize(Indent + 60, isHeader(roleOf(index)) ? std::max(line + 10, PictureSize + 8)
                                                      : std::max(line + 6, 19));
}

void FilterListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (isHeader(roleOf(index)))
        paintHeader(painter, option, index);
    else
        paintCheck(painter, option, index);
    painter->restore();
}

void FilterListDelegate::paintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const QRect rect = option.rect;
    QLinearGradient band(rect.topLeft(), rect.bottomLeft());
    band.setColorAt(0, QColor(0xf4, 0xf9, 0xfe));
    band.setColorAt(1, QColor(0xd6, 0xe6, 0xf6));
    painter->fillRect(rect, band);
    // The separator under each header closes the group above it.
    painter->setPen(QPen(lineColour, 1));
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());

    QRect textRect = rect.adjusted(6, 0, -6, 0);
    QSvgRenderer* picture = nullptr;
    switch (roleOf(index)) {
    case Role::TemperatureHeader:
        picture = m_temperature;
        break;
    case Role::BurnerHeader:
        picture = m_burner;
        break;
    default:
        break;
    }
    if (picture && picture->isValid()) {
        const QRect box(rect.right() - 6 - PictureSize, rect.center().y() - PictureSize / 2,
                        PictureSize, PictureSize);
        // Proportions kept, centred in the box.
        QSizeF size = picture->defaultSize();
        size.scale(box.size(), Qt::KeepAspectRatio);
        QRectF target(QPointF(0, 0), size);
        target.moveCenter(QRectF(box).center());
        picture->render(painter, target);
        textRect.setRight(box.left() - 4);
    }

    QFont font = option.font;
    font.setBold(true);
    painter->setFont(font);
    painter->setPen(textColour);
    painter->drawText(
        textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
}

void FilterListDelegate::paintCheck(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    const QRect rect = option.rect;
    const bool checkable = index.flags() & Qt::ItemIsUserCheckable;
    if (checkable && (option.state & QStyle::State_MouseOver))
        painter->fillRect(rect, QColor(0xea, 0xf3, 0xfc));

    QRect textRect = rect.adjusted(Indent, 0, -4, 0);
    const QVariant state = index.data(Qt::CheckStateRole);
    if (state.isValid()) {
        QStyleOptionViewItem box(option);
        box.rect = checkBoxRect(rect);
        box.state =
            QStyle::State_Enabled |
            (state.value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
        textRect.setLeft(box.rect.right() + 7);
        const int series = seriesOf(index);
        if (series >= 0) {
            paintSwatch(painter, swatchRect(rect), series);
            textRect.setLeft(swatchRect(rect).right() + 6);
        }
        if (isEvents(index)) {
            const QRect button = keyButtonRect(rect);
            painter->setPen(QPen(lineColour, 1));
            painter->setBrush(QColor(0xf4, 0xf9, 0xfe));
            painter->drawEllipse(QRectF(button).adjusted(0.5, 0.5, -0.5, -0.5));
            painter->setPen(textColour);
            painter->drawText(button, Qt::AlignCenter, QStringLiteral("?"));
            textRect.setRight(button.left() - 4);
        }
    }

    painter->setFont(option.font);
    // The probe texts carry no check box and switch nothing: they read as notes.
    painter->setPen(state.isValid() ? textColour : mutedColour);
    painter->drawText(
        textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width()));
}

void FilterListDelegate::paintSwatch(QPainter* painter, const QRect& rect, int series) const
{
    painter->save();
    if (series >= series::ArrowFirst && series <= series::ArrowLast) {
        // An output lane's bar.
        painter->fillRect(QRectF(rect).adjusted(0, 4, 0, -4), seriesColour(series));
    } else if (series == series::Power) {
        painter->setPen(QPen(seriesColour(series).darker(130), 1));
        painter->setBrush(seriesColour(series));
        painter->drawRect(QRectF(rect).adjusted(0.5, 3.5, -0.5, -3.5));
    } else if (burnerEventOf(series)) {
        paintEventMarker(painter, QRectF(rect), 1, seriesColour(series));
    } else {
        // Crisp, so the swatch shows the pen's own colour and width.
        painter->setRenderHint(QPainter::Antialiasing, false);
        QPen pen = seriesPen(series);
        pen.setCapStyle(Qt::FlatCap);
        painter->setPen(pen);
        const int y = rect.center().y();
        painter->drawLine(rect.left(), y, rect.right(), y);
    }
    painter->restore();
}

bool FilterListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (!(index.flags() & Qt::ItemIsUserCheckable))
        return false;
    bool toggle = false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Taken here so the release below is the one click that toggles.
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && isEvents(index) &&
            keyButtonRect(option.rect).contains(mouse->position().toPoint())) {
            emit eventKeyRequested();
            return true;
        }
        toggle =
            mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        toggle = key == Qt::Key_Space || key == Qt::Key_Select;
        break;
    }
    default:
        break;
    }
    if (!toggle)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

} // namespace kvaro
