#include "store/importjob.h"

#include "store/drives.h"

namespace kvaro {

ImportJob::ImportJob(const Drives& drives, QString storeHome, QChar decimalSeparator,
                     Language language, QObject* parent)
    : QObject(parent), m_drives(drives), m_storeHome(std::move(storeHome)),
      m_decimalSeparator(decimalSeparator), m_language(std::move(language))
{
}

void ImportJob::run()
{
    Importer importer(m_drives, StorePaths(m_storeHome), m_decimalSeparator);
    importer.setLanguage(m_language);
    importer.setProgress([this](int done, int total) { emit progress(done, total); });
    importer.setStopRequested([this] { return m_stop.load(); });

    const ImportResult result =
        importer.run([this](const DriveScan& scan) { emit driveScanned(scan); });
    emit finished(result);
}

} // namespace kvaro
