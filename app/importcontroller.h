#pragma once

#include "store/importer.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QThread;

namespace kvaro {

class Drives;
class ImportJob;
class TForm2;

// The import from the controller drive behind KvaroLoadButton. The file work runs on a
// thread of its own so the window keeps answering; MsgDialog shows how many files are
// done, and whatever the import has to say comes as modal messages once it has ended.
class ImportController : public QObject
{
    Q_OBJECT

public:
    // Without drives, the machine's removable volumes.
    explicit ImportController(TForm2& form, std::unique_ptr<Drives> drives = {});
    // A running import finishes the file in hand first; the rest stay on the drive.
    ~ImportController() override;

    bool DriveFound() const { return m_driveFound; }
    const QString& DriveRoot() const { return m_driveRoot; }
    bool isRunning() const { return m_thread != nullptr; }
    // The outcome of the last import that ended.
    const ImportResult& lastResult() const { return m_lastResult; }

    // "Cycles: 12, ovens: 3" in the window's language, for the status bar.
    static QString summary(const ImportResult& result, const QString& languageCode);

public slots:
    void KvaroLoadButtonClick();

signals:
    // The import has ended and the oven list was rebuilt.
    void importFinished();

private:
    void driveScanned(bool found, const QString& root);
    void progressed(int done, int total);
    void finished(const ImportResult& result);
    void colourButton();

    TForm2& m_form;
    std::unique_ptr<Drives> m_drives;
    QThread* m_thread = nullptr;
    QPointer<ImportJob> m_job;
    bool m_driveFound = false;
    QString m_driveRoot;
    ImportResult m_lastResult;
};

} // namespace kvaro
