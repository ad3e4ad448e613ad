// The interface language: relabelling the window from the language file, and the two
// buttons that switch it.
#include "app/tform2.h"

#include "app/msgdialog.h"
#include "chart/view/chartview.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>

namespace kvaro {

void TForm2::LoadLanguage()
{
    m_settings.loadLanguage(m_language);
    // An empty file relabels nothing: the window keeps the texts it has.
    if (m_language.buffer().count() == 0)
        return;

    auto& c = m_controls;
    QTabWidget* tabs = c.Advsmoothtabpager1;
    const QWidget* pages[] = {c.AdvSmoothTabPage1,   c.AdvSmoothTabPage2,   c.AdvSmoothTabPage3,
                              c.AdvSmoothTabPage4,   c.AdvSmoothTabPage5,   c.AdvSmoothTabPager11,
                              c.AdvSmoothTabPager12, c.AdvSmoothTabPager13};
    int n = 0;
    for (const QWidget* page : pages)
        tabs->setTabText(tabs->indexOf(page), text(n++));

    c.ListBox1Header->setText(text(8));
    setListBox1Footer(c.ListBox1->model() ? c.ListBox1->model()->rowCount() : 0);
    c.ListboxprawyHeader->setText(text(11));
    m_msgDialog->setCaption(text(25));
    m_msgDialog->setBody(text(26));
    c.AdvSmoothButton9->setText(text(38));
    c.AdvSmoothButton10->setText(text(39));

    // The chooser shows its prompt again; the chosen oven and its catalogue stay.
    {
        const QSignalBlocker blocker(c.ComboPiec);
        c.ComboPiec->setCurrentIndex(-1);
    }
    c.ComboPiec->setPlaceholderText(text(40));
    c.ComboPiec->setToolTip(text(41));
    c.AdvSmoothButton11->setText(text(42));
    c.Chart1->setTitles(text(10), text(7), text(43));
    // Captions only: the items keep their visibility and check marks.
    m_filterList.setCaptions(m_language);

    // The date-range popup and the views of the filter list follow this signal.
    emit languageLoaded();
}

void TForm2::switchLanguage(const QString& code)
{
    guard([this, &code] {
        m_settings.setLanguageCode(code);
        LoadLanguage();
    });
}

void TForm2::AdvSmoothButton6Click()
{
    switchLanguage(QStringLiteral("PL"));
}

void TForm2::AdvSmoothButton7Click()
{
    switchLanguage(QStringLiteral("EN"));
}

} // namespace kvaro
