#pragma once

// Small file helpers every test folder uses for its fixtures.
#include "base/language.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace kvaro::testing {

// Writes bytes to path, making its folder first.
inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

// The bytes of path; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a numbered language file shows for a named line: pattern with %1 replaced by the
// line's number ("T%1" gives "T17" for the line that says a cycle cannot be drawn).
inline QString numberedText(Text name, const QString& pattern = QStringLiteral("T%1"))
{
    return pattern.arg(int(name));
}

// The shipped English language file, as the program reads it.
inline Language shippedEnglish()
{
    QString text = QString::fromUtf8(readFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/EN.dat")));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return Language(text.split(QStringLiteral("\r\n")));
}

} // namespace kvaro::testing
