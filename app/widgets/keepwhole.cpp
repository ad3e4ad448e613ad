#include "app/widgets/keepwhole.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>

#include <algorithm>
#include <optional>

namespace kvaro {

namespace {

constexpr double SmallestPoints = 7.0;
// Room a button's frame and padding take beside its text, and between icon and text.
constexpr int ButtonPadding = 8;
constexpr int IconGap = 4;

class WholeText : public QObject
{
public:
    WholeText(QWidget* widget, const QString& longest) : QObject(widget), m_longest(longest)
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::FontChange:
        case QEvent::StyleChange: {
            auto* widget = static_cast<QWidget*>(watched);
            // Two pixels each way for a frame the style sheet draws.
            widget->setMinimumSize(widget->fontMetrics().size(0, m_longest) + QSize(4, 2));
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    QString m_longest;
};

class ShrinkingText : public QObject
{
public:
    explicit ShrinkingText(QPushButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

    // Fitted just before each paint: the text may have changed, and the button's size.
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Polish)
            m_natural = m_button->font();
        else if (event->type() == QEvent::Paint)
            fit();
        return false;
    }

private:
    void fit()
    {
        QFont font = m_natural.value_or(m_button->font());
        const int room = m_button->width() - ButtonPadding -
                         (m_button->icon().isNull() ? 0 : m_button->iconSize().width() + IconGap);
        while (font.pointSizeF() > SmallestPoints &&
               QFontMetrics(font).horizontalAdvance(m_button->text()) > room)
            font.setPointSizeF(std::max(SmallestPoints, font.pointSizeF() - 0.5));
        if (font != m_button->font())
            m_button->setFont(font);
    }

    QPushButton* m_button;
    std::optional<QFont> m_natural;
};

} // namespace

void keepWhole(QWidget* widget, const QString& longest)
{
    new WholeText(widget, longest);
}

void shrinkTextToFit(QPushButton* button)
{
    new ShrinkingText(button);
}

int buttonTextWidth(const QPushButton& button)
{
    return button.fontMetrics().horizontalAdvance(button.text()) + ButtonPadding +
           (button.icon().isNull() ? 0 : button.iconSize().width() + IconGap);
}

} // namespace kvaro
