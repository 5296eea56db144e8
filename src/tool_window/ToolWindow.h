#pragma once

// What the tool's windows share: the caption and the warning box, and the twips grid they are
// laid out on.

#include "shared_state/SharedState.h"

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Caption of the tool's message boxes.
inline constexpr char kToolTitle[] = "Miren Loader";

// Shows message in a modal warning box over parent, with the tool's caption and one OK button.
// While a test hook is set, the message goes to the hook instead.
void showWarningBox(QWidget* parent, const QString& message);

// Sends every warning box of the tool to a hook while it lives, so tests need not click boxes
// away; the previous hook comes back when it ends.
class WarningBoxHook {
public:
    explicit WarningBoxHook(WarningFn hook);
    ~WarningBoxHook();
    WarningBoxHook(const WarningBoxHook&) = delete;
    WarningBoxHook& operator=(const WarningBoxHook&) = delete;

private:
    WarningFn previous_;
};

// The windows are laid out in twips, as they were drawn; 15 twips make one logical pixel
// (1 twip = 1/1440 inch, 96 pixels to the inch).
inline constexpr int kTwipsPerPixel = 15;

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

constexpr QSize twipsSize(int width, int height)
{
    return QSize(width / kTwipsPerPixel, height / kTwipsPerPixel);
}
