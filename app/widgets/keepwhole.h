#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace kvaro {

// The window's grids share their room in fixed proportions and ignore what a widget would
// like to be; at the window's smallest size some shares are too small for their text.

// A label or button never smaller than `longest` needs in the font it ends up with (its
// style sheet's), so the text it shows is never cut.
void keepWhole(QWidget* widget, const QString& longest);
// A button whose text varies: where the button is too narrow for it, the text is drawn in
// a smaller font, down to seven points, instead of being cut.
void shrinkTextToFit(QPushButton* button);
// The width a button's text and icon take inside it, padding included.
int buttonTextWidth(const QPushButton& button);

} // namespace kvaro
