#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace kvaro {

class Messages;

// The one error type of the program: a user-visible text, and where it is known the file
// and the line it came from. Handlers catch it at their edge; nothing else does.
class Failure : public std::exception
{
public:
    explicit Failure(QString text, QString file = {}, int line = -1);

    const QString& text() const { return m_text; }
    const QString& file() const { return m_file; }
    int line() const { return m_line; } // 0-based; -1 when unknown

    // Fills in the place of the failure where the thrower did not know it.
    Failure& at(const QString& file, int line = -1);

    // Where the failure is, as users read it: "P123.csv, line 57", or the file name alone
    // when the line is unknown; empty when the file is.
    QString place() const;
    // The failure's own text, then its place on a second line when known.
    QString message() const;

    const char* what() const noexcept override;

private:
    QString m_text;
    QString m_file;
    int m_line;
    mutable QByteArray m_what;
};

class Language;

// A file that could not be written, with its whole path and the reason the system gave
// (permission denied, no such folder, disk full). Its own text is the English wording; a
// handler shows cannotWrite() in the interface language instead.
class WriteFailure : public Failure
{
public:
    WriteFailure(const QString& path, QString reason);
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// "Cannot write PATH: REASON" in the interface language, the path whole and absolute.
QString cannotWrite(const Language& language, const QString& path, const QString& reason);

// Runs an event handler's work; a Failure becomes a modal message instead of leaving the
// handler. Returns false when the work failed.
bool guarded(Messages& messages, const std::function<void()>& work);

} // namespace kvaro
