#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>

namespace kvaro {

// A table written the way a spreadsheet opens it without asking: UTF-8 with a byte-order
// mark, CR LF after every row, ";" between fields where the decimal separator is "," (the
// spreadsheet would read "," as a decimal point there) and "," elsewhere. A field that holds
// the field separator, a quote or a line break is quoted, its quotes doubled.
class CsvTable
{
public:
    explicit CsvTable(QChar decimalSeparator);

    QChar fieldSeparator() const { return m_fieldSeparator; }
    QChar decimalSeparator() const { return m_decimalSeparator; }

    void addRow(const QStringList& fields);
    int rowCount() const { return m_rows; }

    // A number with the table's decimal separator and at most `decimals` decimals, trailing
    // zeros left out ("12.5", "12", "-0.25"), so a spreadsheet reads it as a number.
    QString number(double value, int decimals = 6) const;
    // A number with the table's decimal separator and exactly `decimals` decimals ("22.0"):
    // a figure keeps the precision it was measured or stated with.
    QString fixed(double value, int decimals) const;
    // A decimal field of a cycle file as the table writes it: its value with as many
    // decimals as the field was written with, whichever separator it was written with.
    QString decimalField(double value, QStringView field) const;

    QByteArray bytes() const;
    // Writes the table whole or not at all; throws WriteFailure with the system's reason.
    void save(const QString& path) const;

private:
    QChar m_decimalSeparator;
    QChar m_fieldSeparator;
    QByteArray m_text;
    int m_rows = 0;
};

} // namespace kvaro
