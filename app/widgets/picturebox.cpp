#include "app/widgets/picturebox.h"

#include "assets/assets.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace kvaro {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), m_renderer(new QSvgRenderer(this)) {}

PictureBox::PictureBox(const QString& fileName, QWidget* parent) : PictureBox(parent)
{
    setPicture(fileName);
}

void PictureBox::setPicture(const QString& fileName)
{
    m_fileName = fileName;
    // A fresh renderer, so a picture that cannot be found leaves nothing of the old one.
    delete m_renderer;
    m_renderer = new QSvgRenderer(this);
    const QString path = picturePath(fileName);
    if (!fileName.isEmpty() && QFile::exists(path))
        m_renderer->load(path);
    update();
}

bool PictureBox::hasPicture() const
{
    return m_renderer->isValid();
}

void PictureBox::setFaded(bool faded)
{
    m_faded = faded;
    update();
}

QSize PictureBox::sizeHint() const
{
    return QSize(32, 32);
}

void PictureBox::paintEvent(QPaintEvent*)
{
    if (!m_renderer->isValid())
        return;
    QSizeF size = m_renderer->defaultSize();
    if (size.isEmpty())
        size = QSizeF(1, 1);
    QSizeF room = QSizeF(contentsRect().size());
    if (m_faded)
        room = room.boundedTo(QSizeF(160, 160));
    size.scale(room, Qt::KeepAspectRatio);
    const QRectF area = contentsRect();
    const QRectF target(area.x() + (area.width() - size.width()) / 2,
                        area.y() + (area.height() - size.height()) / 2, size.width(),
                        size.height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_faded)
        painter.setOpacity(0.13);
    m_renderer->render(&painter, target);
}

} // namespace kvaro
