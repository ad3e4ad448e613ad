#include "app/widgets/eventkey.h"

#include "base/language.h"
#include "chart/eventmarker.h"
#include "chart/view/eventpicture.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace kvaro {

EventKey::EventKey(const Language& language, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EventKey"));
    setWindowTitle(language.text(Text::EventKey));
    auto* grid = new QGridLayout(this);
    const int side = 32;
    const qreal ratio = devicePixelRatioF();
    for (int code = 1; code <= 7; ++code) {
        QPixmap picture(int(side * ratio), int(side * ratio));
        picture.fill(Qt::transparent);
        {
            QPainter painter(&picture);
            paintEventMarker(&painter, QRectF(0, 0, side * ratio, side * ratio), code,
                             QColor(255, 0, 0));
        }
        picture.setDevicePixelRatio(ratio);
        auto* image = new QLabel(this);
        image->setPixmap(picture);
        auto* name = new QLabel(eventName(language, code), this);
        name->setObjectName(QStringLiteral("EventName%1").arg(code));
        grid->addWidget(image, code - 1, 0);
        grid->addWidget(name, code - 1, 1);
    }
}

} // namespace kvaro
