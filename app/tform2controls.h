#pragma once

class QComboBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace kvaro {

class ChartView;
class StatusNote;
class PictureBox;

// The controls of the main window, by the names they carry as Qt object names. The window
// owns them (parent ownership); attachWindowParts hands each part of the program just the
// ones it drives. Grids are plain widgets holding a QGridLayout.
struct TForm2Controls {
    // The whole client area, one column: tab pager, GridPanel1, status bar.
    QWidget* GlownyGrid = nullptr;

    QTabWidget* Advsmoothtabpager1 = nullptr;
    QWidget* AdvSmoothTabPage2 = nullptr;   // import and open
    QWidget* AdvSmoothTabPager11 = nullptr; // input parameters
    QWidget* AdvSmoothTabPager12 = nullptr; // dynamics and combustion
    QWidget* AdvSmoothTabPager13 = nullptr; // temperature
    QWidget* AdvSmoothTabPage1 = nullptr;   // export
    QWidget* AdvSmoothTabPage3 = nullptr;   // never shown
    QWidget* AdvSmoothTabPage4 = nullptr;   // never shown
    QWidget* AdvSmoothTabPage5 = nullptr;   // language

    QPushButton* KvaroLoadButton = nullptr;
    QPushButton* AdvSmoothButton8 = nullptr; // open one cycle file
    QPushButton* TrendButton = nullptr;      // the listed cycles' trend

    PictureBox* Image1 = nullptr;
    QLabel* Label2 = nullptr;
    PictureBox* Image2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* AdvSmoothLabel2 = nullptr; // "Min"
    QLabel* AdvSmoothLabel1 = nullptr; // "Sec"
    PictureBox* GrodzImg = nullptr;
    PictureBox* PrzewietrzanieImg = nullptr;
    PictureBox* RegulacjaMocyImg = nullptr;
    QProgressBar* regulacjaMocyBar = nullptr;
    PictureBox* PalnikImg = nullptr;
    QLabel* PalnikStatus = nullptr;

    PictureBox* Gaz = nullptr;
    PictureBox* Prad = nullptr;
    PictureBox* Olej = nullptr;
    QLabel* Label3 = nullptr;

    QLabel* SrRoznicaGrzania = nullptr;
    QLabel* CzasOsiagnieciaLabel = nullptr;

    QPushButton* AdvSmoothButton11 = nullptr; // copy the chart to the clipboard
    QPushButton* AdvSmoothButton6 = nullptr;  // "PL"
    QPushButton* AdvSmoothButton7 = nullptr;  // "EN"

    QWidget* GridPanel1 = nullptr;

    QWidget* GridLewyNew = nullptr;
    QComboBox* ComboPiec = nullptr;
    QPushButton* DataButton = nullptr;
    QLabel* ListBox1Header = nullptr;
    QListView* ListBox1 = nullptr;
    QLabel* ListBox1Footer = nullptr;
    QWidget* GridPanel2 = nullptr;
    PictureBox* FooterImage = nullptr;
    QLabel* FooterConsLabel = nullptr;

    QWidget* GridSrodkowyNew = nullptr;
    ChartView* Chart1 = nullptr; // draws TForm2::chartModel()
    QWidget* TimeLine = nullptr;
    QWidget* dolnyGrid3Kol = nullptr;
    QLabel* AdvSmoothLabel3 = nullptr; // temperature readout
    QWidget* griddolnysrodekcol1napisy = nullptr;
    QLabel* CzasLabel = nullptr; // time readout
    QWidget* ZoomGrid = nullptr;
    QLabel* AdvSmoothLabel6 = nullptr;       // "ZOOM"
    QPushButton* AdvSmoothButton3 = nullptr; // "-"
    QPushButton* AdvSmoothButton2 = nullptr; // "+"
    QPushButton* AdvSmoothButton1 = nullptr; // "X"
    QLabel* AdvSmoothLabel5 = nullptr;       // zoom percentage

    QWidget* GridPrawyNew = nullptr;
    QLabel* ListboxprawyHeader = nullptr;
    QListView* Listboxprawy = nullptr;
    QWidget* PrzyciskiPodFiltramiGrid = nullptr;
    QPushButton* AdvSmoothButton9 = nullptr;  // check all filters
    QPushButton* AdvSmoothButton10 = nullptr; // uncheck all filters

    QStatusBar* DolnyBar = nullptr;
    QLabel* DolnyBarVersion = nullptr;
    QLabel* DolnyBarEmpty = nullptr;
    QLabel* DolnyBarDrive = nullptr;
    StatusNote* DolnyBarNote = nullptr; // what the last save wrote, or why a load stopped
};

} // namespace kvaro
