#include "KeepingRules.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QDateTime At(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
}

QStringList Backups(int count, const QDateTime &first)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << BackupFileName(first.addSecs(i * 61));
    return names;
}

} // namespace

TEST(BackupNames, RoundTripAndRefusals)
{
    const QDateTime when = At("2026-12-07T18:44:03.125");
    EXPECT_EQ(BackupFileName(when), QStringLiteral("read-20261207-184403-125.chann"));
    EXPECT_EQ(BackupTime(BackupFileName(when)), when);
    EXPECT_EQ(BackupMenuText(when), QStringLiteral("2026-12-07 18:44:03"));

    const struct {
        const char *name;
        bool backup;
    } cases[] = {
        {"read-20261207-184403-125.chann", true},
        {"read-20261307-184403-125.chann", false}, // month 13
        {"read-20261207-254403-125.chann", false}, // hour 25
        {"read-20261207-184403.chann", false}, // no milliseconds
        {"read-20261207-184403-125.CHANN", false},
        {"read-20261207-184403-125.chann.tmp", false},
        {"xread-20261207-184403-125.chann", false},
        {"radio.chann", false},
        {"work-20261207-184403-125-77.chann", false}, // a recovery file
    };
    for (const auto &c : cases)
        EXPECT_EQ(BackupTime(QString::fromLatin1(c.name)).has_value(), c.backup) << c.name;
}

TEST(BackupRotation, KeepsTheNewestFiftyAndNothingElseIsTouched)
{
    const QDateTime first = At("2026-01-31T23:59:00.000");
    struct Case {
        int backups;
        int removed;
    };
    for (const Case c :
         {Case{0, 0}, Case{1, 0}, Case{50, 0}, Case{51, 1}, Case{53, 3}, Case{120, 70}}) {
        QStringList names = Backups(c.backups, first);
        std::reverse(names.begin(), names.end()); // directory order is no order
        names << QStringLiteral("notes.txt") << QStringLiteral("read-bad.chann")
              << QStringLiteral("radio.chann");
        const QStringList removed = BackupsToRemove(names);
        ASSERT_EQ(removed.size(), c.removed) << c.backups;
        // The oldest go: exactly those older than the 50th newest.
        const QStringList ordered = Backups(c.backups, first);
        for (int i = 0; i < c.removed; ++i)
            EXPECT_TRUE(removed.contains(ordered[i])) << ordered[i].toStdString();
        EXPECT_EQ(BackupsNewestFirst(names).size(), c.backups);
    }
    // Newest first, across a change of month and year in the names.
    const QStringList newest = BackupsNewestFirst({BackupFileName(At("2026-12-31T23:59:59.999")),
                                                   BackupFileName(At("2027-01-01T00:00:00.000")),
                                                   BackupFileName(At("2026-02-01T10:00:00.000"))});
    EXPECT_EQ(newest, QStringList({BackupFileName(At("2027-01-01T00:00:00.000")),
                                   BackupFileName(At("2026-12-31T23:59:59.999")),
                                   BackupFileName(At("2026-02-01T10:00:00.000"))}));
}

TEST(RecoveryNames, OneSetPerRunFoundByItsId)
{
    const QString id = RecoveryId(At("2026-12-07T18:44:03.007"), 4711);
    EXPECT_EQ(id, QStringLiteral("20261207-184403-007-4711"));
    const RecoveryFileNames names = RecoveryFilesOf(id);
    EXPECT_EQ(names.image, QStringLiteral("work-20261207-184403-007-4711.chann"));
    EXPECT_EQ(names.info, QStringLiteral("work-20261207-184403-007-4711.info"));
    EXPECT_EQ(names.lock, QStringLiteral("work-20261207-184403-007-4711.lock"));
    for (const QString &name : {names.image, names.info, names.lock})
        EXPECT_EQ(RecoveryIdOf(name), id);
    EXPECT_EQ(RecoveryStart(id), At("2026-12-07T18:44:03.007"));

    for (const char *other :
         {"work-20261207-184403-007-4711.lock.rmlock", "work-20261207-184403-007.chann",
          "work-20261207-184403-007-4711.chann.tmp", "read-20261207-184403-007.chann",
          "work-2026120-184403-007-4711.chann", "work--4711.info"})
        EXPECT_TRUE(RecoveryIdOf(QString::fromLatin1(other)).isEmpty()) << other;

    // Newest run first; within one millisecond by process id as a number.
    const QStringList files = {
        QStringLiteral("work-20261207-184403-007-99.chann"),
        QStringLiteral("work-20261207-184403-007-99.lock"),
        QStringLiteral("work-20261207-184403-007-100.info"),
        QStringLiteral("work-20261208-000000-000-5.lock"),
        QStringLiteral("work-20251231-235959-999-7.chann"),
        QStringLiteral("readme.txt"),
    };
    EXPECT_EQ(RecoveryIdsNewestFirst(files),
              QStringList({QStringLiteral("20261208-000000-000-5"),
                           QStringLiteral("20261207-184403-007-100"),
                           QStringLiteral("20261207-184403-007-99"),
                           QStringLiteral("20251231-235959-999-7")}));
}

TEST(RecoveryInfo, RoundTripsWhereTheWorkCameFrom)
{
    const WorkSource sources[] = {
        {WorkOrigin::None, {}},
        {WorkOrigin::File, QStringLiteral("/home/dealer/客户/radio 1.chann")},
        {WorkOrigin::Read, QStringLiteral("/data/backups/read-20261207-184403-125.chann")},
        {WorkOrigin::Read, {}}, // a read whose backup failed
    };
    for (const WorkSource &source : sources)
        EXPECT_EQ(ParseRecoveryInfo(FormatRecoveryInfo(source)), source)
            << source.path.toStdString();
    // A missing or damaged description means an untitled image, never a
    // file name made up from garbage.
    EXPECT_EQ(ParseRecoveryInfo(QByteArray()), WorkSource{});
    EXPECT_EQ(ParseRecoveryInfo("origin=bogus\npath=/x.chann\n"), WorkSource{});
}

TEST(RecentFiles, LastEightOpenedOrSavedNewestFirst)
{
    // Absolute paths start with a drive on Windows.
#ifdef _WIN32
    const QString root = QStringLiteral("C:");
#else
    const QString root;
#endif
    const QString a = root + "/f/a.chann", b = root + "/f/b.chann";
    struct Case {
        QStringList before;
        QString path;
        QStringList after;
    };
    QStringList eight;
    for (int i = 1; i <= 8; ++i)
        eight << root + QStringLiteral("/f/%1.chann").arg(i);
    const Case cases[] = {
        {{}, a, {a}},
        {{a}, b, {b, a}},
        {{b, a}, a, {a, b}}, // moved to the front, not doubled
        {{b, a}, root + "/f/x/../a.chann", {a, b}}, // the same file by another spelling
        {{b, a}, root + "/f//b.chann", {b, a}},
        {eight, a, QStringList{a} + eight.mid(0, 7)}, // the oldest drops out
        {eight, eight[7], QStringList{eight[7]} + eight.mid(0, 7)}, // the oldest comes back
        {{a}, QStringLiteral("  "), {a}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WithRecentFile(c.before, c.path), c.after) << c.path.toStdString();
    EXPECT_EQ(WithoutRecentFile({a, b}, root + "/f/./a.chann"), QStringList{b});

    // The list file: blank, relative and repeated lines are skipped, at most eight.
    const QStringList parsed = ParseRecentFiles(
        (a + "\n\nrelative.chann\n" + b + "\r\n" + a + "\n").toUtf8() + FormatRecentFiles(eight));
    EXPECT_EQ(parsed, (QStringList{a, b} + eight.mid(0, 6)));
    const QString chinese = root + QStringLiteral("/客户/资料 1.chann");
    EXPECT_EQ(ParseRecentFiles(FormatRecentFiles({chinese})), QStringList{chinese});

    // The folder as the system writes it.
    EXPECT_EQ(RecentMenuText(3, root + "/home/R&D/a&b.chann"),
              "&3  a&&b.chann   (" + QDir::toNativeSeparators(root + "/home/R&&D") + ")");
}

TEST(WorkLabels, FileOrReadAndTheUnsavedMarkInBothLanguages)
{
    const WorkSource file{WorkOrigin::File, QStringLiteral("/home/dealer/radio.chann")};
    const WorkSource read{WorkOrigin::Read,
                          QStringLiteral("/d/backups/read-20261207-184403-125.chann")};
    const WorkSource unbacked{WorkOrigin::Read, {}};
    const struct {
        WorkSource source;
        bool modified;
        const char *chinese;
        const char *english;
    } cases[] = {
        {{}, false, "未命名", "Untitled"},
        {{}, true, "● 未命名（有未保存的修改）", "● Untitled (unsaved changes)"},
        {file, false, "radio.chann", "radio.chann"},
        {file, true, "● radio.chann（有未保存的修改）", "● radio.chann (unsaved changes)"},
        {read, false, "读取于 2026-12-07 18:44:03", "Read 2026-12-07 18:44:03"},
        {read, true, "● 读取于 2026-12-07 18:44:03（有未保存的修改）",
         "● Read 2026-12-07 18:44:03 (unsaved changes)"},
        {unbacked, false, "读自对讲机", "Read from radio"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(WorkLabel(c.source, c.modified).chinese, QString::fromUtf8(c.chinese));
        EXPECT_EQ(WorkLabel(c.source, c.modified).english, QString::fromUtf8(c.english));
    }
}
