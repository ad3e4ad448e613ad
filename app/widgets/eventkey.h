#pragma once

#include <QDialog>

namespace kvaro {

class Language;

// The key of the event markers: the seven pictures, each with its event's name, in code
// order. A small window beside the main one, closed like any other.
class EventKey : public QDialog
{
    Q_OBJECT

public:
    EventKey(const Language& language, QWidget* parent = nullptr);
};

} // namespace kvaro
