#include "app/windowparts.h"

#include "app/cataloguecontroller.h"
#include "app/chartcontroller.h"
#include "app/importcontroller.h"
#include "app/tform2.h"
#include "store/drives.h"

namespace kvaro {

void attachWindowParts(TForm2& form)
{
    // Each part is a QObject child of the window and lives as long as it does. The
    // catalogue's part creates the date-range picker TForm1, which reads its texts from the
    // window's language, so it comes after the window.
    new CatalogueController(form);
    new ChartController(form);
    new ImportController(form);
}

} // namespace kvaro
