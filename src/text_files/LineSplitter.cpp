#include "text_files/LineSplitter.h"

#include <cstring>

void LineSplitter::feed(QByteArrayView chunk, QByteArray& out)
{
    const char* p = chunk.data();
    const char* const end = p + chunk.size();
    if (p == end)
        return;
    if (afterCr_) {
        afterCr_ = false;
        if (*p == '\n')
            ++p;
    }
    while (p < end) {
        const auto* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(end - p)));
        if (!cr) {
            open_.append(p, end - p);
            return;
        }
        if (!open_.isEmpty()) {
            out.append(open_);
            open_.clear();
        }
        out.append(p, cr - p);
        out.append("\r\n", 2);
        p = cr + 1;
        if (p == end) {
            afterCr_ = true;
            return;
        }
        if (*p == '\n')
            ++p;
    }
}

void LineSplitter::finish(QByteArray& out)
{
    if (!open_.isEmpty()) {
        out.append(open_);
        out.append("\r\n", 2);
        open_.clear();
    }
    afterCr_ = false;
}

QByteArray LineSplitter::split(QByteArrayView whole)
{
    LineSplitter splitter;
    QByteArray out;
    out.reserve(whole.size() + 2);
    splitter.feed(whole, out);
    splitter.finish(out);
    return out;
}
