#pragma once

#include "catalogue/catalogue.h"

#include <memory>

namespace kvaro {

class CatalogueController;
class ChartComparison;
class ChartDrawing;
class ChartSaving;
class Drives;
class ImportController;
class MountWatch;
class TForm2;

// Attaches the parts of the program that drive the main window's controls (the chart, the
// catalogue with the date-range picker TForm1, the import) once FormCreate has run, and
// connects them to the window and to each other. The program calls it right after
// creating the window, and the import then looks at the machine's removable volumes and
// its mount table.
void attachWindowParts(TForm2& form);
// For window tests that need the whole program: drives and a mount watch of their own.
void attachWindowParts(TForm2& form, std::unique_ptr<Drives> drives,
                       std::unique_ptr<MountWatch> watch);

// The three parts of the chart: drawing a cycle, saving what it shows, and a cycle laid
// over it.
struct ChartParts {
    ChartDrawing* drawing;
    ChartSaving* saving;
    ChartComparison* comparison;
};

// One part each, handed its controls and the window's state and connected to the window;
// a QObject child of the window. For tests of one part.
ChartParts attachChart(TForm2& form);
CatalogueController* attachCatalogue(TForm2& form, Reading reading = Reading::Partial);
// Without drives, the machine's removable volumes; without a watch, the mount table.
ImportController* attachImport(TForm2& form, std::unique_ptr<Drives> drives = {},
                               std::unique_ptr<MountWatch> watch = {});
// TrendButton: enabled once an oven is chosen, it opens the trend of the listed cycles in
// a window of its own, whose clicked points draw their cycle through the catalogue part.
void attachTrend(TForm2& form, CatalogueController* catalogue);

} // namespace kvaro
