// Status and result lines a screen reader hears, not only shows. A label
// changing elsewhere in a window is not spoken; the focused control's
// description is. So the line's text also becomes the accessible
// description of the window's push buttons, where the focus is while a
// transfer runs: the button the listener is on speaks it, and any other
// says it again when they come to it.
#pragma once

#include <QString>

class QLabel;

// Shows the text in the line and passes it on as above. A line that only
// counts (the same words, other numbers) is passed on at most every
// CountingInterval, so a read is not read out block by block.
void ShowStatus(QLabel *line, const QString &text);

// The words of a status without its numbers: two texts of one kind say the
// same thing about another block or radio.
QString StatusKind(const QString &text);

constexpr int CountingIntervalMs = 10000;
