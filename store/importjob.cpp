#include "store/importjob.h"

#include "store/drives.h"

namespace kvaro {

ImportJob::ImportJob(const Drives& drives, QString programFolder, QChar decimalSeparator,
                     QString noDriveMessage, QObject* parent)
    : QObject(parent), m_drives(drives), m_programFolder(std::move(programFolder)),
      m_decimalSeparator(decimalSeparator), m_noDriveMessage(std::move(noDriveMessage))
{
}

void ImportJob::run()
{
    Importer importer(m_drives, StorePaths(m_programFolder), m_decimalSeparator);
    importer.setNoDriveMessage(m_noDriveMessage);
    importer.setProgress([this](int done, int total) { emit progress(done, total); });
    importer.setStopRequested([this] { return m_stop.load(); });

    const ImportResult result =
        importer.run([this](const DriveScan& scan) { emit driveScanned(scan.found, scan.root); });
    emit finished(result);
}

} // namespace kvaro
