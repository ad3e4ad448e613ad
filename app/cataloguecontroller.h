#pragma once

#include "app/appservices.h"
#include "catalogue/catalogue.h"

#include <QDate>
#include <QObject>

class QComboBox;
class QFrame;
class QLabel;
class QListView;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QWidget;

namespace kvaro {

class CycleListModel;
class Language;
class LineBuffer;
class ProgressDialog;
class TForm1;
class TimeLine;

// The oven chooser, the cycle list, the time line and the date-range picker of the main
// window: ComboPiec builds the oven's catalogue and lists today, DataButton opens the
// picker in Popup1, a click on a listed cycle loads it for drawing.
class CatalogueController : public QObject
{
    Q_OBJECT

public:
    // The main window's controls this part drives, by their object names.
    struct Controls {
        // The main window: the date-range popup belongs to it and opens beside it.
        QWidget* Form2;
        QTabWidget* Advsmoothtabpager1; // the popup opens below it
        QComboBox* ComboPiec;
        QPushButton* DataButton;
        QListView* ListBox1;
        QLabel* ListBox1Footer;
        QLabel* FooterConsLabel;
        QWidget* TimeLine;         // the cell the time line fills
        ProgressDialog* MsgDialog; // shown while a catalogue is built
    };
    // The window's state this part reads and writes; the window owns it.
    struct State {
        LineBuffer& Memo1; // a clicked cycle is loaded here
        const Language& language;
    };

    CatalogueController(const Controls& controls, const State& state, const AppServices& services,
                        QObject* parent, Reading reading = Reading::Partial);

    const Catalogue& catalogue() const { return m_catalogue; }
    CycleListModel* model() const { return m_model; }
    TimeLine* timeLine() const { return m_timeLine; }
    TForm1* form1() const { return m_form1; }
    QFrame* Popup1() const { return m_popup; }

public slots:
    void ComboPiecItemSelected(int itemindex);
    void wczytajKalendarz(const QDate& dataOd, const QDate& dataDo);
    void ListBox1ItemClick(const QModelIndex& index);
    void DataButtonClick();
    void AdvSmoothButton1Click(const QDate& from, const QDate& to);
    // After an import: the chosen oven's catalogue is built anew and the range shown is
    // listed again, so newly imported cycles show at once.
    void refreshChosenOven();
    // The window was relabelled: the popup's header follows.
    void languageLoaded();

signals:
    // A listed cycle was clicked: what is drawn goes, before its file is read.
    void cycleOpening();
    // Memo1 holds the clicked cycle, of at least 3 lines: draw it.
    void cycleReadyToDraw();

private:
    void buildCatalogueOf(const QString& ovenFolder);

    Controls m_controls;
    State m_state;
    AppServices m_services;
    Reading m_reading;
    Catalogue m_catalogue;
    QDate m_listedFrom; // the range the list shows
    QDate m_listedTo;
    CycleListModel* m_model;
    TimeLine* m_timeLine;
    TForm1* m_form1;
    QFrame* m_popup;
    QLabel* m_popupHeader;
};

} // namespace kvaro
