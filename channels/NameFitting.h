// Channel names of a list made to fit the radio's five characters while
// they stay apart. A name that fits is kept as it is. A longer one is cut
// to its first five characters, as long as no other name of the list then
// reads the same; where cutting would make names that differ equal, each of
// those is shortened instead: separators dropped (blank, "-", "_", "."),
// then a trailing number kept whole and the part before it shortened
// ("APRS10" -> "APR10"), and only then cut. Names that still read alike
// afterwards are left for the caller to report.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct FittedName {
    QString stored; // at most five characters, to be coded as the grid codes a name
    bool cut = false; // longer than five characters: first five kept
    bool shortened = false; // longer, and shortened to stay apart from another name
};

// One entry for each name, in the same order.
QList<FittedName> FitChannelNames(const QStringList &names);

// How the radio shows a name: upper case, characters outside its alphabet
// as blanks, no blanks at either end. Names with the same face cannot be
// told apart on the radio.
QString NameFace(const QString &name);
