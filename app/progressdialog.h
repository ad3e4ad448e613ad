#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kvaro {

// The progress dialog shown, without blocking the window, while files are imported or an
// oven's catalogue is built; WindowJobs lends it to one piece of work at a time. Caption and body
// are language texts the window sets. It carries the object name MsgDialog, the name the window
// knows it by.
class ProgressDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;
    void setBody(const QString& body);
    QString body() const;

    // 0 to 100; shown as a whole percentage ("42%").
    void setProgress(double percent);
    int progress() const;
    QString progressText() const;
    // Work that cannot count its steps: the bar runs to and fro until the next setProgress.
    void setBusy();
    bool isBusy() const;

    // Centred on the screen `over` is on, and shown without waiting for the user.
    void showCentred(const QWidget* over);
    // The same once `delayMs` have passed, unless finish() came first: short work then
    // shows no dialog that is gone before it can be read.
    void showCentredAfter(int delayMs, const QWidget* over);
    // Work that usually ends sooner than this shows the dialog only when it does not.
    static constexpr int ShortWorkMs = 300;
    // The work it stood for has ended: closed, and a delayed showing is dropped.
    void finish();

    // Work the user may stop shows a cancel button (labelled text) in place of Ok, and
    // cancelRequested() follows a click on it; other work shows none.
    void setCancellable(bool cancellable, const QString& text = {});
    bool isCancellable() const { return m_cancellable; }

    // Closing cancellable work's dialog (Esc, the title bar) asks to cancel it too.
    void reject() override;

signals:
    void cancelRequested();

private:
    QLabel* m_body;
    QProgressBar* m_bar;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QTimer* m_showTimer;
    QPointer<const QWidget> m_showOver;
    bool m_cancellable = false;
};

} // namespace kvaro
