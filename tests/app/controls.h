#pragma once

// Window tests find controls by the object names the window gives them.
#include <QWidget>

template <class W>
W* control(QWidget& form, const char* name)
{
    W* found = form.findChild<W*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}
