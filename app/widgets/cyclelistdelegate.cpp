#include "app/widgets/cyclelistdelegate.h"

#include "assets/assets.h"
#include "catalogue/cyclelistmodel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleOptionProgressBar>
#include <QTextDocument>

namespace kvaro {

namespace {
constexpr int Padding = 4;
constexpr int BarHeight = 14;
} // namespace

CycleListDelegate::CycleListDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_icon(picturePath(QStringLiteral("ikonkaLewa.svg")))
{
}

QString CycleListDelegate::progressText(int value)
{
    return QString::asprintf("%.0f%%", double(value));
}

void CycleListDelegate::layoutText(QTextDocument& document, const QModelIndex& index,
                                   int width) const
{
    document.setDocumentMargin(0);
    document.setHtml(index.data(CycleListModel::CaptionRole).toString() + QStringLiteral("<br>") +
                     index.data(CycleListModel::InfoRole).toString().toHtmlEscaped() +
                     QStringLiteral("<br>") + index.data(CycleListModel::NotesRole).toString());
    document.setTextWidth(std::max(50, width));
}

void CycleListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter, option.widget);

    const QRect r = option.rect.adjusted(Padding, Padding, -Padding, -Padding);
    m_icon.paint(painter, QRect(r.topLeft(), IconSize));

    const int textLeft = r.left() + IconSize.width() + Padding;
    QTextDocument document;
    layoutText(document, index, r.right() - textLeft);
    painter->save();
    painter->translate(textLeft, r.top());
    document.drawContents(painter);
    painter->restore();

    QStyleOptionProgressBar bar;
    bar.rect = QRect(textLeft, r.bottom() - BarHeight + 1, r.right() - textLeft, BarHeight);
    bar.minimum = 0;
    bar.maximum = 100;
    const int value = index.data(CycleListModel::ProgressRole).toInt();
    bar.progress = std::min(value, 100);
    bar.text = progressText(value);
    bar.textVisible = true;
    bar.state = option.state | QStyle::State_Horizontal;
    style->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
}

QSize CycleListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    // As wide as the list's visible area, never wider: the texts wrap to it, so the list
    // has nothing to scroll sideways.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const int width =
        view ? view->viewport()->width() : (option.rect.width() > 0 ? option.rect.width() : 200);
    QTextDocument document;
    layoutText(document, index, width - 3 * Padding - IconSize.width());
    const int text = int(std::ceil(document.size().height()));
    return {width, std::max(text, IconSize.height()) + BarHeight + 3 * Padding};
}

} // namespace kvaro
