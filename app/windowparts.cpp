#include "app/windowparts.h"

#include "app/cataloguecontroller.h"
#include "app/chartcontroller.h"
#include "app/importcontroller.h"
#include "app/tform2.h"
#include "store/drives.h"
#include "store/mountwatch.h"

namespace kvaro {

void attachWindowParts(TForm2& form)
{
    attachWindowParts(form, nullptr, nullptr);
}

void attachWindowParts(TForm2& form, std::unique_ptr<Drives> drives,
                       std::unique_ptr<MountWatch> watch)
{
    // Each part is a QObject child of the window and lives as long as it does. The
    // catalogue's part creates the date-range picker TForm1, which reads its texts from the
    // window's language, so it comes after the window.
    auto* catalogue = new CatalogueController(form);
    new ChartController(form);
    auto* import = new ImportController(form, std::move(drives), std::move(watch));
    // Newly imported cycles of the chosen oven show without choosing it again.
    QObject::connect(import, &ImportController::importFinished, catalogue,
                     &CatalogueController::refreshChosenOven);
}

} // namespace kvaro
