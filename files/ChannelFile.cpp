#include "ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>

namespace {

void Fail(ChannelFileError *error, ChannelFileError::Kind kind, int line, int position,
          const BilingualText &message)
{
    if (error)
        *error = ChannelFileError{kind, line, position, message};
}

// A message about the place (line, position) in the file; %1 and %2 name it.
BilingualText AtPlace(const char *chinese, const char *english, int line, int position)
{
    return Bilingual(chinese, english).arg(line).arg(position);
}

// Shown inside a message; keeps a run of binary garbage from flooding it.
QString Quoted(const QByteArray &token)
{
    return token.size() > 16 ? PrintableBytes(token.left(16)) + QStringLiteral("...")
                             : PrintableBytes(token);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// A whole number with an optional sign; false for anything else. Values
// beyond int range come back as 256 so that they count as out of range.
bool TokenValue(const QByteArray &token, int &value)
{
    int i = 0;
    bool negative = false;
    if (token.startsWith('+') || token.startsWith('-')) {
        negative = token.startsWith('-');
        i = 1;
    }
    if (i == token.size())
        return false;
    long long v = 0;
    for (; i < token.size(); ++i) {
        const char c = token.at(i);
        if (c < '0' || c > '9')
            return false;
        v = std::min<long long>(v * 10 + (c - '0'), 1000000);
    }
    value = int(negative ? -v : v);
    if (value > 255)
        value = 256;
    return true;
}

QString Native(const QString &path) { return PrintableText(QDir::toNativeSeparators(path)); }

QString Escaped(uchar byte) { return QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0')); }

// The length of the UTF-8 sequence that a lead byte starts; 0 if it starts none.
int SequenceLength(uchar lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

void FailTooLarge(ChannelFileError *error, qint64 bytes)
{
    Fail(error, ChannelFileError::Kind::TooLarge, 0, 0,
         BilingualText{QStringLiteral("文件太大（%1 字节），不是信道参数文件。"),
                       QStringLiteral("The file is too large (%1 bytes) to be a channel "
                                      "parameter file.")}
             .arg(bytes));
}

} // namespace

QString PrintableText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            shown += Escaped(uchar(c.unicode()));
        else
            shown += c;
    }
    return shown;
}

QString PrintableBytes(const QByteArray &bytes)
{
    QString shown;
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes.at(i));
        if (b >= 0x20 && b < 0x7F) {
            shown += QLatin1Char(char(b));
            ++i;
            continue;
        }
        // Whole printable UTF-8 characters are shown as they are; stray
        // bytes and control characters are escaped one byte at a time.
        const int length = SequenceLength(b);
        if (length > 0 && i + length <= bytes.size()) {
            const QString decoded = QString::fromUtf8(bytes.mid(i, length));
            const QList<uint> code = decoded.toUcs4();
            if (code.size() == 1 && code.first() != 0xFFFD && QChar::isPrint(code.first())) {
                shown += decoded;
                i += length;
                continue;
            }
        }
        shown += Escaped(b);
        ++i;
    }
    return shown;
}

QByteArray FormatChannelFile(const ImageTable &image)
{
    QByteArray text;
    text.reserve(UsedRows * (BlockSize * 5 + 2));
    for (int r = 0; r < UsedRows; ++r) {
        for (int c = 0; c < BlockSize; ++c) {
            const int v = image[r][c];
            text += v < 0 ? '-' : ' ';
            text += QByteArray::number(v < 0 ? -v : v);
            text += ' ';
        }
        text += "\r\n";
    }
    return text;
}

bool ParseChannelFile(const QByteArray &text, ImageTable &image, ChannelFileError *error)
{
    using Kind = ChannelFileError::Kind;
    if (text.size() > ChannelFileSizeLimit) {
        FailTooLarge(error, text.size());
        return false;
    }

    std::array<int16_t, ChannelFileValueCount> values{};
    int count = 0;
    int line = 1;
    int position = 1;
    bool valueSinceComma = false;
    qsizetype i = text.startsWith("\xEF\xBB\xBF") ? 3 : 0; // editors may add a BOM
    while (i < text.size() && count < ChannelFileValueCount) {
        const char c = text.at(i);
        if (IsBlank(c)) {
            ++i;
            ++position;
        } else if (IsLineEnd(c)) {
            // CRLF, LF and a lone CR each end one line.
            if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n')
                ++i;
            ++i;
            ++line;
            position = 1;
        } else if (c == ',') {
            if (!valueSinceComma) {
                Fail(error, Kind::MissingValue, line, position,
                     AtPlace("第 %1 行第 %2 个字符处的逗号前缺少数值。",
                             "Line %1, position %2: a value is missing before this comma.", line,
                             position));
                return false;
            }
            valueSinceComma = false;
            ++i;
            ++position;
        } else {
            const qsizetype start = i;
            while (i < text.size() && !IsBlank(text.at(i)) && !IsLineEnd(text.at(i))
                   && text.at(i) != ',')
                ++i;
            const QByteArray token = text.mid(start, i - start);
            int value = 0;
            if (!TokenValue(token, value)) {
                Fail(error, Kind::NotANumber, line, position,
                     AtPlace("第 %1 行第 %2 个字符处的“%3”不是数值。",
                             "Line %1, position %2: \"%3\" is not a number.", line, position)
                         .arg(Quoted(token)));
                return false;
            }
            if (value < 0 || value > 255) {
                Fail(error, Kind::OutOfRange, line, position,
                     AtPlace("第 %1 行第 %2 个字符处的数值 %3 超出 0～255 的范围。",
                             "Line %1, position %2: the value %3 is outside 0..255.", line,
                             position)
                         .arg(Quoted(token)));
                return false;
            }
            values[count++] = int16_t(value);
            valueSinceComma = true;
            position += int(token.size());
        }
    }
    if (count < ChannelFileValueCount) {
        Fail(error, Kind::TooFewNumbers, line, position,
             AtPlace("第 %1 行第 %2 个字符处文件已结束，只有 %3 个数值，需要 %4 个。",
                     "Line %1, position %2: the file ends after only %3 numbers; %4 are needed.",
                     line, position)
                 .arg(count)
                 .arg(ChannelFileValueCount));
        return false;
    }

    for (int k = 0; k < ChannelFileValueCount; ++k)
        image[k / BlockSize][k % BlockSize] = values[k];
    if (error)
        *error = ChannelFileError();
    return true;
}

bool ReadChannelFile(const QString &path, ImageTable &image, ChannelFileError *error)
{
    using Kind = ChannelFileError::Kind;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(error, Kind::CannotOpen, 0, 0,
             BilingualText{QStringLiteral("无法打开文件 %1：%2"),
                           QStringLiteral("Cannot open the file %1: %2")}
                 .arg(Native(path), file.errorString()));
        return false;
    }
    // Read one byte past the limit, so that devices and pipes without a
    // size are refused as well without being read to their end.
    const QByteArray text = file.read(ChannelFileSizeLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        Fail(error, Kind::CannotOpen, 0, 0,
             BilingualText{QStringLiteral("无法读取文件 %1：%2"),
                           QStringLiteral("Cannot read the file %1: %2")}
                 .arg(Native(path), file.errorString()));
        return false;
    }
    // Only the start of a large file was read: name its real size.
    if (text.size() > ChannelFileSizeLimit) {
        FailTooLarge(error, std::max<qint64>(file.size(), text.size()));
        return false;
    }
    return ParseChannelFile(text, image, error);
}

namespace {

void FailCannotWrite(ChannelFileError *error, const QString &path, const QString &reason)
{
    Fail(error, ChannelFileError::Kind::CannotWrite, 0, 0,
         BilingualText{QStringLiteral("无法写入文件 %1：%2"),
                       QStringLiteral("Cannot write the file %1: %2")}
             .arg(Native(path), PrintableText(reason)));
}

// A good file is never cut open in place: a save broken off half-way (a
// crash, a full disk) would leave it empty. So a folder that takes no new
// file beside it takes no save at all.
void FailNoTemporaryFile(ChannelFileError *error, const QString &path, const QString &reason)
{
    const QString folder = Native(QFileInfo(path).absolutePath());
    Fail(error, ChannelFileError::Kind::FolderRefusesTemporaryFile, 0, 0,
         BilingualText{
             QStringLiteral(
                 "无法保存到文件夹 %1：不能在其中新建临时文件（%2）。为免保存中断时毁掉原有文件，"
                 "文件从不在原处直接改写。请保存到可以新建文件的文件夹。"),
             QStringLiteral(
                 "Cannot save in the folder %1: no temporary file can be made there (%2). A file "
                 "is never overwritten in place, so that an interrupted save cannot destroy it. "
                 "Save into a folder where new files can be made.")}
             .arg(folder, PrintableText(reason)));
}

} // namespace

bool WriteChannelFile(const QString &path, const ImageTable &image, ChannelFileError *error)
{
    if (QFileInfo(path).isDir()) {
        FailCannotWrite(error, path, QStringLiteral("is a directory"));
        return false;
    }
    // The new text goes into a temporary file that replaces the old one
    // only once it is complete; QSaveFile refuses when it cannot make one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (file.error() == QFileDevice::OpenError
            && QFileInfo(QFileInfo(path).absolutePath()).isDir())
            FailNoTemporaryFile(error, path, file.errorString());
        else
            FailCannotWrite(error, path, file.errorString());
        return false;
    }
    const QByteArray text = FormatChannelFile(image);
    if (file.write(text) != text.size() || !file.commit()) {
        FailCannotWrite(error, path, file.errorString());
        return false;
    }
    if (error)
        *error = ChannelFileError();
    return true;
}

bool CanWriteChannelFile(const QString &path, ChannelFileError *error)
{
    const QFileInfo file(path);
    if (file.isDir()) {
        FailCannotWrite(error, path, QStringLiteral("is a directory"));
        return false;
    }
    if (file.exists() && !file.isWritable()) {
        FailCannotWrite(error, path, QStringLiteral("the file is read-only"));
        return false;
    }
    // The same test a save makes: can a temporary file be made beside it?
    QTemporaryFile probe(QDir(file.absolutePath()).filePath(QStringLiteral(".ql540-XXXXXX")));
    if (!probe.open()) {
        if (QFileInfo(file.absolutePath()).isDir())
            FailNoTemporaryFile(error, path, probe.errorString());
        else
            FailCannotWrite(error, path, probe.errorString());
        return false;
    }
    if (error)
        *error = ChannelFileError();
    return true;
}
