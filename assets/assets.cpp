#include "assets/assets.h"

namespace kvaro {

QString picturePath(const QString& fileName)
{
    return QStringLiteral(":/pictures/") + fileName;
}

} // namespace kvaro
