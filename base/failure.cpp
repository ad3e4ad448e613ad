#include "base/failure.h"

#include "base/language.h"
#include "base/platform.h"

#include <QDir>
#include <QFileInfo>

namespace kvaro {

Failure::Failure(QString text, QString file, int line)
    : m_text(std::move(text)), m_file(std::move(file)), m_line(line)
{
}

Failure& Failure::at(const QString& file, int line)
{
    if (m_file.isEmpty())
        m_file = file;
    if (m_line < 0)
        m_line = line;
    return *this;
}

QString Failure::place() const
{
    if (m_file.isEmpty())
        return {};
    QString place = QFileInfo(m_file).fileName();
    // Users count lines from 1, as every text editor shows them.
    if (m_line >= 0)
        place += QStringLiteral(", line %1").arg(m_line + 1);
    return place;
}

QString Failure::message() const
{
    if (m_file.isEmpty())
        return m_text;
    return m_text + QLatin1Char('\n') + place();
}

const char* Failure::what() const noexcept
{
    m_what = message().toUtf8();
    return m_what.constData();
}

namespace {

QString wholePath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

WriteFailure::WriteFailure(const QString& path, QString reason)
    : Failure(fillIn(englishText(Text::CannotWrite), {wholePath(path), reason}), path),
      m_reason(std::move(reason))
{
}

QString cannotWrite(const Language& language, const QString& path, const QString& reason)
{
    return fillIn(language.text(Text::CannotWrite), {wholePath(path), reason});
}

bool guarded(Messages& messages, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const Failure& failure) {
        messages.show(failure.message());
    } catch (const std::exception& error) {
        messages.show(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace kvaro
