// The main window's controls and grids. Shares of rows and columns are the stretch factors
// of each grid (a share of 13.04 % is a stretch of 1304); cells ignore their contents'
// size hints so the shares hold at every window size.
#include "app/tform2.h"

#include "app/widgets/keepwhole.h"
#include "app/widgets/picturebox.h"
#include "app/widgets/statusnote.h"
#include "assets/assets.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <initializer_list>

namespace kvaro {

namespace {

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A grid panel: a widget holding a QGridLayout whose rows and columns take the given
// shares (in hundredths of a percent) of its height and width.
QWidget* gridPanel(const char* name, std::initializer_list<int> rowShares,
                   std::initializer_list<int> columnShares, int spacing = 4)
{
    auto* panel = named(new QWidget, name);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(spacing);
    int row = 0;
    for (int share : rowShares)
        grid->setRowStretch(row++, share);
    int column = 0;
    for (int share : columnShares)
        grid->setColumnStretch(column++, share);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return panel;
}

// Every child fills its cell, whatever it would like to be.
void place(QWidget* panel, QWidget* child, int row, int column, int rowSpan = 1, int columnSpan = 1)
{
    child->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    static_cast<QGridLayout*>(panel->layout())->addWidget(child, row, column, rowSpan, columnSpan);
}

QLabel* label(const char* name, const QString& text, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto* result = named(new QLabel(text), name);
    result->setAlignment(alignment);
    result->setTextFormat(Qt::PlainText);
    return result;
}

QPushButton* button(const char* name, const QString& text)
{
    auto* result = named(new QPushButton(text), name);
    result->setFocusPolicy(Qt::TabFocus);
    return result;
}

// A button that is a picture and nothing else.
QPushButton* pictureButton(const char* name, const QString& picture, QSize size,
                           const QString& hint)
{
    auto* result = button(name, QString());
    result->setProperty("picture", true);
    result->setIcon(QIcon(picturePath(picture)));
    result->setIconSize(size - QSize(14, 12));
    result->setFixedSize(size);
    result->setToolTip(hint);
    return result;
}

PictureBox* picture(const char* name, const QString& fileName, QSize size, bool shown = true)
{
    auto* result = named(new PictureBox(fileName), name);
    result->setFixedSize(size);
    result->setVisible(shown);
    return result;
}

// A list with a header line above it and, where given, a footer line below.
QWidget* listPanel(const char* name, QLabel* header, QListView* list, QLabel* footer = nullptr)
{
    auto* panel = named(new QWidget, name);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    header->setProperty("listHeader", true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    column->addWidget(header);
    column->addWidget(list, 1);
    if (footer) {
        footer->setProperty("listFooter", true);
        column->addWidget(footer);
    }
    return panel;
}

// A tab page's contents in a row from the left, as the tab pager shows them.
QHBoxLayout* pageRow(QWidget* page)
{
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(8);
    return row;
}

} // namespace

void TForm2::buildLayout()
{
    auto& c = m_controls;
    c.GlownyGrid = gridPanel("GlownyGrid", {1304, 8429, 266}, {1}, 3);
    c.GlownyGrid->setParent(this);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(c.GlownyGrid);

    place(c.GlownyGrid, buildTabPager(), 0, 0);

    c.GridPanel1 = gridPanel("GridPanel1", {1}, {1587, 6841, 1572}, 5);
    static_cast<QGridLayout*>(c.GlownyGrid->layout())->setContentsMargins(0, 0, 0, 0);
    place(c.GridPanel1, buildLeftColumn(), 0, 0);
    place(c.GridPanel1, buildCentreColumn(), 0, 1);
    place(c.GridPanel1, buildRightColumn(), 0, 2);
    c.GridPanel1->layout()->setContentsMargins(5, 0, 5, 0);
    place(c.GlownyGrid, c.GridPanel1, 1, 0);

    place(c.GlownyGrid, buildStatusBar(), 2, 0);
}

QWidget* TForm2::buildTabPager()
{
    auto& c = m_controls;
    c.Advsmoothtabpager1 = named(new QTabWidget, "Advsmoothtabpager1");
    c.Advsmoothtabpager1->setIconSize(QSize(18, 18));
    c.Advsmoothtabpager1->setDocumentMode(false);
    c.Advsmoothtabpager1->setUsesScrollButtons(true);

    // Import and open.
    c.AdvSmoothTabPage2 = named(new QWidget, "AdvSmoothTabPage2");
    {
        auto* row = pageRow(c.AdvSmoothTabPage2);
        c.KvaroLoadButton = pictureButton("KvaroLoadButton", QStringLiteral("Import.svg"),
                                          QSize(109, 59), QStringLiteral("Import"));
        c.AdvSmoothButton8 = pictureButton("AdvSmoothButton8", QStringLiteral("Otworz.svg"),
                                           QSize(58, 59), QStringLiteral("csv"));
        c.TrendButton =
            pictureButton("TrendButton", QStringLiteral("Trend.svg"), QSize(58, 59), QString());
        row->addWidget(c.KvaroLoadButton);
        row->addWidget(c.AdvSmoothButton8);
        row->addWidget(c.TrendButton);
        row->addStretch(1);
    }

    // Input parameters.
    c.AdvSmoothTabPager11 = named(new QWidget, "AdvSmoothTabPager11");
    {
        auto* row = pageRow(c.AdvSmoothTabPager11);
        c.Image1 = picture("Image1", QStringLiteral("Termometr.svg"), QSize(44, 44));
        c.Label2 = label("Label2", QStringLiteral("0.000"), Qt::AlignLeft | Qt::AlignVCenter);
        c.Label2->setProperty("figure", true);
        c.Image2 = picture("Image2", QStringLiteral("Zegar.svg"), QSize(44, 44));
        c.Label1 = label("Label1", QStringLiteral("00:00"), Qt::AlignLeft | Qt::AlignVCenter);
        c.Label1->setProperty("figure", true);
        c.AdvSmoothLabel2 = label("AdvSmoothLabel2", QStringLiteral("Min"));
        c.AdvSmoothLabel1 = label("AdvSmoothLabel1", QStringLiteral("Sec"));
        c.AdvSmoothLabel2->setProperty("unit", true);
        c.AdvSmoothLabel1->setProperty("unit", true);
        auto* units = new QVBoxLayout;
        units->setSpacing(0);
        units->addStretch(1);
        units->addWidget(c.AdvSmoothLabel2);
        units->addWidget(c.AdvSmoothLabel1);
        units->addStretch(1);

        c.GrodzImg = picture("GrodzImg", QStringLiteral("Grodz.svg"), QSize(44, 44), false);
        c.PrzewietrzanieImg = picture("PrzewietrzanieImg", QStringLiteral("Przewietrzanie.svg"),
                                      QSize(44, 44), false);
        c.RegulacjaMocyImg =
            picture("RegulacjaMocyImg", QStringLiteral("RegulacjaMocy.svg"), QSize(44, 44), false);
        c.regulacjaMocyBar = named(new QProgressBar, "regulacjaMocyBar");
        c.regulacjaMocyBar->setOrientation(Qt::Vertical);
        c.regulacjaMocyBar->setRange(0, 100);
        c.regulacjaMocyBar->setValue(0);
        c.regulacjaMocyBar->setFormat(QStringLiteral("%p%"));
        c.regulacjaMocyBar->setTextVisible(true);
        c.regulacjaMocyBar->setFixedWidth(30);
        c.regulacjaMocyBar->hide();
        c.PalnikImg = picture("PalnikImg", QStringLiteral("Palnik.svg"), QSize(44, 44), false);
        c.PalnikStatus = label("PalnikStatus", QString());
        c.PalnikStatus->setFixedSize(22, 22);
        c.PalnikStatus->hide();

        row->addWidget(c.Image1);
        row->addWidget(c.Label2);
        row->addSpacing(16);
        row->addWidget(c.Image2);
        row->addWidget(c.Label1);
        row->addLayout(units);
        row->addSpacing(24);
        row->addWidget(c.GrodzImg);
        row->addWidget(c.PrzewietrzanieImg);
        row->addWidget(c.RegulacjaMocyImg);
        row->addWidget(c.regulacjaMocyBar);
        row->addSpacing(8);
        row->addWidget(c.PalnikImg);
        row->addWidget(c.PalnikStatus, 0, Qt::AlignTop);
        row->addStretch(1);
    }

    // Dynamics and combustion.
    c.AdvSmoothTabPager12 = named(new QWidget, "AdvSmoothTabPager12");
    {
        auto* row = pageRow(c.AdvSmoothTabPager12);
        c.Gaz = picture("Gaz", QStringLiteral("Gaz.svg"), QSize(44, 44), false);
        c.Prad = picture("Prad", QStringLiteral("Prad.svg"), QSize(44, 44), false);
        c.Olej = picture("Olej", QStringLiteral("Olej.svg"), QSize(44, 44), false);
        c.Label3 = label("Label3", QStringLiteral("00.000kg"), Qt::AlignLeft | Qt::AlignVCenter);
        c.Label3->setProperty("figure", true);
        row->addWidget(c.Gaz);
        row->addWidget(c.Prad);
        row->addWidget(c.Olej);
        row->addWidget(c.Label3);
        row->addStretch(1);
    }

    // Temperature.
    c.AdvSmoothTabPager13 = named(new QWidget, "AdvSmoothTabPager13");
    {
        auto* column = new QVBoxLayout(c.AdvSmoothTabPager13);
        column->setContentsMargins(12, 6, 12, 6);
        c.SrRoznicaGrzania = label("SrRoznicaGrzania", QString(), Qt::AlignLeft | Qt::AlignVCenter);
        c.CzasOsiagnieciaLabel =
            label("CzasOsiagnieciaLabel", QString(), Qt::AlignLeft | Qt::AlignVCenter);
        c.SrRoznicaGrzania->setProperty("result", true);
        c.CzasOsiagnieciaLabel->setProperty("result", true);
        column->addWidget(c.SrRoznicaGrzania);
        column->addWidget(c.CzasOsiagnieciaLabel);
        column->addStretch(1);
    }

    // Export.
    c.AdvSmoothTabPage1 = named(new QWidget, "AdvSmoothTabPage1");
    {
        auto* row = pageRow(c.AdvSmoothTabPage1);
        c.AdvSmoothButton11 = button("AdvSmoothButton11", QStringLiteral("Kopiuj do schowka"));
        c.AdvSmoothButton11->setIcon(QIcon(picturePath(QStringLiteral("Schowek.svg"))));
        c.AdvSmoothButton11->setIconSize(QSize(22, 22));
        c.AdvSmoothButton11->setMinimumSize(150, 44);
        row->addWidget(c.AdvSmoothButton11);
        row->addStretch(1);
    }

    // Pages the window carries but never shows.
    c.AdvSmoothTabPage3 = named(new QWidget, "AdvSmoothTabPage3");
    c.AdvSmoothTabPage4 = named(new QWidget, "AdvSmoothTabPage4");

    // Language.
    c.AdvSmoothTabPage5 = named(new QWidget, "AdvSmoothTabPage5");
    {
        auto* row = pageRow(c.AdvSmoothTabPage5);
        c.AdvSmoothButton6 = button("AdvSmoothButton6", QStringLiteral("PL"));
        c.AdvSmoothButton7 = button("AdvSmoothButton7", QStringLiteral("EN"));
        for (QPushButton* language : {c.AdvSmoothButton6, c.AdvSmoothButton7}) {
            language->setMinimumSize(64, 44);
            language->setProperty("language", true);
            row->addWidget(language);
        }
        row->addStretch(1);
    }

    auto* tabs = c.Advsmoothtabpager1;
    auto tab = [tabs](QWidget* page, const char* pictureName, const QString& caption) {
        tabs->addTab(page, QIcon(picturePath(QLatin1String(pictureName))), caption);
    };
    tab(c.AdvSmoothTabPage2, "TabPliki.svg", QStringLiteral(" "));
    tab(c.AdvSmoothTabPager11, "TabParametry.svg", QStringLiteral("Parametry wejściowe"));
    tab(c.AdvSmoothTabPager12, "TabSpalanie.svg", QStringLiteral("Dynamika i spalanie"));
    tab(c.AdvSmoothTabPager13, "TabTemperatura.svg", QStringLiteral("Temperatura"));
    tab(c.AdvSmoothTabPage1, "TabEksport.svg", QStringLiteral("Export"));
    tab(c.AdvSmoothTabPage3, "TabPliki.svg", QStringLiteral("Cykl"));
    tab(c.AdvSmoothTabPage4, "TabPliki.svg", QStringLiteral("Analiza cykli"));
    tab(c.AdvSmoothTabPage5, "TabJezyk.svg", QStringLiteral("Język"));
    tabs->setTabVisible(tabs->indexOf(c.AdvSmoothTabPage3), false);
    tabs->setTabVisible(tabs->indexOf(c.AdvSmoothTabPage4), false);
    tabs->setCurrentWidget(c.AdvSmoothTabPage2);
    return tabs;
}

QWidget* TForm2::buildLeftColumn()
{
    auto& c = m_controls;
    c.GridLewyNew = gridPanel("GridLewyNew", {410, 885, 8171, 534}, {1});

    c.ComboPiec = named(new QComboBox, "ComboPiec");
    c.ComboPiec->setPlaceholderText(QStringLiteral("Wybierz piec"));
    c.ComboPiec->setToolTip(QStringLiteral("Wybór pieca"));
    c.ComboPiec->setCurrentIndex(-1);
    place(c.GridLewyNew, c.ComboPiec, 0, 0);

    c.DataButton = button("DataButton", QString());
    // A range of two dates is wider than the column at the window's smallest size.
    shrinkTextToFit(c.DataButton);
    c.DataButton->setIcon(QIcon(picturePath(QStringLiteral("Kalendarz.svg"))));
    c.DataButton->setIconSize(QSize(16, 16));
    place(c.GridLewyNew, c.DataButton, 1, 0);

    // The cycle list with its header and footer lines, as one cell.
    c.ListBox1Header = label("ListBox1Header", QStringLiteral("Lista cykli "));
    c.ListBox1 = named(new QListView, "ListBox1");
    // The items wrap their texts to the column's width: nothing to scroll sideways, and the
    // items are laid out again whenever the column's width changes.
    c.ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.ListBox1->setResizeMode(QListView::Adjust);
    c.ListBox1Footer = label("ListBox1Footer", QStringLiteral("0 cykli"));
    place(c.GridLewyNew, listPanel("ListBox1Panel", c.ListBox1Header, c.ListBox1, c.ListBox1Footer),
          2, 0);

    c.GridPanel2 = gridPanel("GridPanel2", {1}, {2188, 7813}, 2);
    c.FooterImage = picture("FooterImage", QString(), QSize(1, 1), false);
    c.FooterImage->setMinimumSize(0, 0);
    c.FooterImage->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    c.FooterConsLabel = label("FooterConsLabel", QStringLiteral("00.000kg"));
    place(c.GridPanel2, c.FooterImage, 0, 0);
    place(c.GridPanel2, c.FooterConsLabel, 0, 1);
    place(c.GridLewyNew, c.GridPanel2, 3, 0);
    return c.GridLewyNew;
}

QWidget* TForm2::buildCentreColumn()
{
    auto& c = m_controls;
    c.GridSrodkowyNew = gridPanel("GridSrodkowyNew", {8516, 963, 521}, {1});

    // What the chart's cell shows until a cycle is drawn: the program's mark, faint.
    auto* placeholder = named(new PictureBox(QStringLiteral("Kvaro.svg")), "Chart1Placeholder");
    placeholder->setContentsMargins(0, 0, 0, 0);
    placeholder->setFaded(true);
    place(c.GridSrodkowyNew, placeholder, 0, 0);

    c.Chart1 = named(new ChartView, "Chart1");
    c.Chart1->setModel(&m_chartModel);
    c.Chart1->setTitles(QStringLiteral("Komora robocza"), QStringLiteral("Temperatura"),
                        QStringLiteral("Czas"));
    // The chart's rounded board leaves its corners unpainted: the window's colour goes
    // behind it, and the plot inside must not claim to paint every pixel itself.
    c.Chart1->setAutoFillBackground(true);
    QPalette chartPalette = c.Chart1->palette();
    chartPalette.setColor(QPalette::Window, QColor(0xe4, 0xee, 0xf8));
    c.Chart1->setPalette(chartPalette);
    for (QWidget* plot : c.Chart1->findChildren<QWidget*>())
        plot->setAttribute(Qt::WA_OpaquePaintEvent, false);
    c.Chart1->hide();
    place(c.GridSrodkowyNew, c.Chart1, 0, 0);

    c.TimeLine = named(new QWidget, "TimeLine");
    place(c.GridSrodkowyNew, c.TimeLine, 1, 0);

    c.dolnyGrid3Kol = gridPanel("dolnyGrid3Kol", {1}, {1796, 6428, 1776});
    c.AdvSmoothLabel3 = label("AdvSmoothLabel3", QStringLiteral("0.000°C"));
    c.AdvSmoothLabel3->setProperty("readout", true);
    place(c.dolnyGrid3Kol, c.AdvSmoothLabel3, 0, 0);

    c.griddolnysrodekcol1napisy = gridPanel("griddolnysrodekcol1napisy", {1}, {1, 1, 1, 1});
    c.CzasLabel = label("CzasLabel", QStringLiteral("00:00"));
    c.CzasLabel->setProperty("readout", true);
    place(c.griddolnysrodekcol1napisy, c.CzasLabel, 0, 0);
    place(c.dolnyGrid3Kol, c.griddolnysrodekcol1napisy, 0, 1);

    c.ZoomGrid = gridPanel("ZoomGrid", {1651, 8349}, {1, 1, 1, 1}, 1);
    c.AdvSmoothLabel6 = label("AdvSmoothLabel6", QStringLiteral("ZOOM"));
    c.AdvSmoothButton3 = button("AdvSmoothButton3", QStringLiteral("-"));
    c.AdvSmoothButton2 = button("AdvSmoothButton2", QStringLiteral("+"));
    c.AdvSmoothButton1 = button("AdvSmoothButton1", QStringLiteral("X"));
    c.AdvSmoothLabel5 = label("AdvSmoothLabel5", QStringLiteral("100%"));
    c.AdvSmoothLabel5->setProperty("readout", true);
    // Its row is a sixth of a short bar and its column a quarter of a narrow one: without
    // a floor the caption and the percentage are cut.
    keepWhole(c.AdvSmoothLabel6, c.AdvSmoothLabel6->text());
    keepWhole(c.AdvSmoothLabel5, navigation::zoomLabel(navigation::ZoomMaximum));
    place(c.ZoomGrid, c.AdvSmoothLabel6, 0, 3);
    place(c.ZoomGrid, c.AdvSmoothButton3, 1, 0);
    place(c.ZoomGrid, c.AdvSmoothButton2, 1, 1);
    place(c.ZoomGrid, c.AdvSmoothButton1, 1, 2);
    place(c.ZoomGrid, c.AdvSmoothLabel5, 1, 3);
    for (QPushButton* zoom : {c.AdvSmoothButton3, c.AdvSmoothButton2, c.AdvSmoothButton1})
        zoom->setProperty("zoom", true);
    place(c.dolnyGrid3Kol, c.ZoomGrid, 0, 2);

    place(c.GridSrodkowyNew, c.dolnyGrid3Kol, 2, 0);
    return c.GridSrodkowyNew;
}

QWidget* TForm2::buildRightColumn()
{
    auto& c = m_controls;
    c.GridPrawyNew = gridPanel("GridPrawyNew", {8228, 1011, 761}, {1});

    c.ListboxprawyHeader = label("ListboxprawyHeader", QStringLiteral("Filtry serii"));
    c.Listboxprawy = named(new QListView, "Listboxprawy");
    place(c.GridPrawyNew, listPanel("ListboxprawyPanel", c.ListboxprawyHeader, c.Listboxprawy), 0,
          0);

    c.PrzyciskiPodFiltramiGrid = gridPanel("PrzyciskiPodFiltramiGrid", {1, 1}, {1, 1});
    c.AdvSmoothButton9 = button("AdvSmoothButton9", QStringLiteral("Zaznacz wsz."));
    c.AdvSmoothButton10 = button("AdvSmoothButton10", QStringLiteral("Odznacz wsz."));
    place(c.PrzyciskiPodFiltramiGrid, c.AdvSmoothButton9, 0, 0);
    place(c.PrzyciskiPodFiltramiGrid, c.AdvSmoothButton10, 0, 1);
    place(c.GridPrawyNew, c.PrzyciskiPodFiltramiGrid, 1, 0);
    return c.GridPrawyNew;
}

QWidget* TForm2::buildStatusBar()
{
    auto& c = m_controls;
    c.DolnyBar = named(new QStatusBar, "DolnyBar");
    c.DolnyBar->setSizeGripEnabled(false);
    c.DolnyBarVersion = label("DolnyBarVersion", QStringLiteral("lerta Kvaro v. 1.3.1"),
                              Qt::AlignLeft | Qt::AlignVCenter);
    c.DolnyBarVersion->setFixedWidth(200);
    // Empty until an import writes its summary there: 100 pixels at least, and as wide as
    // the summary it shows.
    c.DolnyBarEmpty = label("DolnyBarEmpty", QString());
    c.DolnyBarEmpty->setMinimumWidth(100);
    // A controller drive plugged in while the window runs is named here until it is
    // imported or pulled out.
    c.DolnyBarDrive = label("DolnyBarDrive", QString());
    c.DolnyBarNote = named(new StatusNote, "DolnyBarNote");
    c.DolnyBar->addWidget(c.DolnyBarVersion);
    c.DolnyBar->addWidget(c.DolnyBarEmpty);
    c.DolnyBar->addWidget(c.DolnyBarDrive, 1);
    c.DolnyBar->addWidget(c.DolnyBarNote, 2);
    return c.DolnyBar;
}

} // namespace kvaro
