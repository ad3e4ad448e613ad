#pragma once

#include <QString>

namespace kvaro {

// The resource path of one of the program's own pictures, by file name ("Olej.svg").
QString picturePath(const QString& fileName);

} // namespace kvaro
