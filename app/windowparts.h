#pragma once

namespace kvaro {

class TForm2;

// Attaches the parts of the program that drive the main window's controls (the chart, the
// catalogue with the date-range picker TForm1, the import) once FormCreate has run. The
// program calls it right after creating the window; window tests that need the whole
// program call it too.
void attachWindowParts(TForm2& form);

} // namespace kvaro
