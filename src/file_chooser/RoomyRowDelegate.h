#pragma once

#include <QStyledItemDelegate>

// Gives every row of a list two pixels more than the font asks for. The Japanese list font
// draws "_" on the very last pixel row of its cell, where the next row's background would
// cover it, so "SESSION_KMH.BIL" would read "SESSION KMH.BIL".
class RoomyRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rheight() += 2;
        return size;
    }
};
