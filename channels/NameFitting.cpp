#include "NameFitting.h"

#include "Conversions.h"
#include "Globals.h"

#include <QHash>
#include <QSet>

namespace {

bool IsSeparator(QChar ch) { return ch == u' ' || ch == u'-' || ch == u'_' || ch == u'.'; }

// The longest number the trailing-number step keeps whole: at least one
// character of the part before it stays.
constexpr int LongestKeptNumber = NameLength - 1;

QString Shortened(const QString &name)
{
    QString bare;
    for (const QChar ch : name)
        if (!IsSeparator(ch))
            bare += ch;
    if (bare.isEmpty()) // nothing but separators: cutting is all there is
        return name.left(NameLength);
    if (bare.size() <= NameLength)
        return bare;
    qsizetype digits = 0;
    const auto digit = [](QChar ch) { return ch >= u'0' && ch <= u'9'; };
    while (digits < bare.size() && digit(bare.at(bare.size() - 1 - digits)))
        ++digits;
    if (digits >= 1 && digits <= LongestKeptNumber)
        return bare.left(NameLength - digits) + bare.right(digits);
    return bare.left(NameLength);
}

} // namespace

QString NameFace(const QString &name)
{
    QString face;
    for (const QChar ch : name)
        face += CodeToChar(CharToCode(QString(ch)));
    return face.trimmed();
}

QList<FittedName> FitChannelNames(const QStringList &names)
{
    QList<FittedName> fitted;
    QStringList whole; // each name's face, uncut: names alike here are one name
    for (const QString &name : names) {
        FittedName f;
        f.cut = name.size() > NameLength;
        f.stored = name.left(NameLength);
        fitted << f;
        whole << NameFace(name);
    }
    // A name shortened once stays as it is, so this ends: each round either
    // shortens another name or finds nothing left to do.
    QList<bool> tried(fitted.size(), false);
    for (bool again = true; again;) {
        again = false;
        QHash<QString, QList<int>> byFace;
        for (int i = 0; i < fitted.size(); ++i) {
            const QString face = NameFace(fitted[i].stored);
            if (!face.isEmpty())
                byFace[face] << i;
        }
        for (const QList<int> &alike : std::as_const(byFace)) {
            QSet<QString> distinct;
            for (int i : alike)
                distinct.insert(whole[i]);
            if (distinct.size() < 2)
                continue;
            for (int i : alike) {
                FittedName &f = fitted[i];
                if (!f.cut || tried[i])
                    continue;
                tried[i] = true;
                f.stored = Shortened(names[i]);
                f.shortened = f.stored != names[i].left(NameLength);
                again = true;
            }
        }
    }
    return fitted;
}
