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

// Runs an event handler's work; a Failure becomes a modal message instead of leaving the
// handler. Returns false when the work failed.
bool guarded(Messages& messages, const std::function<void()>& work);

} // namespace kvaro
