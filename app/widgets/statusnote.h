#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

namespace kvaro {

// The status bar's word on what the last action did: a file written (for a few seconds),
// or a cycle whose load stopped (until the next load). A text wider than the bar is
// elided in the middle, where a path is least missed, and read whole in the tooltip.
class StatusNote : public QLabel
{
    Q_OBJECT

public:
    static constexpr int ShownMs = 6000;

    explicit StatusNote(QWidget* parent = nullptr);

    void showFor(const QString& note, int ms = ShownMs);
    void showUntilCleared(const QString& note);
    void clearNote();
    // The whole text, however much of it fits.
    const QString& note() const { return m_note; }
    // Until the note goes by itself; -1 for one that stays until it is cleared.
    int remainingMs() const { return m_timer.remainingTime(); }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showElided();

    QString m_note;
    QTimer m_timer;
};

// A path as a person reads it: native separators, the home folder as "~".
QString shortPath(const QString& path);

} // namespace kvaro
