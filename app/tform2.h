#pragma once

#include "app/appservices.h"
#include "app/tform2controls.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "chart/chartmodel.h"
#include "chart/filterlist.h"
#include "store/settings.h"

#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QFileDialog;
class QTranslator;
class QDragEnterEvent;
class QDropEvent;
class QMimeData;

namespace kvaro {

class CycleOpener;
class ProgressDialog;
class WindowJobs;

// The main window. It builds and owns every control and the state the program keeps for
// its whole run; the operations live in their modules and in the controllers that
// attachWindowParts hands just the controls and the state each one drives.
class TForm2 : public QWidget
{
    Q_OBJECT

public:
    explicit TForm2(const AppServices& services, QWidget* parent = nullptr);
    ~TForm2() override;

    const AppServices& services() const { return m_services; }
    const TForm2Controls& controls() const { return m_controls; }

    const QChar& LocaleDecimalSeparator() const { return m_localeDecimalSeparator; }
    const QString& LanguageCode() const { return m_settings.languageCode(); }
    Language& JezykMemo() { return m_language; }
    const Language& JezykMemo() const { return m_language; }
    Settings& settings() { return m_settings; } // DataMemo and the language file lookup
    ChartModel& chartModel() { return m_chartModel; }
    const ChartModel& chartModel() const { return m_chartModel; }
    // The items of Listboxprawy: captions follow the language, every item starts hidden.
    FilterList& filterList() { return m_filterList; }
    const FilterList& filterList() const { return m_filterList; }
    ProgressDialog* MsgDialog() const { return m_msgDialog; }
    // The window's long work and the one dialog it shares.
    WindowJobs& jobs() const { return *m_jobs; }
    // Opens every cycle file the window draws, whoever asked for it.
    CycleOpener& opener() const { return *m_opener; }
    // A new open dialog for each use: a dialog kept and shown again leaves the drop-down
    // list of its file name line over the window once it is accepted.
    std::unique_ptr<QFileDialog> FileOpenDialog1();

    // A language text, read now.
    QString text(Text name) const { return m_language.text(name); }
    // A modal message through the services (recorded in tests).
    void showMessage(const QString& text);
    // Runs a handler's work; a Failure becomes a message. False when the work failed.
    bool guard(const std::function<void()>& work);

    // Loads the language file of LanguageCode and relabels the window. Throws Failure when
    // the file is missing or unreadable; the texts on screen then stay.
    void LoadLanguage();
    // Rebuilds the items of ComboPiec from the ovens of the store.
    void OdswiezListePiecy();
    // Controls other parts add to the export tab, after the copy button.
    void addToExportTab(QWidget* widget);
    // Empties all 73 series, on screen too: what a cycle-open path does before each load.
    void clearChart();

    // A button's name for tooltips and screen readers, read from the language now and
    // whenever the language changes, and the keys that press it from anywhere in the
    // window: a key does exactly what a click does, and nothing while the button is
    // disabled. The tooltip names the first key.
    void nameButton(QAbstractButton* button, Text name, const QList<QKeySequence>& keys = {});
    // A key that runs `work` from anywhere in the window.
    void addShortcut(const QKeySequence& keys, std::function<void()> work);

    // A file given to the program ("kvaro FILE.csv"), opened as a file confirmed in the
    // open dialog; a relative path is taken against the process's current folder.
    void openGivenFile(const QString& path);
    // The file among the program's arguments (Qt's own already taken out): the first that
    // is no option, or nothing.
    static QString givenFile(const QStringList& arguments);
    // The file a drag carries that a drop would open: its first local file, or nothing.
    static QString droppedFile(const QMimeData* data);

public slots:
    void AdvSmoothButton6Click(); // "PL"
    void AdvSmoothButton7Click(); // "EN"
    void AdvSmoothButton8Click(); // open one cycle file
    // A file was confirmed in FileOpenDialog1: it is read and normalised on a worker thread
    // and, when it can be drawn, drawn (the opener's opened() carries it on).
    void FileOpenDialog1FileOkClick(const QString& path);

signals:
    // LoadLanguage relabelled the window; parts with texts of their own relabel now.
    void languageLoaded();
    // clearChart() emptied the series: nothing is drawn now.
    void chartCleared();

protected:
    // A file dragged from a file manager opens as a file picked in the open dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildLayout();
    // Tab goes through the controls as the layout places them.
    void orderTabs();
    // Names the buttons and gives them their keys, at the start.
    void nameControls();
    // Reads the names and tooltips from the language again.
    void nameButtons();
    void nameOtherControls();
    QWidget* buildTabPager();
    QWidget* buildLeftColumn();
    QWidget* buildCentreColumn();
    QWidget* buildRightColumn();
    QWidget* buildStatusBar();
    void FormCreate();
    void switchLanguage(const QString& code);
    // Qt's own texts (file dialogs, message box buttons, context menus) in the language of
    // LanguageCode, where Qt has a translation for it.
    void loadQtTexts();
    // "<items> <word>" under ListBox1: the Cycles line, or the singular or "few" form that fits.
    void setListBox1Footer(int count);

    AppServices m_services;
    TForm2Controls m_controls;
    QChar m_localeDecimalSeparator = QLatin1Char('.');
    Settings m_settings;
    Language m_language;
    ChartModel m_chartModel;
    FilterList m_filterList;
    ProgressDialog* m_msgDialog = nullptr;
    WindowJobs* m_jobs = nullptr;
    CycleOpener* m_opener = nullptr;
    std::unique_ptr<QTranslator> m_qtTexts;
    struct NamedButton {
        QPointer<QAbstractButton> button;
        Text name;
        QList<QKeySequence> keys;
    };
    std::vector<NamedButton> m_namedButtons;
};

} // namespace kvaro
