#include "settings/DelimitedValues.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}
bool isDelimiter(char c)
{
    return c == ',' || isLineEnd(c);
}

} // namespace

QList<QByteArray> readDelimitedValues(QByteArrayView data, qsizetype maxValues)
{
    QList<QByteArray> values;
    const qsizetype n = data.size();
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;

    while (values.size() < maxValues) {
        while (i < n && isBlank(data[i]))
            ++i;
        if (i >= n)
            break;

        qsizetype lineEnd = i;
        while (lineEnd < n && !isLineEnd(data[lineEnd]))
            ++lineEnd;

        qsizetype next = n; // position of the delimiter that ends this value, or n
        if (data[i] == '"') {
            const qsizetype open = i + 1;
            qsizetype close = -1;
            qsizetype firstQuote = -1;
            for (qsizetype q = open; q < lineEnd; ++q) {
                if (data[q] != '"')
                    continue;
                if (firstQuote < 0)
                    firstQuote = q;
                qsizetype after = q + 1;
                while (after < lineEnd && isBlank(data[after]))
                    ++after;
                if (after == lineEnd || data[after] == ',') {
                    close = q;
                    next = after;
                    break;
                }
            }
            if (close < 0 && firstQuote >= 0) {
                close = firstQuote;
                next = close + 1;
                while (next < lineEnd && data[next] != ',')
                    ++next;
            } else if (close < 0) {
                close = lineEnd;
                next = lineEnd;
            }
            values.append(data.sliced(open, close - open).toByteArray());
        } else {
            next = i;
            while (next < n && !isDelimiter(data[next]))
                ++next;
            qsizetype end = next;
            while (end > i && isBlank(data[end - 1]))
                --end;
            values.append(data.sliced(i, end - i).toByteArray());
        }

        // Step over the one delimiter that ended the value; CR LF counts as one.
        i = next;
        if (i < n) {
            if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n')
                ++i;
            ++i;
        }
    }
    return values;
}
