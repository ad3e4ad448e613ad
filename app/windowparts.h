#pragma once

#include <memory>

namespace kvaro
{

class Drives;
class MountWatch;
class TForm2;

// Attaches the parts of the program that drive the main window's controls (the chart, the
// catalogue with the date-range picker TForm1, the import) once FormCreate has run. The
// program calls it right after creating the window, and the import then looks at the
// machine's removable volumes and its mount table.
void attachWindowParts(TForm2& form);
// For window tests that need the whole program: drives and a mount watch of their own.
void attachWindowParts(TForm2& form, std::unique_ptr<Drives> drives,
                       std::unique_ptr<MountWatch> watch);

} // namespace kvaro
