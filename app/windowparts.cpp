#include "app/windowparts.h"

#include "app/tform2.h"

namespace kvaro {

void attachWindowParts(TForm2& form)
{
    // Each part is a QObject child of the window and lives as long as it does.
    Q_UNUSED(form);
}

} // namespace kvaro
