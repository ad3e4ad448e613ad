#include "app/progressdialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kvaro {

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent), m_body(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this)), m_cancel(new QPushButton(this)),
      m_showTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("MsgDialog"));
    setModal(false);
    setMinimumSize(400, 200);
    setCaption(QStringLiteral("Ładowanie plików..."));

    m_body->setObjectName(QStringLiteral("MsgDialogBody"));
    m_body->setText(QStringLiteral("Trwa ładowanie plików..."));
    m_body->setTextFormat(Qt::PlainText);
    m_body->setAlignment(Qt::AlignCenter);
    m_body->setWordWrap(true);

    m_bar->setObjectName(QStringLiteral("MsgDialogProgress"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setFormat(QStringLiteral("%p%"));
    m_bar->setAlignment(Qt::AlignCenter);

    m_ok->setObjectName(QStringLiteral("MsgDialogOk"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    m_cancel->setObjectName(QStringLiteral("MsgDialogCancel"));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &ProgressDialog::cancelRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(14);
    layout->addWidget(m_body, 1);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);

    m_showTimer->setSingleShot(true);
    connect(m_showTimer, &QTimer::timeout, this, [this] { showCentred(m_showOver); });
}

void ProgressDialog::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

QString ProgressDialog::caption() const
{
    return windowTitle();
}

void ProgressDialog::setBody(const QString& body)
{
    m_body->setText(body);
}

QString ProgressDialog::body() const
{
    return m_body->text();
}

void ProgressDialog::setProgress(double percent)
{
    if (isBusy())
        m_bar->setRange(0, 100);
    if (!std::isfinite(percent))
        percent = 0;
    m_bar->setValue(int(std::lround(std::clamp(percent, 0.0, 100.0))));
}

int ProgressDialog::progress() const
{
    return m_bar->value();
}

QString ProgressDialog::progressText() const
{
    return m_bar->text();
}

void ProgressDialog::setBusy()
{
    m_bar->setRange(0, 0);
}

bool ProgressDialog::isBusy() const
{
    return m_bar->maximum() == 0;
}

void ProgressDialog::setCancellable(bool cancellable, const QString& text)
{
    m_cancellable = cancellable;
    m_cancel->setText(text);
    m_cancel->setVisible(cancellable);
    m_ok->setVisible(!cancellable);
}

void ProgressDialog::reject()
{
    if (m_cancellable)
        emit cancelRequested();
    QDialog::reject();
}

void ProgressDialog::showCentred(const QWidget* over)
{
    m_showTimer->stop();
    if (const QScreen* screen = over ? over->screen() : nullptr)
        move(screen->geometry().center() - rect().center());
    show();
}

void ProgressDialog::showCentredAfter(int delayMs, const QWidget* over)
{
    if (isVisible())
        return;
    m_showOver = over;
    m_showTimer->start(delayMs);
}

void ProgressDialog::finish()
{
    m_showTimer->stop();
    close();
}

} // namespace kvaro
