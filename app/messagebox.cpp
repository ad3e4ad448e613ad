#include "app/messagebox.h"

#include <QMessageBox>

namespace kvaro {

void MessageBoxMessages::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, m_parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    // Texts come from files (language files, cycle file names); never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kvaro
