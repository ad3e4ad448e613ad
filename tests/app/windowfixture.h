#pragma once

// What the window tests share: a machine for the window to run on, language files whose
// texts tell their line numbers, and the controls found by the object names the window
// gives them.
#include "app/appservices.h"
#include "app/tform2.h"
#include "base/platform.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace kvaro::testing {

template <class W> W* control(QWidget& form, const char* name)
{
    W* found = form.findChild<W*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// A language file of the given number of lines, line N reading the pattern with N for
// %1 ("PL text %1" gives "PL text 0", "PL text 1", ...).
inline QByteArray numberedLanguage(const QString& pattern, int lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (int n = 0; n < lines; ++n)
        bytes += (pattern.arg(n) + QStringLiteral("\r\n")).toUtf8();
    return bytes;
}

// A file the program ships in assets/.
inline QByteArray shippedFile(const char* name)
{
    return readFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/") + QLatin1String(name));
}

// A program folder (the store lies below it) and a separate working folder (Data.dat and
// the language files), and the fakes the window works with: a fixed day, a "," locale and
// recorded messages.
struct WindowMachine {
    QTemporaryDir home;
    FixedClock clock{QDateTime(QDate(2024, 5, 7), QTime(10, 0))};
    FixedLocale locale{QLatin1Char(','), QStringLiteral("dd.MM.yyyy")};
    RecordingMessages messages;

    WindowMachine()
    {
        QDir().mkpath(programFolder());
        QDir().mkpath(workingFolder());
    }

    QString programFolder() const { return home.filePath(QStringLiteral("program")); }
    QString workingFolder() const { return home.filePath(QStringLiteral("work")); }
    QString program(const QString& name) const { return QDir(programFolder()).filePath(name); }
    QString working(const QString& name) const { return QDir(workingFolder()).filePath(name); }

    // The window as the program creates it; the test attaches the parts it needs.
    std::unique_ptr<TForm2> create()
    {
        return std::make_unique<TForm2>(
            AppServices{clock, locale, messages, programFolder(), workingFolder()});
    }
    std::unique_ptr<TForm2> start()
    {
        auto form = create();
        form->show();
        return form;
    }
};

} // namespace kvaro::testing
