#pragma once

#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace kvaro {

// One of the program's pictures, scaled to fit the widget with its proportions kept and
// centred. Pictures are named by file name ("Olej.svg") and come from the compiled-in
// assets; a picture that does not exist leaves the box empty.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);
    explicit PictureBox(const QString& fileName, QWidget* parent = nullptr);

    void setPicture(const QString& fileName);
    const QString& picture() const { return m_fileName; }
    bool hasPicture() const;
    // A watermark: drawn pale and no larger than a large icon, whatever the box's size.
    void setFaded(bool faded);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_fileName;
    bool m_faded = false;
    QSvgRenderer* m_renderer;
};

} // namespace kvaro
