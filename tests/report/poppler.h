#pragma once

// A written PDF read back the way a person or a script reads it, by poppler-utils: its text
// laid out as on the page (pdftotext -layout), its page count (pdfinfo) and its pages as
// pictures (pdftoppm).
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace kvaro::testing {

inline QString poppler(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        qFatal("%s is missing: install poppler-utils", qPrintable(tool));
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of the pages first..last (all by default), one blank between words.
inline QString pdfText(const QString& path, int first = 0, int last = 0)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (first > 0)
        arguments << QStringLiteral("-f") << QString::number(first);
    if (last > 0)
        arguments << QStringLiteral("-l") << QString::number(last);
    arguments << path << QStringLiteral("-");
    QString text = poppler(QStringLiteral("pdftotext"), arguments);
    // Columns are laid out with runs of blanks: one is enough to read the words in order.
    text.replace(QRegularExpression(QStringLiteral("[ \\t]+")), QStringLiteral(" "));
    return text;
}

inline int pdfPages(const QString& path)
{
    const QString info = poppler(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Page `page` rendered at `dpi` (72: one pixel a point); a null image when it fails.
inline QImage pdfPageImage(const QString& path, int page = 1, int dpi = 72)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    poppler(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
             QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
             QString::number(page), QStringLiteral("-singlefile"), path, stem});
    return QImage(stem + QStringLiteral(".png"));
}

} // namespace kvaro::testing
