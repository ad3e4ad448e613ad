#pragma once

#include "catalogue/catalogue.h"

#include <QDate>
#include <QObject>

class QFrame;
class QModelIndex;

namespace kvaro
{

class CycleListModel;
class TForm1;
class TForm2;
class TimeLine;

// The oven chooser, the cycle list, the time line and the date-range picker of the main
// window: ComboPiec builds the oven's catalogue and lists today, DataButton opens the
// picker in Popup1, a click on a listed cycle loads it for drawing.
class CatalogueController : public QObject
{
    Q_OBJECT

public:
    explicit CatalogueController(TForm2& form, Reading reading = Reading::Partial);

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

private:
    void buildCatalogueOf(const QString& ovenFolder);

    TForm2& m_form;
    Reading m_reading;
    Catalogue m_catalogue;
    QDate m_listedFrom; // the range the list shows
    QDate m_listedTo;
    CycleListModel* m_model;
    TimeLine* m_timeLine;
    TForm1* m_form1;
    QFrame* m_popup;
};

} // namespace kvaro
