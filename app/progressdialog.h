#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kvaro {

// The progress dialog shown, without blocking the window, while files are imported or an
// oven's catalogue is built. Caption and body are language texts the window sets. It
// carries the object name MsgDialog, the name the window knows it by.
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

private:
    QLabel* m_body;
    QProgressBar* m_bar;
    QPushButton* m_ok;
};

} // namespace kvaro
