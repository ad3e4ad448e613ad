#pragma once

#include "app/appservices.h"
#include "catalogue/catalogue.h"

#include <QDate>
#include <QObject>

#include <memory>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QAction;
class QListView;
class QMenu;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QWidget;

namespace kvaro {

class CycleListModel;
struct CycleListing;
class Language;
class LineBuffer;
class ProgressDialog;
class TForm1;
class TimeLine;
class WindowJobs;
class WorkerThread;

// The oven chooser, the cycle list, the time line and the date-range picker of the main
// window: ComboPiec builds the oven's catalogue and lists today, DataButton opens the
// picker in Popup1, a click on a listed cycle loads it for drawing.
//
// The catalogue build and the listing run on a worker thread while MsgDialog counts the
// files and the cycles; the window repaints and takes input meanwhile. A handler returns
// at once; settled() follows once what it asked for is on screen. Choosing another oven or range
// while work runs stops the work no longer wanted (a catalogue of the same oven goes on), and only
// the last choice reaches the screen; a cycle clicked meanwhile opens once the list is built.
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
        QWidget* TimeLine; // the cell the time line fills
    };
    // The window's state this part reads and writes; the window owns it.
    struct State {
        const Language& language;
        // Lends MsgDialog while a catalogue is built or a range listed.
        WindowJobs& jobs;
    };

    CatalogueController(const Controls& controls, const State& state, const AppServices& services,
                        QObject* parent, Reading reading = Reading::Partial);
    // Work still running is stopped and waited for: nothing of it outlives the window.
    ~CatalogueController() override;

    const Catalogue& catalogue() const { return m_catalogue; }
    CycleListModel* model() const { return m_model; }
    TimeLine* timeLine() const { return m_timeLine; }
    TForm1* form1() const { return m_form1; }
    QFrame* Popup1() const { return m_popup; }
    // A catalogue build or a listing is asked for and has not reached the screen yet.
    bool isBusy() const;
    // The chosen oven's folder (empty before one is chosen) and the range the list shows.
    const QString& chosenOvenFolder() const { return m_chosenOven; }
    QDate listedFrom() const { return m_listedFrom; }
    QDate listedTo() const { return m_listedTo; }
    // The list's context menu and its comparison entries; the chart enables them.
    QMenu* listMenu() const { return m_listMenu; }
    QAction* compareAction() const { return m_compareAction; }
    QAction* removeComparisonAction() const { return m_removeComparisonAction; }

public slots:
    void ComboPiecItemSelected(int itemindex);
    void wczytajKalendarz(const QDate& dataOd, const QDate& dataDo);
    void ListBox1ItemClick(const QModelIndex& index);
    void DataButtonClick();
    // A right click on ListBox1 (pixel in its viewport): the menu for the cycle under it.
    void ListBox1ContextMenu(const QPoint& pixel);
    void AdvSmoothButton1Click(const QDate& from, const QDate& to);
    // After an import: the chosen oven's catalogue is built anew and the range shown is
    // listed again, so newly imported cycles show at once.
    void refreshChosenOven();
    // The window was relabelled: the popup's header follows.
    void languageLoaded();
    // A stored cycle of the chosen oven chosen elsewhere (the trend): drawn as a click on a
    // listed cycle draws it.
    void openStoredCycle(const QString& file);
    // The listed cycle stored at path is highlighted (none for an empty path or a file not
    // listed), and again after the list is built anew.
    void highlightCycle(const QString& path);

signals:
    // A listed cycle was clicked (or chosen in the trend): the stored file at path is to
    // be opened and drawn.
    void cycleChosen(const QString& path);
    // The work asked for so far has ended and its results are on screen.
    void settled();
    // The list's menu: lay the stored cycle at path over the drawn one, or take it away.
    void compareRequested(const QString& path);
    void removeComparisonRequested();

protected:
    // Enter or Space on the highlighted cycle draws it, as a click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Step { Catalogue, Listing };

    // The chosen oven's catalogue and the range's list, whatever runs now cancelled.
    void buildChosenOven();
    // Starts what is wanted next once nothing runs; settles when nothing is wanted.
    void proceed();
    void startCatalogueBuild();
    void startListing();
    void catalogueBuilt(CatalogueBuild build);
    void listed(const CycleListing& listing);
    // Called on the worker: the figures reach the dialog on the window's thread.
    CatalogueProgress progressPoster();
    void showProgress(int ticket, int done, int total);
    void settle();
    void openListedCycle(const QString& path);
    // The listed items' and time line's texts in the language just loaded.
    void relabelListedCycles();

    Controls m_controls;
    State m_state;
    AppServices m_services;
    Reading m_reading;
    Catalogue m_catalogue;
    QString m_chosenOven;  // the folder of the oven chosen last
    QString m_highlighted; // the path highlightCycle() was given last
    QDate m_listedFrom;    // the range the list shows, or is being listed
    QDate m_listedTo;
    // What is asked for and not started yet.
    bool m_catalogueWanted = false;
    bool m_listingWanted = false;
    // The step under way, if any.
    std::unique_ptr<WorkerThread> m_worker;
    Step m_step = Step::Catalogue;
    int m_job = 0;          // the window's job number from the first step asked for to settling
    int m_ticket = 0;       // of the step under way: progress of an older one is dropped
    int m_progressDone = 0; // the most files or cycles the dialog has shown done
    // A listed cycle clicked while work ran: the file opens once it has settled.
    std::optional<QString> m_clickedMeanwhile;
    CycleListModel* m_model;
    TimeLine* m_timeLine;
    TForm1* m_form1;
    QFrame* m_popup;
    QLabel* m_popupHeader;
    QMenu* m_listMenu;
    QAction* m_compareAction;
    QAction* m_removeComparisonAction;
    QString m_menuCycle; // the file of the cycle the menu was opened on
};

} // namespace kvaro
