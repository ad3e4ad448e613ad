// The interface language: relabelling the window from the language file, and the two
// buttons that switch it.
#include "app/tform2.h"

#include "app/progressdialog.h"
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
    const std::pair<const QWidget*, Text> pages[] = {
        {c.AdvSmoothTabPage1, Text::ExportTab},
        {c.AdvSmoothTabPage2, Text::FilesTab},
        {c.AdvSmoothTabPage3, Text::CycleTab},
        {c.AdvSmoothTabPage4, Text::CycleAnalysisTab},
        {c.AdvSmoothTabPage5, Text::LanguageTab},
        {c.AdvSmoothTabPager11, Text::InputParametersTab},
        {c.AdvSmoothTabPager12, Text::CombustionTab},
        {c.AdvSmoothTabPager13, Text::Temperature},
    };
    for (const auto& [page, caption] : pages)
        tabs->setTabText(tabs->indexOf(page), text(caption));

    c.ListBox1Header->setText(text(Text::CycleListHeader));
    setListBox1Footer(c.ListBox1->model() ? c.ListBox1->model()->rowCount() : 0);
    c.ListboxprawyHeader->setText(text(Text::SeriesFilters));
    m_msgDialog->setCaption(text(Text::LoadingCaption));
    m_msgDialog->setBody(text(Text::LoadingBody));
    c.AdvSmoothButton9->setText(text(Text::CheckAll));
    c.AdvSmoothButton10->setText(text(Text::UncheckAll));

    // The chooser shows its prompt again; the chosen oven and its catalogue stay.
    {
        const QSignalBlocker blocker(c.ComboPiec);
        c.ComboPiec->setCurrentIndex(-1);
    }
    c.ComboPiec->setPlaceholderText(text(Text::ChooseOven));
    c.ComboPiec->setToolTip(text(Text::OvenChooserHint));
    c.TrendButton->setToolTip(text(Text::TrendButtonHint));
    c.AdvSmoothButton11->setText(text(Text::CopyToClipboard));
    c.Chart1->setTitles(text(Text::WorkingChamber), text(Text::Temperature), text(Text::Time));
    c.Chart1->setEmptyHint(text(Text::ChartAllHidden));
    nameButtons();
    nameOtherControls();
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
