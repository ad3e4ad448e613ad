#include "app/widgets/statusnote.h"

#include <QDir>
#include <QFontMetrics>

namespace kvaro {

StatusNote::StatusNote(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StatusNote::clearNote);
}

void StatusNote::showFor(const QString& note, int ms)
{
    showUntilCleared(note);
    m_timer.start(ms);
}

void StatusNote::showUntilCleared(const QString& note)
{
    m_timer.stop();
    m_note = note;
    setToolTip(note);
    showElided();
}

void StatusNote::clearNote()
{
    m_timer.stop();
    m_note.clear();
    setToolTip(QString());
    setText(QString());
}

QSize StatusNote::minimumSizeHint() const
{
    // However long the note, it never pushes the status bar's other labels aside.
    return {0, QLabel::minimumSizeHint().height()};
}

void StatusNote::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showElided();
}

void StatusNote::showElided()
{
    setText(fontMetrics().elidedText(m_note, Qt::ElideMiddle, contentsRect().width()));
}

QString shortPath(const QString& path)
{
    const QString home = QDir::homePath();
    QString shown = QDir::cleanPath(path);
    if (!home.isEmpty() && home != QLatin1String("/") && shown.startsWith(home + u'/'))
        shown = QStringLiteral("~") + shown.mid(home.size());
    return QDir::toNativeSeparators(shown);
}

} // namespace kvaro
