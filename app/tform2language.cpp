// The interface language: relabelling the window from the language file, and the two
// buttons that switch it.
#include "app/tform2.h"

#include "app/progressdialog.h"
#include "chart/seriesname.h"
#include "chart/view/chartview.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QTabWidget>
#include <QTranslator>

namespace kvaro {

void TForm2::loadQtTexts()
{
    if (m_qtTexts) {
        QCoreApplication::removeTranslator(m_qtTexts.get());
        m_qtTexts.reset();
    }
    // Qt speaks English without a translation.
    const QLocale language(m_settings.languageCode().toLower());
    if (language.language() == QLocale::English || language.language() == QLocale::C)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    m_qtTexts = std::move(translator);
}

void TForm2::LoadLanguage()
{
    loadQtTexts();
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

    // The chosen oven stays shown: its cycles stay listed, so a prompt there would say
    // that none is chosen.
    c.ComboPiec->setPlaceholderText(text(Text::ChooseOven));
    c.ComboPiec->setToolTip(text(Text::OvenChooserHint));
    c.TrendButton->setToolTip(text(Text::TrendButtonHint));
    c.AdvSmoothButton11->setText(text(Text::CopyToClipboard));
    c.Chart1->setTitles(text(Text::WorkingChamber), text(Text::Temperature), text(Text::Time));
    c.Chart1->setSeriesNames(seriesNames(m_language));
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
