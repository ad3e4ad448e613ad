#pragma once

// What the window tests share: a machine for the window to run on, language files whose
// texts tell their line numbers, and the controls found by the object names the window
// gives them.
#include "app/appservices.h"
#include "app/chartsaving.h"
#include "app/cycleopening.h"
#include "app/tform2.h"
#include "app/windowjobs.h"
#include "base/platform.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
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

// Waits until the window's long work (a catalogue or a list being built, a cycle being read
// or drawn, a comparison, a table or a batch report being saved) has answered and what it
// asked for is on screen. False when it has not within the time.
// Takes the window or any part of it.
inline bool settle(const QObject* part, int timeoutMs = 60000)
{
    while (part && !qobject_cast<const TForm2*>(part))
        part = part->parent();
    const auto* form = qobject_cast<const TForm2*>(part);
    if (!form)
        return false;
    return QTest::qWaitFor([form] { return form->jobs().isIdle(); }, timeoutMs);
}
template <class Pointer> bool settle(const Pointer& part)
{
    return settle(static_cast<const QObject*>(&*part));
}

// The cycles a spy on CycleOpener::opened saw, and how many of them were to be drawn.
inline OpenedCycle openedCycle(const QSignalSpy& opened, qsizetype at)
{
    return opened.at(at).at(0).value<OpenedCycle>();
}
inline int drawableCount(const QSignalSpy& opened)
{
    int count = 0;
    for (qsizetype i = 0; i < opened.size(); ++i)
        count += openedCycle(opened, i).drawable ? 1 : 0;
    return count;
}

// Runs a save that answers with ChartSaving::saved (a table, a batch report) and says
// whether the file was written.
inline bool savedBy(ChartSaving* saving, const std::function<void()>& save)
{
    QSignalSpy saved(saving, &ChartSaving::saved);
    save();
    if (saved.isEmpty() && !saved.wait(60000))
        return false;
    return saved.last().at(1).toBool();
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
