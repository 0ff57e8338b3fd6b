#include "ChannelFile.h"
#include "Globals.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

class ChannelFile : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }

    static QList<QByteArray> Lines(const QByteArray &text)
    {
        QList<QByteArray> lines = text.split('\n');
        EXPECT_TRUE(lines.last().isEmpty()) << "text must end with a line end";
        lines.removeLast();
        return lines;
    }

    // An image whose every used cell differs from RadioData's start-up
    // content, so that a partial read would show.
    static ImageTable Random(quint32 seed)
    {
        QRandomGenerator random(seed);
        ImageTable image{};
        for (auto &row : image)
            for (auto &cell : row)
                cell = int16_t(random.bounded(256));
        return image;
    }

    // The file text of the start-up image with one token replaced.
    static QByteArray WithToken(int row, int column, const QByteArray &token)
    {
        QList<QByteArray> lines = FormatChannelFile(RadioData).split('\n');
        QList<QByteArray> fields = lines[row].split(' ');
        // Fields alternate "" and value: value k sits at index 2k + 1.
        fields[2 * column + 1] = token;
        lines[row] = fields.join(' ');
        return lines.join('\n');
    }

    static void ExpectRefusedWhole(const QByteArray &text, ChannelFileError::Kind kind, int line,
                                   int position)
    {
        ImageTable image = Random(7);
        const ImageTable before = image;
        ChannelFileError error;
        EXPECT_FALSE(ParseChannelFile(text, image, &error));
        EXPECT_EQ(error.kind, kind);
        EXPECT_EQ(error.line, line);
        EXPECT_EQ(error.position, position);
        EXPECT_FALSE(error.message.chinese.isEmpty());
        EXPECT_FALSE(error.message.english.isEmpty());
        if (line > 0) {
            EXPECT_TRUE(error.message.english.contains(
                QStringLiteral("Line %1, position %2").arg(line).arg(position)))
                << error.message.english.toStdString();
            EXPECT_TRUE(error.message.chinese.contains(
                QStringLiteral("第 %1 行第 %2 个字符").arg(line).arg(position)))
                << error.message.chinese.toStdString();
        }
        EXPECT_TRUE(image == before) << "a refused file must leave the image untouched";
    }
};

} // namespace

TEST_F(ChannelFile, StartUpImageIsWrittenByteExact)
{
    const QByteArray text = FormatChannelFile(RadioData);
    const QList<QByteArray> lines = Lines(text);
    ASSERT_EQ(lines.size(), 256);
    for (const QByteArray &line : lines)
        ASSERT_TRUE(line.endsWith('\r'));
    EXPECT_EQ(lines[0],
              QByteArray(" 80  18  32  70  0  0  0  1  255  255  255  255  2  32  255  255 \r"));
    EXPECT_TRUE(lines[240].startsWith(" 50  100  200  255 "));
    EXPECT_EQ(lines[1], QByteArray(" 255 ").repeated(16) + '\r');
    EXPECT_EQ(text.count("\r\n"), 256);
}

TEST_F(ChannelFile, ErasedImageIs20992BytesAndNegativeValuesTakeTheSignPlace)
{
    ImageTable image{};
    for (auto &row : image)
        row.fill(255);
    EXPECT_EQ(FormatChannelFile(image).size(), 20992);

    image[3][0] = -5;
    image[3][1] = 0;
    image[3][15] = 1000;
    const QList<QByteArray> lines = Lines(FormatChannelFile(image));
    EXPECT_TRUE(lines[3].startsWith("-5  0  255 "));
    EXPECT_TRUE(lines[3].endsWith(" 1000 \r"));
}

TEST_F(ChannelFile, RoundTripRestoresEveryUsedCellAndNothingElse)
{
    for (quint32 seed : {1u, 2u, 3u}) {
        const ImageTable written = Random(seed);
        ImageTable read = Random(seed + 100);
        const ImageTable untouched = read;
        ChannelFileError error;
        ASSERT_TRUE(ParseChannelFile(FormatChannelFile(written), read, &error))
            << error.message.english.toStdString();
        EXPECT_EQ(error.kind, ChannelFileError::Kind::None);
        for (int r = 0; r < ImageRows; ++r)
            for (int c = 0; c < ImageColumns; ++c) {
                const bool used = r < 256 && c < 16;
                ASSERT_EQ(read[r][c], used ? written[r][c] : untouched[r][c])
                    << "row " << r << " column " << c;
            }
        EXPECT_EQ(read[254][15], written[254][15]);
        EXPECT_EQ(read[255][0], written[255][0]);
    }
}

TEST_F(ChannelFile, AcceptsBlanksCommasLineEndsAndIgnoresExtraNumbers)
{
    QByteArray text;
    for (int k = 0; k < 4096; ++k) {
        text += QByteArray::number(k % 256);
        text += k % 16 == 15 ? (k % 32 == 15 ? "\n" : "\r") : (k % 3 ? "," : " ,\t");
    }
    text.prepend("\xEF\xBB\xBF");
    text += "999 oops , ,"; // after the 4096th number: not looked at
    ImageTable image = Random(9);
    ChannelFileError error;
    ASSERT_TRUE(ParseChannelFile(text, image, &error)) << error.message.english.toStdString();
    for (int k = 0; k < 4096; ++k)
        ASSERT_EQ(image[k / 16][k % 16], k % 256);

    // Signs and leading zeros are still whole numbers.
    ASSERT_TRUE(ParseChannelFile(WithToken(5, 5, "+007"), image, &error));
    EXPECT_EQ(image[5][5], 7);
    ASSERT_TRUE(ParseChannelFile(WithToken(5, 6, "-0"), image, &error));
    EXPECT_EQ(image[5][6], 0);
}

TEST_F(ChannelFile, BadContentIsRefusedWholeNamingLineAndPosition)
{
    using Kind = ChannelFileError::Kind;
    // Value k of a written line starts at position 5k + 2.
    ExpectRefusedWhole(WithToken(10, 3, "256"), Kind::OutOfRange, 11, 17);
    ExpectRefusedWhole(WithToken(0, 0, "-1"), Kind::OutOfRange, 1, 2);
    ExpectRefusedWhole(WithToken(255, 15, "99999999999999999999"), Kind::OutOfRange, 256, 77);
    ExpectRefusedWhole(WithToken(200, 1, "12.5"), Kind::NotANumber, 201, 7);
    ExpectRefusedWhole(WithToken(7, 0, "abc"), Kind::NotANumber, 8, 2);
    ExpectRefusedWhole(WithToken(7, 0, "-"), Kind::NotANumber, 8, 2);
    ExpectRefusedWhole(WithToken(1, 2, QByteArray("\x01\xff", 2)), Kind::NotANumber, 2, 12);
    ExpectRefusedWhole("1, 2,, 3", Kind::MissingValue, 1, 6);
    ExpectRefusedWhole(",1", Kind::MissingValue, 1, 1);

    QByteArray shortFile = FormatChannelFile(RadioData);
    shortFile.chop(7); // the last value and the line end
    ExpectRefusedWhole(shortFile, Kind::TooFewNumbers, 256, 76);
    ExpectRefusedWhole(QByteArray(), Kind::TooFewNumbers, 1, 1);

    ExpectRefusedWhole(QByteArray(ChannelFileSizeLimit + 1, ' '), Kind::TooLarge, 0, 0);
}

TEST_F(ChannelFile, MessagesNameTheProblem)
{
    ImageTable image = RadioData;
    ChannelFileError error;
    ASSERT_FALSE(ParseChannelFile(WithToken(10, 3, "300"), image, &error));
    EXPECT_EQ(error.message.english, "Line 11, position 17: the value 300 is outside 0..255.");
    EXPECT_EQ(error.message.chinese, "第 11 行第 17 个字符处的数值 300 超出 0～255 的范围。");
    ASSERT_FALSE(ParseChannelFile("1 2 3\r\n", image, &error));
    EXPECT_EQ(error.message.english,
              "Line 2, position 1: the file ends after only 3 numbers; 4096 are needed.");
    ASSERT_FALSE(ParseChannelFile(WithToken(0, 0, "x"), image, &error));
    EXPECT_EQ(error.message.english, "Line 1, position 2: \"x\" is not a number.");
}

TEST_F(ChannelFile, BytesOfABadTokenAreShownEscapedAndTheMessageIsWhole)
{
    const struct {
        QByteArray token;
        const char *shown;
    } cases[] = {
        {QByteArray("4\0"
                    "2",
                    3),
         "4\\x002"},
        {"\x1b[2J", "\\x1b[2J"},
        {"7\x7f\x9b", "7\\x7f\\x9b"},
        {"\xc2\x9b", "\\xc2\\x9b"}, // a C1 control, even as valid UTF-8
        {"\xe9t\xe9", "\\xe9t\\xe9"}, // Latin-1, not UTF-8
        {"\xe5\x90\x8d", "\xe5\x90\x8d"}, // a printable character stays
        {"12345678901234\x01\x02\x03", "12345678901234\\x01\\x02..."},
    };
    for (const auto &c : cases) {
        ImageTable image = RadioData;
        ChannelFileError error;
        ASSERT_FALSE(ParseChannelFile(WithToken(0, 0, c.token), image, &error));
        const QString shown = QString::fromUtf8(c.shown);
        EXPECT_EQ(error.message.english,
                  QStringLiteral("Line 1, position 2: \"%1\" is not a number.").arg(shown));
        EXPECT_EQ(error.message.chinese,
                  QStringLiteral("第 1 行第 2 个字符处的“%1”不是数值。").arg(shown));
    }
    EXPECT_EQ(PrintableText(QStringLiteral("a\u001b\u0000b\u00e9")),
              QStringLiteral("a\\x1b\\x00b\u00e9"));
}

// Folder permissions as Unix has them (Windows has none of these).
#ifndef _WIN32
namespace {

// Folder permissions do not stop root, so as root the body runs in a child
// process under the unprivileged "nobody" account.
template<class Body> bool Unprivileged(Body body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST_F(ChannelFile, AFolderThatTakesNoTemporaryFileTakesNoSaveAndTheOldFileStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                          | QFile::ReadOther | QFile::ExeOther);
    const QString folder = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = folder + "/radio.chann";
    const ImageTable good = Random(5);
    ChannelFileError error;
    ASSERT_TRUE(WriteChannelFile(path, good, &error));
    // The file itself may be written; only the folder is closed.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                                    | QFile::WriteOther);
    QFile::setPermissions(folder,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    const bool refused = Unprivileged([&] {
        const bool writable = CanWriteChannelFile(path, &error);
        const bool written = WriteChannelFile(path, Random(6), &error);
        std::printf("%s\n%s\n", qPrintable(error.message.english),
                    qPrintable(error.message.chinese));
        std::fflush(stdout);
        return !writable && !written
               && error.kind == ChannelFileError::Kind::FolderRefusesTemporaryFile
               && error.message.english.startsWith("Cannot save in the folder " + folder + ": ")
               && error.message.chinese.startsWith(QStringLiteral("无法保存到文件夹 ") + folder
                                                   + QStringLiteral("："));
    });
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(refused);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), FormatChannelFile(good));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden) == QStringList{"radio.chann"});
}
#endif

TEST_F(ChannelFile, FilesOnDisk)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("radio.chann");
    ChannelFileError error;

    // Writing overwrites what was there, and reading gives the image back.
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(50000, 'x'));
    }
    const ImageTable written = Random(42);
    ASSERT_TRUE(WriteChannelFile(path, written, &error)) << error.message.english.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), FormatChannelFile(written));
    file.close();
    ImageTable read = RadioData;
    ASSERT_TRUE(ReadChannelFile(path, read, &error));
    for (int r = 0; r < 256; ++r)
        for (int c = 0; c < 16; ++c)
            ASSERT_EQ(read[r][c], written[r][c]);

    // Failures are reported, never claimed as success, and leave the image.
    const ImageTable before = read;
    EXPECT_FALSE(ReadChannelFile(dir.filePath("missing.chann"), read, &error));
    EXPECT_EQ(error.kind, ChannelFileError::Kind::CannotOpen);
    EXPECT_TRUE(error.message.english.contains("missing.chann"));
    EXPECT_FALSE(ReadChannelFile(dir.path(), read, &error));
    EXPECT_NE(error.kind, ChannelFileError::Kind::None);
    EXPECT_TRUE(read == before);

    EXPECT_FALSE(WriteChannelFile(dir.filePath("no/such/dir/a.chann"), written, &error));
    EXPECT_EQ(error.kind, ChannelFileError::Kind::CannotWrite);
    EXPECT_TRUE(error.message.chinese.contains("a.chann"));
    EXPECT_FALSE(WriteChannelFile(dir.path(), written, &error));
    EXPECT_EQ(error.kind, ChannelFileError::Kind::CannotWrite);

    // A huge file is refused without being loaded whole.
    const QString big = dir.filePath("big.chann");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(64 * 1024 * 1024));
    }
    EXPECT_FALSE(ReadChannelFile(big, read, &error));
    EXPECT_EQ(error.kind, ChannelFileError::Kind::TooLarge);
    EXPECT_TRUE(error.message.english.contains("(67108864 bytes)"))
        << error.message.english.toStdString();
    EXPECT_TRUE(read == before);
}
