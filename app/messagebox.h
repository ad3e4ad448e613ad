#pragma once

#include "base/platform.h"

#include <QPointer>
#include <QWidget>

namespace kvaro {

// The modal message every part of the window shows: caption "LERTA Kvaro", the text and
// one OK button, centred on the main window once it is known.
class MessageBoxMessages : public Messages
{
public:
    explicit MessageBoxMessages(QWidget* parent = nullptr) : m_parent(parent) {}

    void setParent(QWidget* parent) { m_parent = parent; }
    void show(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace kvaro
