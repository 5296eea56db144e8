#include "shared_state/TextView.h"

void MemoryTextView::clear()
{
    text_.clear();
    caret_ = 0;
}

void MemoryTextView::append(QStringView text)
{
    text_.insert(caret_, text);
    caret_ += text.size();
}

void MemoryTextView::setText(const QString& text, qsizetype caret)
{
    text_ = text;
    caret_ = qBound<qsizetype>(0, caret, text_.size());
}
