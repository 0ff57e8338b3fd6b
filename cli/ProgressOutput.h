// Progress of a read or write on standard error: a bar redrawn in place on
// a terminal, one line per percentage step when the output is a file or a
// pipe (one line per tenth, so logs stay readable), nothing when quiet.
#pragma once

#include <QString>
#include <cstdio>

class ProgressOutput {
public:
    enum class Style { Bar, Lines, Quiet };

    explicit ProgressOutput(Style style, FILE *out = stderr);
    // The style that suits standard error: a bar on a terminal.
    static Style styleFor(bool quiet);

    Style style() const { return style_; }
    void setPercent(int percent);
    // Shows the status with the latest percentage.
    void setStatus(const QString &status);
    // Puts the cursor on a fresh line, so a message can follow the bar.
    void breakLine();

private:
    void drawBar();
    void print(const QString &text);

    Style style_;
    FILE *out_;
    int percent_ = 0;
    int printedPercent_ = -1;
    QString status_;
    bool barShown_ = false;
};
