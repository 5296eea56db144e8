#pragma once

#include <QString>
#include <QStringView>
#include <functional>

// The text the commands fill and read. Lines end with CR LF; the commands append the line ends
// themselves.
class TextView {
public:
    virtual ~TextView() = default;
    // Empties the text and puts the caret at 0.
    virtual void clear() = 0;
    // Inserts text at the caret (replacing any selection) and moves the caret behind it.
    virtual void append(QStringView text) = 0;
    // The whole text, with CR LF line ends.
    virtual QString text() const = 0;
    // True when the text is "". A view may answer this without building the whole text.
    virtual bool isEmpty() const { return text().isEmpty(); }
    // Hands the whole text to `take` in pieces, in order: joined, the pieces are text(). A view
    // may hand out a large text this way without ever building it whole.
    virtual void readText(const std::function<void(QStringView piece)>& take) const
    {
        take(text());
    }
};

// A text view held in memory: the exact text and a caret, for driving the commands without a
// window.
class MemoryTextView : public TextView {
public:
    void clear() override;
    void append(QStringView text) override;
    QString text() const override { return text_; }

    qsizetype caret() const { return caret_; }
    void setText(const QString& text, qsizetype caret);

private:
    QString text_;
    qsizetype caret_ = 0;
};
