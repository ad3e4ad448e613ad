#pragma once

#include <QString>

class QApplication;

namespace kvaro {

// The program's one look: a light-blue widget set with gradient-filled buttons, tabs and
// lists. Fonts are the named ones where the machine has them, else a close sans-serif.
QString styleSheet();
// "Tahoma" where installed (Wine's copy from fonts-wine counts), else DejaVu Sans or the
// closest sans-serif the machine has.
QString interfaceFontFamily();
// "Calibri" where installed, else its metric twin Carlito, else the interface font.
QString chooserFontFamily();
// Sets the style, the default font (8 pt) and the style sheet on the application.
void applyLook(QApplication& app);

} // namespace kvaro
