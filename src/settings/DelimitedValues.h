#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Reads up to `maxValues` comma- or line-delimited values from the start of `data`, in order.
// Works on bytes; the delimiters are ASCII, which is safe in the system's code page.
//
// - A line end is CR LF, a lone CR or a lone LF. Every value ends at one comma or one line end,
//   so an empty line, or nothing between two commas, is an empty value.
// - Blanks (spaces, tabs) before a value are skipped.
// - A value that begins with a double quote is quoted: it runs to the closing quote, commas
//   included. The closing quote is the first quote on the line that is followed, after blanks
//   only, by a comma, a line end or the end of the data; so a quote inside a value
//   ("C:\my"dir") belongs to the value. If no quote qualifies, the first quote closes the value
//   and anything after it up to the next comma or line end is ignored. A quote never closed runs
//   to the line end.
// - An unquoted value runs to the next comma or line end; blanks at its end are dropped; a quote
//   inside it is an ordinary character.
// - Where only blanks or nothing is left, there is no further value.
// - A UTF-8 byte-order mark at the very start is skipped.
//
// Returns fewer than `maxValues` values when the data ends first.
QList<QByteArray> readDelimitedValues(QByteArrayView data, qsizetype maxValues);
